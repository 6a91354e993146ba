// SPDX-License-Identifier: GPL-3.0-or-later
#include "updaterates.h"

#include "bulk/batch.h"
#include "bulk/output.h"
#include "common/apperror.h"
#include "rates/knownrates.h"
#include "rates/tablefile.h"
#include "rates/userrates.h"
#include "telluser.h"
#include "update/rateupdate.h"

#include <QDir>
#include <QEventLoop>

namespace cli {

using bulk::flushOutput;
using bulk::writeOutput;

int updateRates(QFileDevice &out, bool offline) {
    rates::UserRates user = rates::openUserRates(rates::RateFileAccess::ReadWrite);
    if (!user.problem.isEmpty()) tellUser(user.problem);
    if (!user.calendarProblem.isEmpty()) tellUser(user.calendarProblem);
    if (user.refused) {
        // The window asks before it replaces a file it could not read, and
        // keeps the old one; here nobody can be asked.
        tellUser(
            QStringLiteral("таблица ставок не изменена: файл \"%1\" заменяется только с вашего "
                           "согласия — обновите таблицу в окне программы")
                .arg(QDir::toNativeSeparators(user.path)));
        return 1;
    }
    update::RateUpdate update;
    update::UpdateOutcome outcome;
    QEventLoop loop;
    QObject::connect(&update, &update::RateUpdate::finished, &loop,
                     [&](const update::UpdateOutcome &o) {
                         outcome = o;
                         loop.quit();
                     });
    try {
        if (offline) {
            if (rates::knownKeyRates().changes.isEmpty())
                throw AppError(QStringLiteral("в этой сборке программы нет известных ей ставок"));
            outcome.lines = rates::knownRatesTable(user.table);
        } else {
            update.start(QDate::currentDate());
            if (update.isRunning()) loop.exec();
        }
        if (!outcome.succeeded()) {
            tellUser(outcome.message);
            return 1;
        }
        rates::RateTable fresh;
        fresh.setLines(outcome.lines);
        // The file is read again before it is written: a line another
        // program (the window) saved meanwhile is never written over unseen.
        rates::TableFile file;
        file.open(user);
        const rates::TableFile::Replaced done =
            file.replace(fresh, QString(), rates::TableFile::IfChanged::Refuse);
        tellUser(offline ? rates::knownRatesDone()
                         : QStringLiteral("Значения ставок рефинансирования актуализированы"));
        if (done.dropped > 0) tellUser(rates::droppedLinesText(done.dropped, done.backup));
        writeOutput(out, QStringLiteral("%1: записей в таблице ставок — %2, последняя — «%3»\n")
                             .arg(QDir::toNativeSeparators(user.path))
                             .arg(fresh.count())
                             .arg(fresh.line(0))
                             .toUtf8());
        flushOutput(out);
    } catch (const AppError &e) {
        tellUser(e.message());
        return 1;
    }
    return 0;
}

} // namespace cli
