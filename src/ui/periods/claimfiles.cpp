// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periods/claimfiles.h"

#include "common/apperror.h"
#include "storage/claimfile.h"
#include "ui/widgets/dialogs.h"

namespace ui {

QString claimFilter() {
    return QStringLiteral("Расчет Долгомера (*%1)").arg(storage::kClaimExtension);
}

std::optional<calc::PeriodInput> readClaimFile(Dialogs &dialogs, const QString &path) {
    try {
        return storage::loadClaim(path);
    } catch (const AppError &e) {
        dialogs.ask(Dialogs::errorText(e.message()), QStringLiteral("Ошибка открытия"),
                    MessageBoxes::Icon::Stop);
        return std::nullopt;
    }
}

} // namespace ui
