// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periods/claimfiles.h"

#include "common/apperror.h"
#include "storage/claimfile.h"
#include "storage/recentfiles.h"
#include "ui/widgets/dialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace ui {

QString claimFilter() {
    return QStringLiteral("Расчет Долгомера (*%1)").arg(storage::kClaimExtension);
}

std::optional<calc::PeriodInput> readClaimFile(Dialogs &dialogs, const QString &path) {
    try {
        calc::PeriodInput claim = storage::loadClaim(path);
        storage::rememberFile(path);
        return claim;
    } catch (const AppError &e) {
        dialogs.ask(Dialogs::errorText(e.message()), QStringLiteral("Ошибка открытия"),
                    MessageBoxes::Icon::Stop);
        return std::nullopt;
    }
}

void offerRecentFiles(QMenu *menu, Dialogs &dialogs, std::function<void(const QString &)> open) {
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, &dialogs, open] {
        menu->clear();
        const QStringList paths = storage::recentFiles();
        if (paths.isEmpty()) menu->addAction(QStringLiteral("(нет)"))->setEnabled(false);
        for (const QString &path : paths) {
            QAction *a = menu->addAction(QFileInfo(path).fileName());
            a->setToolTip(QDir::toNativeSeparators(path));
            QObject::connect(a, &QAction::triggered, menu, [path, &dialogs, open] {
                if (QFileInfo::exists(path)) return open(path);
                storage::forgetFile(path);
                dialogs.ask(QStringLiteral("Файла \"%1\" больше нет; он убран из последних файлов.")
                                .arg(QDir::toNativeSeparators(path)),
                            QStringLiteral("Последние файлы"), MessageBoxes::Icon::Information);
            });
        }
    });
}

QString droppedFile(const QMimeData *data) {
    if (!data || data->urls().size() != 1 || !data->urls().front().isLocalFile()) return {};
    return data->urls().front().toLocalFile();
}

} // namespace ui
