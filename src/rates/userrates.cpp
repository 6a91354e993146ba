// SPDX-License-Identifier: GPL-3.0-or-later
#include "userrates.h"

#include "common/apperror.h"
#include "law/calendar.h"
#include "storage/ratefile.h"
#include "storage/regularfile.h"

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
    // The file the settings name; without one (a first run, or a lost or
    // emptied settings store) the data folder's stavki.txt, whose path is
    // recorded only after it has been loaded or made: a store that cannot be
    // written must not leave the built-in table bound to the user's file.
    const QString stored = storage::absoluteRateFilePath(storage::storedRateFilePath());
    rates.path = stored.isEmpty() ? storage::defaultRateFilePath() : stored;
    QString repeated;
    switch (storage::placeAt(rates.path)) {
    case storage::Place::File:
        // A file already there is the user's table and is never written over.
        loadUserFile(rates, repeated);
        break;
    case storage::Place::Nothing:
        // A first run, or a file that has gone: the history is written where
        // the table belongs. Only the data folder is made again; another
        // folder the user chose and removed gives a clear error.
        if (write) writeHistory(rates);
        break;
    case storage::Place::Other:
        // Something else holds the table's place (a device, a pipe, a
        // folder, a broken link): it is neither read nor written through.
        rates.refused = true;
        throw AppError(
            QStringLiteral("Файл ставок \"%1\" не загружен: %2. Расчет ведется по "
                           "встроенной таблице ставок; на месте файла ничего не "
                           "изменено")
                .arg(QDir::toNativeSeparators(rates.path), storage::whyNotAFile(rates.path)));
    }
    if (write && stored.isEmpty()) storage::storeRateFilePath(rates.path);
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
    rates.calendarProblem = useUserCalendar(
        QFileInfo(rates.path).dir().filePath(QString::fromUtf16(law::kUserCalendarName)));
    return rates;
}

QString useUserCalendar(const QString &path) {
    law::Calendar user;
    QString why;
    if (storage::placeAt(path) != storage::Place::Nothing) {
        // A calendar is a few hundred lines: a megabyte is no calendar.
        QString text;
        why = storage::readUtf8File(path, 1 << 20, text);
        if (why.isEmpty()) law::readCalendar(text, user, why);
    }
    law::useCalendar(why.isEmpty() ? law::mergeCalendars(law::builtInCalendar(), user)
                                   : law::builtInCalendar());
    if (why.isEmpty()) return {};
    return QStringLiteral("Производственный календарь \"%1\" не загружен: %2. Сроки оплаты "
                          "переносятся по календарю программы")
        .arg(QDir::toNativeSeparators(path), why);
}

QString setFileLines(RateTable &table, const QString &path, const QStringList &lines) {
    // Keys must stay unique: every repeat of a key is left out, and the user is
    // told about the first one.
    const QString repeated = table.setLinesDroppingRepeats(lines);
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
