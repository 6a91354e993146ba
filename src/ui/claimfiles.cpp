// SPDX-License-Identifier: GPL-3.0-or-later
#include "claimfiles.h"

#include "common/apperror.h"
#include "dialogs.h"
#include "storage/claimfile.h"

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
