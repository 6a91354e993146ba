// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablefile.h"

#include "common/apperror.h"
#include "periodkey.h"
#include "storage/ratefile.h"
#include "storage/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace rates {

void TableEdit::applyTo(RateTable &table) const {
    const auto gone = [this] {
        return AppError(QStringLiteral("строки \"%1\" в файле больше нет").arg(before));
    };
    const auto taken = [this] {
        return AppError(
            QStringLiteral("запись с ключом \"%1\" в файле уже есть").arg(RateTable::keyOf(after)));
    };
    const int at = kind == Add ? -1 : int(table.lines().indexOf(before));
    if (kind != Add && at < 0) throw gone();
    try {
        if (kind == Add)
            table.insertTop(after);
        else if (kind == Replace)
            table.replace(at, after);
        else
            table.remove(at);
    } catch (const AppError &) {
        throw taken();
    }
}

void TableFile::open(UserRates opened) {
    table_ = std::move(opened.table);
    path_ = std::move(opened.path);
    refusal_ = opened.refused ? opened.problem : QString();
    known_ = std::move(opened.fileBytes);
    knownSize_ = -1; // looked at when first asked, not at start-up
    pending_.clear();
}

void TableFile::setPath(const QString &path) {
    path_ = path;
    remember(bytesOnDisk());
}

QByteArray TableFile::bytesOnDisk() const {
    if (storage::placeAt(path_) == storage::Place::Nothing) return QByteArray();
    return storage::readRateFileBytes(path_);
}

void TableFile::remember(const QByteArray &bytes) {
    known_ = bytes;
    const QFileInfo info(path_);
    knownSize_ = info.size();
    knownTime_ = info.lastModified();
}

RateTable TableFile::tableOf(const QByteArray &bytes) const {
    RateTable file;
    setFileLines(file, path_, storage::decodeRateFile(bytes));
    return file;
}

TableFile::Saved TableFile::save() {
    if (!refusal_.isEmpty())
        throw AppError(QStringLiteral("Таблица не сохранена, чтобы не затереть файл ставок, "
                                      "который не удалось загрузить. %1")
                           .arg(refusal_));
    // A file that has gone is written again; one that cannot be read is
    // not written over.
    const QByteArray onDisk = bytesOnDisk();
    if (onDisk.isNull() || onDisk == known_) {
        remember(saveRateFile(path_, table_));
        pending_.clear();
        return Saved::AsShown;
    }
    RateTable file = tableOf(onDisk);
    try {
        for (const TableEdit &edit : pending_)
            edit.applyTo(file);
    } catch (const AppError &e) {
        table_ = file;
        remember(onDisk);
        pending_.clear();
        throw AppError(QStringLiteral("Файл ставок изменен другой программой, и ваше изменение к "
                                      "нему больше не применимо: %1. Таблица перечитана, "
                                      "изменение не сохранено")
                           .arg(e.message()));
    }
    remember(saveRateFile(path_, file));
    pending_.clear();
    table_ = file;
    return Saved::OverOtherChanges;
}

namespace {

// The lines of `previous` an update to `fresh` would lose: entries of dates
// the fresh table lacks, and lines that are no entry (notes). Blank lines and
// entries the update gives anew do not count.
int linesLost(const QStringList &previous, const RateTable &fresh) {
    QSet<QDate> dates;
    for (int i = 0; i < fresh.count(); ++i)
        if (QDate d; keyDate(fresh.key(i), d)) dates.insert(d);
    int lost = 0;
    for (const QString &line : previous) {
        if (trimBlanks(line).isEmpty()) continue;
        QDate d;
        if (!keyDate(RateTable::keyOf(line), d) || !dates.contains(d)) ++lost;
    }
    return lost;
}

} // namespace

QString droppedLinesText(int dropped, const QString &backup) {
    return QStringLiteral("Строк прежней таблицы, которых нет в загруженной (записи других дат, "
                          "заметки): %1. Прежний файл сохранен как \"%2\".")
        .arg(dropped)
        .arg(QDir::toNativeSeparators(backup));
}

TableFile::Replaced TableFile::replace(const RateTable &fresh, const QString &backup,
                                       IfChanged ifChanged) {
    storage::checkRateFilePlace(path_);
    // A file refused at start is not read again: it is kept whole as it is.
    const bool exists = storage::placeAt(path_) == storage::Place::File;
    const QByteArray onDisk = refusal_.isEmpty() ? bytesOnDisk() : QByteArray();
    if (ifChanged == IfChanged::Refuse && !onDisk.isNull() && onDisk != known_)
        throw AppError(QStringLiteral("Файл ставок \"%1\" изменен другой программой, пока шло "
                                      "обновление; таблица не заменена, повторите обновление")
                           .arg(QDir::toNativeSeparators(path_)));
    Replaced done;
    if (!onDisk.isNull()) done.dropped = linesLost(storage::decodeRateFile(onDisk), fresh);
    // A file there is kept when asked to, or when it has lines the update lacks.
    if (exists)
        done.backup = !backup.isEmpty()  ? backup
                      : done.dropped > 0 ? storage::freeBackupPath(path_)
                                         : QString();
    const bool keepOld = !done.backup.isEmpty();
    if (keepOld && !QFile::rename(path_, done.backup))
        throw AppError(
            QStringLiteral("Не удается переименовать файл ставок \"%1\" в \"%2\"")
                .arg(QDir::toNativeSeparators(path_), QDir::toNativeSeparators(done.backup)));
    try {
        remember(saveRateFile(path_, fresh));
    } catch (const AppError &) {
        if (keepOld) QFile::rename(done.backup, path_); // as it was
        throw;
    }
    table_ = fresh;
    refusal_.clear();
    pending_.clear();
    return done;
}

bool TableFile::reload() {
    if (!pending_.isEmpty() || !refusal_.isEmpty() || path_.isEmpty()) return false;
    const QFileInfo info(path_);
    if (!info.exists() || (info.size() == knownSize_ && info.lastModified() == knownTime_))
        return false;
    try {
        const QByteArray onDisk = bytesOnDisk();
        const bool changed = onDisk != known_;
        if (changed) table_ = tableOf(onDisk);
        remember(onDisk);
        return changed;
    } catch (const AppError &) {
        return false;
    }
}

} // namespace rates
