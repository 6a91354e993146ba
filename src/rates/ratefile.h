#pragma once

#include "calc/apperror.h"
#include "ratetable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace rates {

// The per-user application-data folder for folder number 26 (the only one the
// program asks for; any other number falls back to it), created when missing.
QString specialFolderPath(int folder);

// The rate file's bytes: every line in code page 1251 followed by CR LF; an
// empty table is an empty file.
QByteArray encodeRateFile(const QStringList &lines);

// Lines from a rate file's bytes: CR LF, CR or LF end a line, a NUL byte ends
// the text, a final line end adds no line.
QStringList decodeRateFile(const QByteArray &bytes);

// Writes the table to `path` atomically: until the new file is complete the
// old one stays whole. Raises AppError when it cannot be written; the file on
// disk is then the last good table.
void saveRateFile(const QString &path, const RateTable &table);

// Replaces the table by the file's lines. A line whose key repeats an earlier
// one is left out and the load ends with AppError naming the key, after the
// other lines have been taken. A file that cannot be read raises
// RateFileUnreadable and leaves the table as it was.
void loadRateFile(const QString &path, RateTable &table);

class RateFileUnreadable : public AppError {
public:
    using AppError::AppError;
};

// The start-up storage step: finds the data folder, then either loads the
// file that the settings name or, when they name none (a first run, or a lost
// or emptied settings store), loads the data folder's stavki.txt if there is
// one, else creates it with the table's lines (the built-in history), and
// records its path.
// `rateFilePath` is set as soon as it is known, so it is right even when the
// step raises. When the named file exists but cannot be read, `rateFilePath`
// is left empty: the table then is not the user's, and saving it would
// overwrite their file.
void openRateStorage(RateTable &table, QString &rateFilePath);

} // namespace rates
