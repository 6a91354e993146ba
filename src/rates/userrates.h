// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ratetable.h"

#include <QByteArray>
#include <QString>

// The user's rate table as the window and the command line open it: which
// file it is, what happens on the first run or when the settings were lost,
// and what the user is told when the file cannot be used.
namespace rates {

// The window keeps the table in its file; the command line only reads it.
enum class RateFileAccess { ReadWrite, ReadOnly };

struct UserRates {
    // The user's table, or the built-in history when there is none to be had.
    RateTable table = RateTable::builtIn();
    // The file the table is kept in.
    QString path;
    // The file at `path` could not be used (unreadable, too large, no text):
    // the table is the built-in history, which must never be saved over the
    // user's file unless they agree.
    bool refused = false;
    // The file's bytes as they were read or written, to see later whether
    // another program changed it; empty when refused.
    QByteArray fileBytes;
    // What the user must be told, empty when all went well: a file refused,
    // a repeated key left out, a settings store or a file that cannot be written.
    QString problem;
    // The user's production calendar beside the rate file could not be
    // taken (the program's own serves): why, for the user; empty otherwise.
    QString calendarProblem;
};

// Reads the user's calendar file at `path`, when there is one, and makes
// the program's calendar with its days the one every count uses; when it
// cannot be taken, the program's own, and why not is returned.
QString useUserCalendar(const QString &path);

// Opens the rate file the settings name. When they name none (a first run, or
// a lost or emptied settings store), the data folder's stavki.txt is the
// user's table if there is one; read-write, a missing file is made from the
// built-in history and its path recorded, and a named file that has gone is
// written again where it was. Read-only, nothing is ever created or written.
UserRates openUserRates(RateFileAccess access);

// Replaces the table by the file's lines. A line whose key repeats an earlier
// one is left out and the load ends with AppError naming the key, after the
// other lines have been taken. A file that cannot be read raises
// storage::RateFileUnreadable and leaves the table as it was.
void loadRateFile(const QString &path, RateTable &table);

// Puts a file's lines into the table, every repeat of a key left out; returns
// what the user is told of the first repeat, "" when none.
QString setFileLines(RateTable &table, const QString &path, const QStringList &lines);

// Writes the table to its file atomically; raises AppError when it cannot.
// Returns the bytes written.
QByteArray saveRateFile(const QString &path, const RateTable &table);

} // namespace rates
