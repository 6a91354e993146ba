// SPDX-License-Identifier: GPL-3.0-or-later
#include "recentfiles.h"

#include "common/apperror.h"
#include "settings.h"

#include <QFileInfo>

namespace storage {
namespace {

QString valueName(int i) {
    return QStringLiteral("RecentFile%1").arg(i + 1);
}

// Each write opens the store: only the places whose path changed are written.
void storeList(const QStringList &was, const QStringList &paths) {
    try {
        for (int i = 0; i < kRecentFiles; ++i)
            if (paths.value(i) != was.value(i))
                writeSetting(kSettingsKey, true, valueName(i), paths.value(i));
    } catch (const AppError &) {
        // A convenience, not the user's data: the list stays as it was.
    }
}

} // namespace

QStringList recentFiles() {
    QStringList paths;
    for (int i = 0; i < kRecentFiles; ++i)
        if (const QString path = readSetting(kSettingsKey, false, valueName(i));
            !path.isEmpty() && !paths.contains(path))
            paths.append(path);
    return paths;
}

void rememberFile(const QString &path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QStringList was = recentFiles();
    QStringList paths = was;
    paths.removeAll(absolute);
    paths.prepend(absolute);
    storeList(was, paths.mid(0, kRecentFiles));
}

void forgetFile(const QString &path) {
    const QStringList was = recentFiles();
    QStringList paths = was;
    if (paths.removeAll(QFileInfo(path).absoluteFilePath()) > 0) storeList(was, paths);
}

} // namespace storage
