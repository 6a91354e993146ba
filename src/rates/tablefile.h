// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ratetable.h"
#include "userrates.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace rates {

// One change the user made to the table, kept until the file has it, so that
// it can be made again to a file another program changed meanwhile.
struct TableEdit {
    enum Kind { Add, Replace, Remove };
    Kind kind = Add;
    QString before; // the line replaced or removed
    QString after;  // the line added or put in its place
    // Makes the change to `table`; raises AppError saying why when it no
    // longer applies there (its line changed or went, or its key is taken).
    void applyTo(RateTable &table) const;
};

// The user's rate table as the window keeps it: the table, its file, and the
// edits the file lacks. The file is the user's: a second window, a hand edit
// or a script may change it while the table is shown, and a save never
// throws their lines away.
class TableFile {
public:
    // What the service opened.
    void open(UserRates opened);

    RateTable &table() { return table_; }
    const RateTable &table() const { return table_; }
    const QString &path() const { return path_; }
    // The table is kept in another file from now on (its check starts afresh).
    void setPath(const QString &path);
    // Why the file was refused at start; "" when the table is the file's.
    const QString &refusal() const { return refusal_; }
    bool hasUnsavedEdits() const { return !pending_.isEmpty(); }

    // An edit just made to table(), to be saved.
    void record(const TableEdit &edit) { pending_.append(edit); }

    enum class Saved { AsShown, OverOtherChanges };
    // Writes the table and its recorded edits. When the file changed on disk
    // since it was last read or written, the edits are made again to the
    // file's own lines, which then become the table (OverOtherChanges). When
    // an edit no longer applies there, nothing is written, the table becomes
    // the file's and AppError says why; a write that fails raises AppError
    // and keeps the edits for the next save.
    Saved save();
    // What an update did to the file: how many of its lines the fresh table
    // lacks, and where the file was kept before it was replaced ("" nowhere).
    struct Replaced {
        int dropped = 0;
        QString backup;
    };
    enum class IfChanged { Replace, Refuse };
    // Replaces the table and the file whole (an update). The file as it is
    // now is kept as `backup` first when that is given (a refused file), or
    // beside it when it has lines the fresh table lacks (an entry of a date
    // the update does not give, a note), so that no line the user made is
    // lost unseen. With Refuse, a file changed on disk since it was read or
    // written is left alone and AppError says so. Raises AppError when it
    // cannot; nothing changed then.
    Replaced replace(const RateTable &fresh, const QString &backup = QString(),
                     IfChanged ifChanged = IfChanged::Replace);
    // When no edit waits and the file changed on disk, the table becomes the
    // file's; true when it did. A file that cannot be read now is left alone.
    // The window asks at every change of the period's end, so the file is
    // read only when its size or time differs from when it was last seen.
    bool reload();

private:
    // The file's bytes now; null when it is gone.
    QByteArray bytesOnDisk() const;
    // The file holds `bytes` now: read by us, or written.
    void remember(const QByteArray &bytes);
    // The table a file's bytes make.
    RateTable tableOf(const QByteArray &bytes) const;

    RateTable table_ = RateTable::builtIn();
    QString path_;
    QString refusal_;
    QByteArray known_; // the file as last read or written
    // The file's size and time when `known_` was seen (none yet: -1).
    qint64 knownSize_ = -1;
    QDateTime knownTime_;
    QList<TableEdit> pending_;
};

// What the user is told of lines an update dropped and where the old file is.
QString droppedLinesText(int dropped, const QString &backup);

} // namespace rates
