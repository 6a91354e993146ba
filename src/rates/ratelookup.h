// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"
#include "ratetable.h"

#include <QDate>
#include <QList>
#include <QString>

// Which rate the claim is charged at: the entry of the rate table in force on
// the period's last day, and what a usable rate is. The window and the
// command line both ask here, so they never disagree.
namespace rates {

// A rate the claim can be charged at: a number the rate field takes, digits
// and one decimal comma, at most eight characters, above 0 and at most 100.
// "0", "101", "1e9", "-5,00" or "abc" are not: such a table entry is refused,
// not charged.
bool isUsableRate(QStringView rate);

// Choosing a table row makes its rate the claim's: the rate text trimmed and
// with "." turned into ",", checked to be a usable rate, and the key's date.
struct RowSelection {
    enum Outcome {
        Nothing, // an empty rate: nothing happens
        BadRate, // not a usable rate: the error path, nothing written
        BadDate, // rate normalised and to be saved, then the error path
        Ok,
    };
    Outcome outcome = Nothing;
    QString rate; // the normalised rate
    QDate date;   // the key's date (Ok only)
    // The rate can be charged (the key may still name no date).
    bool usable() const { return outcome == BadDate || outcome == Ok; }
};

RowSelection normaliseRow(const QString &key, const QString &rateCell);

// What a row without a usable rate makes the user read.
QString unusableRowMessage(const QString &line);

// What the rate lookup for an end date does: first select `lastRow` (0 also
// stands for the empty row of an empty table); then, when `chosen` >= 0,
// select `chosen`, whose rate is `selection`. A non-empty `error` means a key
// did not convert: the lookup ends after the first selection with that error.
struct RateLookupPlan {
    int lastRow = 0;
    int chosen = -1;
    RowSelection selection;
    QString error;
};

RateLookupPlan planRateLookup(const RateTable &table, QDate endDate);

// Many lookups in one table (the command line's batch): the key dates and
// the rows' rates are read once. The table must outlive it.
class RateLookup {
public:
    explicit RateLookup(const RateTable &table);
    RateLookupPlan plan(QDate endDate) const;
    // The rate the claim is charged at for a period ending on `endDate`: the
    // chosen entry's normalised rate, or the rate field's initial text when
    // the table chooses none. Raises AppError when the lookup stops at a key
    // it cannot read or at an entry without a usable rate.
    QString rateOn(QDate endDate) const;

private:
    const RateTable &table_;
    QList<QDate> keyDates_; // a null date where the key names none
    QList<RowSelection> rows_;
};

// The table as the calculation by periods reads it: every entry whose key
// names a date and whose rate is usable, with its normalised rate.
QList<calc::RatePoint> ratePoints(const RateTable &table);
// The newest of such points' days (null: none).
QDate newestPoint(const QList<calc::RatePoint> &points);

// The day of the table's newest entry with a usable rate (null: none): a row
// the lookup cannot use gives no rate, so it never makes the table look new.
// The window, the periods dialog and the command line all judge by it.
QDate newestEntry(const RateTable &table);
// A table whose newest entry is more than 365 days older than the period's
// end may lack every rate set since: such a claim is counted, but the user
// is told. True when `newest` (the table's newest entry) is that old.
bool mayBeStale(QDate newest, QDate periodEnd);
// What the window says of such a table, beside the rate field.
QString staleTableNote(QDate newest);
// What the user is told of a table that may lack the rates of a claim from
// `from` to `to`: the stale note above, or a change the program knows that
// is missing between its entries; empty when neither.
QString tableGapNote(const QList<calc::RatePoint> &points, QDate from, QDate to);

} // namespace rates
