// SPDX-License-Identifier: GPL-3.0-or-later
#include "userrates.h"

#include "common/apperror.h"
#include "storage/ratefile.h"

#include <QDir>
#include <QFileInfo>

namespace rates {
namespace {

// Loads the user's file into `rates`; a file that cannot be read is marked
// refused, a repeated key is told but the rest of the file serves.
void loadUserFile(UserRates &rates, QString &repeated) {
    try {
        rates.fileBytes = storage::readRateFileBytes(rates.path);
    } catch (const storage::RateFileUnreadable &) {
        rates.refused = true;
        throw;
    }
    repeated = setFileLines(rates.table, rates.path, storage::decodeRateFile(rates.fileBytes));
}

// The history written where the user's table belongs.
void writeHistory(UserRates &rates) {
    storage::makeDataFolder();
    rates.fileBytes = saveRateFile(rates.path, rates.table);
}

void open(UserRates &rates, RateFileAccess access) {
    const bool write = access == RateFileAccess::ReadWrite;
    QString repeated;
    rates.path = storage::absoluteRateFilePath(storage::storedRateFilePath());
    if (!rates.path.isEmpty()) {
        if (QFileInfo(rates.path).isFile()) {
            loadUserFile(rates, repeated);
        } else if (write) {
            // The file has gone: write the history again where it was. Only
            // the data folder is made again; another folder the user chose
            // and removed gives a clear error.
            writeHistory(rates);
        }
    } else {
        // First run, or a settings store that was lost: a rate file already
        // in the data folder is the user's table and is never written over.
        rates.path = storage::defaultRateFilePath();
        const bool exists = QFileInfo(rates.path).isFile();
        if (exists) {
            // The table is loaded before its path is stored: a store that
            // cannot be written must not leave the built-in table bound to
            // the user's file.
            loadUserFile(rates, repeated);
        } else if (write) {
            writeHistory(rates);
        }
        if (write) storage::storeRateFilePath(rates.path);
    }
    if (!repeated.isEmpty()) throw AppError(repeated);
}

} // namespace

UserRates openUserRates(RateFileAccess access) {
    UserRates rates;
    try {
        open(rates, access);
    } catch (const AppError &e) {
        rates.problem = e.message();
    }
    return rates;
}

QString setFileLines(RateTable &table, const QString &path, const QStringList &lines) {
    // Keys must stay unique: every repeat of a key is left out, and the user is
    // told about the first one.
    QString repeated;
    table.setLines(withoutRepeatedKeys(lines, &repeated));
    if (repeated.isNull()) return QString();
    return QStringLiteral("В файле ставок \"%1\" повторяется ключ \"%2\"; "
                          "повторные строки не загружены")
        .arg(QDir::toNativeSeparators(path), repeated);
}

void loadRateFile(const QString &path, RateTable &table) {
    const QString repeated = setFileLines(table, path, storage::readRateFile(path));
    if (!repeated.isEmpty()) throw AppError(repeated);
}

QByteArray saveRateFile(const QString &path, const RateTable &table) {
    return storage::writeRateFile(path, table.lines());
}

} // namespace rates
