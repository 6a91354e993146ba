// SPDX-License-Identifier: GPL-3.0-or-later
// What a run of the command line tells once, after its claims: the columns
// it does not know, a stale or gapped rate table, rates it had no entry for.
#include "claimrequest.h"

#include "calc/penalty.h"
#include "common/dates.h"
#include "rates/knownrates.h"
#include "rates/userrates.h"

namespace bulk {

void RunNotes::add(const ClaimResult &r) {
    if (r.tableEnd.isValid() && (latestTableEnd.isNull() || r.tableEnd > latestTableEnd))
        latestTableEnd = r.tableEnd;
    if (r.tableFrom.isValid() && (earliestTableFrom.isNull() || r.tableFrom < earliestTableFrom))
        earliestTableFrom = r.tableFrom;
    depositRateSpan = depositRateSpan || r.periodResult.depositRateSpan;
    if (r.periodResult.tableStart.isValid()) tableStart = r.periodResult.tableStart;
}

void RunNotes::merge(const RunNotes &o) {
    if (o.latestTableEnd.isValid() &&
        (latestTableEnd.isNull() || o.latestTableEnd > latestTableEnd))
        latestTableEnd = o.latestTableEnd;
    if (o.earliestTableFrom.isValid() &&
        (earliestTableFrom.isNull() || o.earliestTableFrom < earliestTableFrom))
        earliestTableFrom = o.earliestTableFrom;
    depositRateSpan = depositRateSpan || o.depositRateSpan;
    if (o.tableStart.isValid()) tableStart = o.tableStart;
    unknownColumns += o.unknownColumns;
}

QStringList RunNotes::lines(const rates::RateTable &table) const {
    QStringList out;
    // A misspelt column leaves every row counted without it: never passed
    // over in silence.
    for (const QString &name : unknownColumns)
        out << QStringLiteral("--batch: столбец «%1» программе неизвестен и не учтен").arg(name);
    const QString warning = QStringLiteral("предупреждение: ");
    if (latestTableEnd.isValid()) {
        const QDate newest = rates::newestEntry(table);
        if (rates::mayBeStale(newest, latestTableEnd))
            out << warning + QStringLiteral("последняя запись таблицы ставок — от %1, период — "
                                            "по %2; обновите таблицу: dolgomer --update-rates")
                                 .arg(dateText(newest), dateText(latestTableEnd));
        else if (const QDate missing = rates::missingKnownChange(rates::ratePoints(table),
                                                                 earliestTableFrom, latestTableEnd);
                 missing.isValid())
            out << warning + QStringLiteral("в таблице ставок нет ставки с %1, известной "
                                            "программе; заполните таблицу: dolgomer "
                                            "--update-rates --offline")
                                 .arg(dateText(missing));
    }
    if (depositRateSpan) out << warning + calc::depositRatesHint();
    if (tableStart.isValid()) out << warning + calc::tableStartNote(tableStart);
    return out;
}

} // namespace bulk
