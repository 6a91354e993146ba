// SPDX-License-Identifier: GPL-3.0-or-later
#include "regularfile.h"

#include <QFile>
#include <QStringDecoder>
#include <cerrno>
#include <sys/stat.h>

namespace storage {
namespace {

QString kindOf(mode_t mode) {
    if (S_ISDIR(mode)) return QStringLiteral("это папка, а не файл");
    if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("это устройство, а не файл");
    if (S_ISFIFO(mode)) return QStringLiteral("это канал (FIFO), а не файл");
    if (S_ISSOCK(mode)) return QStringLiteral("это сокет, а не файл");
    return QStringLiteral("это не обычный файл");
}

// What is at `path`, and for anything but a regular file or nothing, why it
// is refused: the name itself (lstat), then where its links lead (stat).
Place inspect(const QString &path, QString *why = nullptr) {
    const QByteArray name = QFile::encodeName(path);
    struct stat link {};
    if (lstat(name.constData(), &link) != 0)
        return errno == ENOENT ? Place::Nothing : Place::File; // opening it will say why
    struct stat target {};
    QString reason;
    if (stat(name.constData(), &target) != 0)
        reason = errno == ELOOP ? QStringLiteral("ссылки на этот файл замкнуты в кольцо")
                                : QStringLiteral("это ссылка на несуществующий файл");
    else if (!S_ISREG(target.st_mode))
        reason = kindOf(target.st_mode);
    if (why) *why = reason;
    return reason.isEmpty() ? Place::File : Place::Other;
}

} // namespace

QString whyNotAFile(const QString &path) {
    QString why;
    inspect(path, &why);
    return why;
}

Place placeAt(const QString &path) {
    return inspect(path);
}

QString openRegularFile(QFile &file) {
    // Checked before opening: opening a pipe for reading waits for a writer.
    if (const QString why = whyNotAFile(file.fileName()); !why.isEmpty()) return why;
    if (!file.open(QIODevice::ReadOnly)) return file.errorString();
    // And on the open file, in case the name was swapped meanwhile.
    struct stat opened {};
    if (fstat(file.handle(), &opened) != 0 || !S_ISREG(opened.st_mode)) {
        file.close();
        return kindOf(opened.st_mode);
    }
    return QString();
}

FileBytes readRegularFile(const QString &path, qint64 limit) {
    FileBytes result;
    QFile file(path);
    result.reason = openRegularFile(file);
    if (!result.reason.isEmpty()) {
        result.status = FileBytes::Status::CannotOpen;
        return result;
    }
    result.bytes = file.read(limit + 1);
    if (file.error() != QFileDevice::NoError) {
        result.status = FileBytes::Status::ReadFailed;
        result.reason = file.errorString();
        result.bytes.clear();
    } else if (result.bytes.size() > limit) {
        result.status = FileBytes::Status::TooLarge;
        result.reason = QStringLiteral("больше %1 байт").arg(limit);
        result.bytes.clear();
    }
    return result;
}

QString readUtf8File(const QString &path, qint64 limit, QString &text) {
    const FileBytes read = readRegularFile(path, limit);
    if (read.status != FileBytes::Status::Read) return read.reason;
    QStringDecoder utf8(QStringDecoder::Utf8);
    text = utf8.decode(read.bytes);
    if (utf8.hasError() || read.bytes.contains('\0')) {
        text.clear();
        return QStringLiteral("текст не в кодировке UTF-8");
    }
    return {};
}

} // namespace storage
