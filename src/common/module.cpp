// SPDX-License-Identifier: GPL-3.0-or-later
#include "module.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

QStringList moduleFolders() {
    const QString programDir = QCoreApplication::applicationDirPath();
    return {programDir, programDir + u'/' + QStringLiteral(DOLGOMER_MODULES_FROM_BIN)};
}

int moduleFileVersion(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    // Mapped, not read: a module is a few megabytes at most, and only the
    // pages that are looked through are touched.
    const uchar *bytes = file.map(0, file.size());
    if (!bytes) return -1;
    const QByteArrayView text(reinterpret_cast<const char *>(bytes), file.size());
    // The tag is put together here, so that this loader's own code, linked
    // into a module, never holds it.
    const QByteArray tag = QByteArray("\ndolgomer-module-") + "version=";
    const qsizetype at = text.indexOf(tag);
    if (at < 0) return -1;
    const qsizetype from = at + tag.size();
    const qsizetype end = text.indexOf('\n', from);
    if (end < 0 || end - from > 9) return -1;
    bool ok = false;
    const int version = text.sliced(from, end - from).toInt(&ok);
    return ok ? version : -1;
}

QString moduleMadeNothing(const char *module) {
    return QStringLiteral("Модуль программы \"%1\" не работает. Переустановите программу.")
        .arg(QLatin1String(module));
}

QFunctionPointer moduleEntry(const QStringList &folders, const char *module, const char *symbol) {
    const QString fileName = QStringLiteral("lib%1.so").arg(QLatin1String(module));
    for (const QString &dir : folders) {
        const QString path = dir + u'/' + fileName;
        if (!QFileInfo::exists(path)) continue;
        // Read from the file before the library is loaded: loading runs its
        // constructors, and a module of another version must not run at all.
        const int version = moduleFileVersion(path);
        if (version != DOLGOMER_MODULE_VERSION) {
            const QString which = version < 0
                                      ? QStringLiteral("не от этой версии программы")
                                      : QStringLiteral("от другой версии программы (%1, нужна %2)")
                                            .arg(version)
                                            .arg(DOLGOMER_MODULE_VERSION);
            throw AppError(QStringLiteral("Модуль программы \"%1\" %2. Переустановите программу.")
                               .arg(path, which));
        }
        QLibrary library(path);
        if (QFunctionPointer entry = library.resolve(symbol)) return entry;
        throw AppError(QStringLiteral("Не удается загрузить модуль программы \"%1\": %2")
                           .arg(path, library.errorString()));
    }
    throw AppError(QStringLiteral("Модуль программы \"%1\" не найден. Переустановите программу.")
                       .arg(fileName));
}
