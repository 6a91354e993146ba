// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/apperror.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// The rate file as bytes on disk: where it is kept, its encoding, reading it
// and writing it safely. What its lines mean is the rate table's business.
namespace storage {

// The program's folder in the per-user application-data folder
// ($XDG_DATA_HOME/Долгомер), with native separators. Nothing is created.
QString dataFolder();
// Makes the data folder and the folders above it; false when it cannot.
bool makeDataFolder();
// The rate file unless the settings name another: stavki.txt in the data folder.
QString defaultRateFilePath();
// A path from the settings made absolute: a relative one is read from the
// application-data folder, wherever the program was started from.
QString absoluteRateFilePath(const QString &stored);

// The rate file's bytes: every line in code page 1251 followed by CR LF; an
// empty table is an empty file, however the file was encoded when read.
QByteArray encodeRateFile(const QStringList &lines);

// Lines from a rate file's bytes: UTF-8 (a BOM dropped) when they read as
// UTF-8 and hold more than ASCII, else code page 1251; CR LF, CR or LF end a
// line, a NUL byte ends the text, a final line end adds no line.
QStringList decodeRateFile(const QByteArray &bytes);

// Raises AppError naming what is at `path` when the writers' rule refuses it
// (a device, a pipe, a folder, a broken link, a read-only file): the program
// never writes through it, replaces it or moves it away.
void checkRateFilePlace(const QString &path);

// Writes the lines to `path` atomically: until the new file is complete the
// old one stays whole. Raises AppError when it cannot be written; the file on
// disk is then the last good table. Returns the bytes written.
QByteArray writeRateFile(const QString &path, const QStringList &lines);

// The file's bytes. A file that cannot be read, is too large to be a rate
// file or holds zero bytes (no text) raises RateFileUnreadable.
QByteArray readRateFileBytes(const QString &path);
// The same, decoded into lines.
QStringList readRateFile(const QString &path);

class RateFileUnreadable : public AppError {
public:
    using AppError::AppError;
};

// The rate file's path the settings name ("patch"), "" when none. Raises
// AppError when the settings cannot be read.
QString storedRateFilePath();
// A name beside `path` that no file has yet, for keeping an old file:
// "stavki.txt.bak", else "stavki.txt.bak2", "stavki.txt.bak3"...
QString freeBackupPath(const QString &path);

// Records the rate file's path in the settings; raises AppError when it cannot.
void storeRateFilePath(const QString &path);

} // namespace storage
