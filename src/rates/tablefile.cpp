// SPDX-License-Identifier: GPL-3.0-or-later
#include "tablefile.h"

#include "common/apperror.h"
#include "storage/ratefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    pending_.clear();
}

void TableFile::setPath(const QString &path) {
    path_ = path;
    known_ = bytesOnDisk();
}

QByteArray TableFile::bytesOnDisk() const {
    if (!QFileInfo::exists(path_)) return QByteArray();
    return storage::readRateFileBytes(path_);
}

void TableFile::written(const QByteArray &bytes) {
    known_ = bytes;
    pending_.clear();
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
        written(saveRateFile(path_, table_));
        return Saved::AsShown;
    }
    RateTable file;
    setFileLines(file, path_, storage::decodeRateFile(onDisk));
    try {
        for (const TableEdit &edit : pending_)
            edit.applyTo(file);
    } catch (const AppError &e) {
        table_ = file;
        known_ = onDisk;
        pending_.clear();
        throw AppError(QStringLiteral("Файл ставок изменен другой программой, и ваше изменение к "
                                      "нему больше не применимо: %1. Таблица перечитана, "
                                      "изменение не сохранено")
                           .arg(e.message()));
    }
    written(saveRateFile(path_, file));
    table_ = file;
    return Saved::OverOtherChanges;
}

void TableFile::replace(const RateTable &fresh, const QString &backup) {
    const bool keepOld = !backup.isEmpty() && QFileInfo::exists(path_);
    if (keepOld && !QFile::rename(path_, backup))
        throw AppError(QStringLiteral("Не удается переименовать файл ставок \"%1\" в \"%2\"")
                           .arg(QDir::toNativeSeparators(path_), QDir::toNativeSeparators(backup)));
    try {
        written(saveRateFile(path_, fresh));
    } catch (const AppError &) {
        if (keepOld) QFile::rename(backup, path_); // as it was
        throw;
    }
    table_ = fresh;
    refusal_.clear();
}

bool TableFile::reload() {
    if (!pending_.isEmpty() || !refusal_.isEmpty() || path_.isEmpty()) return false;
    try {
        const QByteArray onDisk = bytesOnDisk();
        if (onDisk.isNull() || onDisk == known_) return false;
        RateTable file;
        setFileLines(file, path_, storage::decodeRateFile(onDisk));
        table_ = file;
        known_ = onDisk;
        return true;
    } catch (const AppError &) {
        return false;
    }
}

} // namespace rates
