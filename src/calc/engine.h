// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "decimal.h"
#include "money.h"
#include "periodinterest.h"

#include <QDate>
#include <QList>
#include <optional>

// The one engine every count by periods runs on. A claim is a list of debts
// and a list of payments; a count says what each day of delay earns (steps
// by the day of delay), by which day's rate, in which windows nothing
// accrues, in which the rate is capped, and whether a debt's total is
// capped. Payments go to the debt they name, else to the oldest unpaid one;
// what is left over is an advance that pays each later debt the day it
// arises. Amounts are exact kopecks, each piece rounded half away from zero.
namespace calc {

// What a day of delay earns, from day `fromDay` of the delay on.
struct Step {
    enum Kind { Nothing, Fraction, YearDays, Daily };
    int fromDay = 1; // 1: the first overdue day
    Kind kind = YearDays;
    int fraction = 0; // Fraction: N of 1/N of the rate
};

// Days in which nothing accrues: on every debt, or on those whose claim
// arose on or before `aroseBy`; `byUser`: one the user gave, not the law's.
struct Window {
    QDate from, to;
    QDate aroseBy;
    bool byUser = false;
};

// The rate used is at most `most`: on the days from `from` to `to`, or,
// `byRateDay`, on every day whose rate is one day's (a portion's payment
// day, the filing date, one date) when that day lies between them.
struct RateCap {
    QDate from, to;
    Decimal most;
    bool byRateDay = false;
};

// Rules in force from a day on: for the days from `from`, their steps
// (when given) and their own rate (when given) replace the count's.
struct Era {
    QDate from;
    QList<Step> steps;
    std::optional<Decimal> ownRate;
};

struct CountRules {
    QList<Step> steps; // by their first day, the first from day 1
    QList<Era> eras;   // oldest first
    RateDay rateDay = RateDay::EachDay;
    QDate rateDate;                 // OneDate; Payment: what is unpaid at the end (null: the end's)
    std::optional<Decimal> ownRate; // the count's own rate (a percent a day), not the table's
    QList<Window> windows;
    QList<RateCap> caps;
    std::optional<Decimal> totalCap;       // a debt's total at most this share of its amount
    std::optional<qint64> totalCapKopecks; // and at most this many kopecks
    // Pieces end where a table entry or a year begins even when the rate or
    // the year's days stay the same, as the reports of the statutory
    // interest and the penalties always showed them; otherwise a piece is a
    // maximal run of one debt at one rate and divisor.
    bool cutAtEveryChange = false;
    // Increases and payments as rows between the pieces (a single balance).
    bool eventRows = false;

    // The era in force on `day`; null: the count's own rules.
    const Era *eraOn(QDate day) const;
    // What day `dayOfDelay` earns on `date`: by `own` steps when given (a
    // bill by an older law), else by the era's or the count's.
    const Step &stepOn(int dayOfDelay, QDate date, const QList<Step> &own = {}) const;
    // `rate` for `day` under the caps, `rateOf` being the day it is the rate
    // of (a cap by the rate's day looks at that); `lowered` is set when a cap
    // lowered it.
    Decimal capped(Decimal rate, QDate day, QDate rateOf, bool &lowered) const;
};

struct Debt {
    qint64 amount = 0;
    QDate first;              // its first overdue day
    QDate arises;             // the day it exists: an earlier advance pays it then
    QDate arose;              // the day its claim arose, for the windows' scope
    bool increaseRow = false; // a row the day it comes (an increase)
};

// A payment; `debt` the index of the debt it names (-1: none).
struct Paid {
    QDate date;
    qint64 amount = 0;
    int debt = -1;
};

// Adds a payment to `payments` (by day), or to the one of its day to the same
// debt: payments of one day to one debt are one portion, one line and one
// rounding, as a court reads them.
void addPayment(QList<Paid> &payments, const Paid &paid);

// Where the payments went.
struct Allocation {
    struct Part {
        QDate day;
        qint64 amount = 0;
        int payment = -1; // -1: an advance, the day the debt arose
        int debt = 0;
    };
    QList<Part> parts;         // as they were made: by day, a payment's together
    QList<qint64> overpaid;    // each payment's: beyond every debt owed then
    QList<qint64> advancePaid; // each debt's: what an advance paid of it
    QList<qint64> unpaid;      // each debt's: unpaid at the end
    qint64 advance = 0;        // what is left over at the end
};

// Debts oldest first (by their first overdue day, then as given; their
// days of arising in the same order), payments by date (as given within a
// day). A payment pays the debts that exist on its day.
Allocation allocate(const QList<Debt> &debts, const QList<Paid> &payments);

// The rows of the debts `account` (indexes into `debts`), counted on one
// balance from the first one's first overdue day to `end`: pieces and the
// windows' rows, with increases and payments between them when the rules
// ask. The steps count the days from that first day. Piece amounts are
// added to `total`, within the limit named `totalName`; `earliestRateDay`,
// when given, is moved back to the earliest day whose rate a piece took.
void countAccount(const CountRules &rules, const RatesByDay &rates, const QList<Debt> &debts,
                  const Allocation &allocation, const QList<Paid> &payments,
                  const QList<int> &account, QDate end, QList<PeriodRow> &rows, qint64 &total,
                  const QString &totalName, QDate *earliestRateDay = nullptr);

} // namespace calc
