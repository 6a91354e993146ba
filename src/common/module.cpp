// SPDX-License-Identifier: GPL-3.0-or-later
#include "module.h"

#include "apperror.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

QStringList moduleFolders() {
    const QString programDir = QCoreApplication::applicationDirPath();
    return {programDir, programDir + u'/' + QStringLiteral(DOLGOMER_MODULES_FROM_BIN)};
}

QFunctionPointer moduleEntry(const QStringList &folders, const char *module, const char *symbol) {
    const QString fileName = QStringLiteral("lib%1.so").arg(QLatin1String(module));
    for (const QString &dir : folders) {
        const QString path = dir + u'/' + fileName;
        if (!QFileInfo::exists(path)) continue;
        QLibrary library(path);
        using Version = int();
        auto *version = reinterpret_cast<Version *>(library.resolve("dolgomerModuleVersion"));
        if (!version) {
            if (!library.isLoaded())
                throw AppError(QStringLiteral("Не удается загрузить модуль программы \"%1\": %2")
                                   .arg(path, library.errorString()));
            throw AppError(QStringLiteral("Модуль программы \"%1\" не от этой версии программы. "
                                          "Переустановите программу.")
                               .arg(path));
        }
        if (version() != DOLGOMER_MODULE_VERSION)
            throw AppError(QStringLiteral("Модуль программы \"%1\" от другой версии программы "
                                          "(%2, нужна %3). Переустановите программу.")
                               .arg(path)
                               .arg(version())
                               .arg(DOLGOMER_MODULE_VERSION));
        if (QFunctionPointer entry = library.resolve(symbol)) return entry;
        throw AppError(QStringLiteral("Не удается загрузить модуль программы \"%1\": %2")
                           .arg(path, library.errorString()));
    }
    throw AppError(QStringLiteral("Модуль программы \"%1\" не найден. Переустановите программу.")
                       .arg(fileName));
}
