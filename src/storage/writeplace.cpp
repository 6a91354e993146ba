// SPDX-License-Identifier: GPL-3.0-or-later
#include "writeplace.h"

#include "common/apperror.h"
#include "regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace storage {
namespace {

bool inside(const QString &path, const QString &folder) {
    const QString root = QFileInfo(folder).canonicalFilePath();
    return !root.isEmpty() && (path == root || path.startsWith(root + u'/'));
}

// A regular file the process may replace: for root, one with a write bit at
// least (root passes every permission check the system makes).
bool writable(const QString &path) {
    struct stat st {};
    const QByteArray name = QFile::encodeName(path);
    if (stat(name.constData(), &st) != 0) return true; // the write will say why
    if (geteuid() == 0) return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0;
    return access(name.constData(), W_OK) == 0;
}

} // namespace

WritePlace writePlace(const QString &path, const QString &within) {
    switch (placeAt(path)) {
    case Place::Nothing:
        return {path, {}};
    case Place::Other:
        return {path, whyNotAFile(path) + QStringLiteral("; туда ничего не записывается")};
    case Place::File:
        break;
    }
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.canonicalFilePath() : path;
    if (info.isSymLink() && !within.isEmpty() && !inside(target, within))
        return {path, QStringLiteral("это ссылка за пределы папки \"%1\" (на \"%2\")")
                          .arg(QDir::toNativeSeparators(within), QDir::toNativeSeparators(target))};
    if (!writable(target))
        return {path, QStringLiteral("файл только для чтения; он не заменяется")};
    return {target, {}};
}

bool sameFile(const QString &a, const QString &b) {
    struct stat one {
    }, other{};
    return stat(QFile::encodeName(a).constData(), &one) == 0 &&
           stat(QFile::encodeName(b).constData(), &other) == 0 && one.st_dev == other.st_dev &&
           one.st_ino == other.st_ino;
}

bool isStandardOutput(const QString &path) {
    return path == u"-" || path == u"/dev/stdout";
}

void refuseOverInput(const QString &option, const QString &output, const QStringList &inputs) {
    for (const QString &input : inputs)
        if (!input.isEmpty() && input != u"-" && sameFile(output, input))
            throw AppError(QStringLiteral("%1: \"%2\" — это входной файл \"%3\"; он не "
                                          "заменяется")
                               .arg(option, QDir::toNativeSeparators(output),
                                    QDir::toNativeSeparators(input)));
}

} // namespace storage
