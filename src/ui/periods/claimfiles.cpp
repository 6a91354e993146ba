// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periods/claimfiles.h"

#include "common/apperror.h"
#include "storage/claimfile.h"
#include "storage/recentfiles.h"
#include "ui/widgets/dialogs.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>

namespace ui {
namespace {

// The one local file a drag carries, when it carries one (empty otherwise).
QString droppedFile(const QMimeData *data) {
    if (!data || data->urls().size() != 1 || !data->urls().front().isLocalFile()) return {};
    return data->urls().front().toLocalFile();
}

// Takes the drops on a widget: a drag of one local file is welcome, and
// its drop opens it.
class ClaimDrops : public QObject {
public:
    ClaimDrops(QWidget *target, std::function<void(const QString &)> open)
        : QObject(target), open_(std::move(open)) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override {
        if (event->type() != QEvent::DragEnter && event->type() != QEvent::Drop) return false;
        auto *drop = static_cast<QDropEvent *>(event);
        const QString path = droppedFile(drop->mimeData());
        if (path.isEmpty()) return false;
        drop->acceptProposedAction();
        if (event->type() == QEvent::Drop) open_(path);
        return true;
    }

private:
    std::function<void(const QString &)> open_;
};

} // namespace

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

QPushButton *recentFilesButton(QWidget *parent, Dialogs &dialogs,
                               std::function<void(const QString &)> open) {
    auto *recent = new QPushButton(QStringLiteral("Последние"), parent);
    recent->setAutoDefault(false);
    recent->setObjectName(QStringLiteral("recentClaims"));
    recent->setAccessibleName(QStringLiteral("Последние файлы"));
    recent->setMenu(new QMenu(recent));
    offerRecentFiles(recent->menu(), dialogs, std::move(open));
    return recent;
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

void openDroppedClaims(QWidget *target, std::function<void(const QString &)> open) {
    new ClaimDrops(target, std::move(open));
}

} // namespace ui
