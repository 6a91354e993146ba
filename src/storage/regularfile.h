// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// Files the user names are read only when they are what they claim to be: a
// regular file, read up to its limit. A device (/dev/zero never ends), a pipe
// (a read may wait for ever), a folder or a link that leads nowhere is refused
// at once, whatever its size says: devices and pipes report a size of 0.
namespace storage {

// What is at a path, symbolic links followed.
enum class Place {
    Nothing, // no file and no link by that name
    File,    // a regular file
    Other,   // a folder, a device, a pipe, a socket, a link to nothing or in a loop
};
Place placeAt(const QString &path);
// Why the place at `path` is not a regular file, in words for the user
// ("это папка", "это устройство", ...); "" for a regular file or nothing.
QString whyNotAFile(const QString &path);

// Opens `file` (its name set) for reading when it is a regular file, checked
// again on the open file. Returns "" when opened, else why not.
QString openRegularFile(QFile &file);

struct FileBytes {
    enum class Status { Read, CannotOpen, TooLarge, ReadFailed };
    Status status = Status::Read;
    QByteArray bytes; // when read
    QString reason;   // why not, for the user
};
// Reads a regular file of at most `limit` bytes. Never more than limit + 1
// bytes are read, whatever the file's size claims.
FileBytes readRegularFile(const QString &path, qint64 limit);

// The same file read as UTF-8 text into `text` (a user's calendar, a
// paper's template): "" when read, else why not, for the user ("больше …
// байт", "это устройство", "текст не в кодировке UTF-8").
QString readUtf8File(const QString &path, qint64 limit, QString &text);

} // namespace storage
