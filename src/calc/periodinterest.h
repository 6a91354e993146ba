// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "courtfee.h"
#include "decimal.h"
#include "parties.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// Interest and penalties by periods, as courts count them: by calendar days,
// a debt that invoices raise and payments lower, nothing during the
// moratorium of 01.04.2022–01.10.2022 for debts that arose before it. The
// statutory interest goes at the rate in force in each part of the period
// over a year of 365 or 366 days; a contractual penalty at a percent a day; a
// penalty at a fraction of the key rate, of each part or of one date. Amounts
// are counted exactly, in kopecks, each part rounded half away from zero.
namespace calc {

// A rate in force from a day on, as the rate table writes it ("8,75").
struct RatePoint {
    QDate from;
    QString rate;
};

struct Payment {
    QDate date;
    QString amount; // roubles, decimal comma or point, at most two decimals
    // An increase: the day its claim arose, which decides the moratorium
    // (goods delivered in March and due in April are covered); null: the
    // increase's own day.
    QDate arose;
    // A payment of housing bills: the month whose bill it pays first (null:
    // the oldest unpaid).
    QDate month;
};

// A housing bill: `amount` roubles charged for `month` (any day of it).
struct Charge {
    QDate month;
    QString amount;
};

// Which day's rate a housing penalty goes by.
enum class RateDay {
    Payment, // each portion at the rate of the day it was paid, what is unpaid at the
             // calculation date's
    OneDate, // every day at the rate of one date
    EachDay, // each day at the rate in force on it
    DueDay,  // every day at the rate of the day the obligation was due, the day before
             // the first overdue day
};

// What is counted.
enum class PeriodCount {
    Statutory,   // interest by art. 395 of the Civil Code
    Contractual, // a penalty of a percent of the debt a day
    KeyFraction, // a penalty of 1/N of the key rate a day
    Housing,     // the penalty on housing and utility bills (part 14 of art. 155 of the
                 // Housing Code): monthly charges, stepped fractions of the key rate
};
// Whether the count takes its rates from the rate table (a contractual
// penalty has its own).
inline bool usesRateTable(PeriodCount count) {
    return count != PeriodCount::Contractual;
}

// Days from `from` to `to`, both counted.
struct DaySpan {
    QDate from, to;
    friend bool operator==(const DaySpan &, const DaySpan &) = default;
};

struct PeriodInput {
    QString debt;           // roubles in the two-decimal form
    QDate start, end;       // both days count
    QList<RatePoint> rates; // the rate table, any order
    QList<Payment> payments;
    // Invoices overdue from their own day: each adds its amount to the debt
    // from that day on, inclusive.
    QList<Payment> increases;
    PeriodCount count = PeriodCount::Statutory;
    QString dailyPercent; // Contractual: P in "P % a day", e.g. "0,1"
    int fraction = 300;   // KeyFraction: N in "1/N of the key rate", 1 to 1000
    // KeyFraction: every piece at the rate in force on this day (null: each
    // piece at the rate in force on its first day).
    QDate rateDate;
    bool moratorium = true;
    // The day the main debt's claim arose, for the moratorium; null: the
    // period's first day.
    QDate arose;
    Court court = Court::Arbitration;
    QDate filed; // the day the claim goes to court: its fee scale
    // Housing: the bills; the penalty runs to `filed`, the calculation date,
    // and `start`, `end`, `debt` and the increases play no part.
    QList<Charge> charges;
    RateDay rateDay = RateDay::Payment; // OneDate: at `rateDate`, null: the filing date's
    // Of the next month; 0: the law's (the 10th, the 15th from the February
    // 2026 bill); past the month's end: its last day.
    int dueDay = 0;
    bool shift = true;          // a due date on a day off moves to the next working day
    bool moratorium2020 = true; // no penalty 06.04.2020–31.12.2020
    // An application for a court order rather than a claim: half the fee.
    bool courtOrder = false;
    // The basis's exemption from the court fee holds (off: the claimant is
    // one the law does not free, an employer or a bank).
    bool feeExemption = true;
    // A legal basis of its own (a preset's name: "wages", "consumer-28", …),
    // counted by its rules and laid out as `count`; empty: `count` alone.
    QString basis;
    // Contractual: the penalty's total at most this percent of the debt, or
    // at most this many roubles (empty: no cap; not both).
    QString capPercent, capAmount;
    // Wages: the greater share of the key rate a contract sets, N of 1/N,
    // under the law's 150; 0: the law's.
    int contractFraction = 0;
    // The supplier's penalty under a public contract: what of the price
    // (the debt) was fulfilled before the delay, in roubles; empty: nothing.
    QString fulfilled;
    // Days in which nothing accrues on any debt, as the user gives them: a
    // decree the program does not know yet, a court's ruling.
    QList<DaySpan> windows;
    // Motor insurance: the insured sum that caps the penalty's total, in
    // roubles; empty: the law's 400 000.
    QString insuredSum;
    // The report says how the claim goes on after the count ("и далее по день
    // фактической оплаты долга").
    bool continuing = true;
    // Whether the base of the penalty is demanded beside it, where the basis
    // leaves that to the claimant (a consumer's prepayment, an indemnity);
    // unset: the basis's default.
    std::optional<bool> claimBase;
    // The parties, the ground and the court, for the claim's papers.
    Parties parties;
};

// A row of the calculation as courts lay it out in a table, in report order.
struct PeriodRow {
    // Housing bills add theirs: a bill (from: its month, to: its due day,
    // amount: charged), what an advance paid of it, and its penalty (amount)
    // with what is left of it (debt); its payments are Payment rows.
    enum Kind { Piece, Payment, Increase, Moratorium, Bill, Advance, BillTotal };
    Kind kind = Piece;
    QDate from, to;  // Payment, Increase: the day (both)
    qint64 debt = 0; // kopecks: the debt of the piece, or after the payment or increase
    int days = 0;    // Piece, Moratorium
    QString rate;    // Piece: general form ("8,75", "0,1")
    int divisor = 0; // Piece: the year's days or N of 1/N; 0 for a percent a day
    // Kopecks: the piece's amount (rounded half away from zero), or the sum
    // paid or added.
    qint64 amount = 0;
    // Payment: what went beyond the debt, kept as an advance; Increase: the
    // part of it an earlier advance paid the day it arose.
    qint64 overpaid = 0;
    // Moratorium: it holds only part of the debt (`debt`); a later invoice's
    // part accrues beside it.
    bool partial = false;
    // Piece: what it came to before a cap on the total cut it (0: not cut).
    qint64 uncapped = 0;
    // Piece: its rate was lowered by a cap on the rate.
    bool rateCapped = false;
    // Moratorium: days of a window the user gave, not the law's.
    bool byUser = false;
};

struct HousingResult;

struct PeriodResult {
    int days = 0;          // calendar days of the period
    qint64 interest = 0;   // kopecks: the sum of the rounded pieces (interest or penalty)
    qint64 remaining = 0;  // kopecks: the debt after the payments and increases
    qint64 fee = 0;        // kopecks: state duty on remaining + interest
    QString feeExemption;  // the article that freed the claimant of some or all of it
    qint64 feeByScale = 0; // kopecks: the scale's figure where `fee`, in whole roubles, differs
    QStringList lines;     // the report
    QList<PeriodRow> rows; // the same as a table's rows
    // A piece that earns interest lies in 01.06.2015–31.07.2016, when the
    // interest went by average deposit rates, not by the table's.
    bool depositRateSpan = false;
    // The table's oldest entry, when the claim reaches back before it (a
    // day of the period, or the one date's rate): there is no rate for those
    // days, and the oldest one stands in. Null otherwise.
    QDate tableStart;
    // The report ends with the fine a court awards a consumer on top of the
    // claim (a line after the fee, no part of the total).
    bool consumerFine = false;
    // "и далее с … по день фактической оплаты долга …", after ИТОГО; empty
    // when nothing is unpaid or the user left it out.
    QString continuing;
    // Housing: the bills with their payments and pieces (and as the table's
    // `rows`, bill by bill).
    std::shared_ptr<const HousingResult> housing;
};

// The latest day whose rate the claim takes from the table: the period's end
// (the filing date for bills), the filing date where what is unpaid goes at
// its rate, one date's rate, and the first day of the "и далее" line. A
// table older than it may lack the rate, and the user is told.
QDate lastRateDay(const PeriodInput &claim);

// What the user is told of a claim that reaches back before the table.
QString tableStartNote(QDate oldest);

inline const QDate kMoratoriumStart{2022, 4, 1};
inline const QDate kMoratoriumEnd{2022, 10, 1};

// The moratorium covers claims that arose before it began (by its first day,
// as a debt overdue from 01.04.2022 arose by 31.03.2022): a debt that arose
// later accrues through it, whatever is asked.
bool moratoriumCovers(QDate arose);
// Whether the moratorium covers any debt of the claim (the main one or an
// increase), so that asking for it or not makes a difference.
bool moratoriumMayCover(const PeriodInput &claim);

// The day from which the refinancing rate is the key rate (the bank's
// decision of 11.12.2015): before it, claims name the refinancing rate.
inline const QDate kKeyRateNamedFrom{2016, 1, 1};

inline const QDate kDepositRatesFrom{2015, 6, 1};
inline const QDate kDepositRatesUntil{2016, 7, 31};
// What the user is told, outside the report, of a period in that span.
QString depositRatesHint();

// The six-line claim's debt, period, court and filing date as a claim by
// periods counted with `rates` (the periods dialog opens on it).
struct CalcInput;
PeriodInput periodClaimOf(const CalcInput &claim, const QList<RatePoint> &rates);

// What is wrong with one payment or increase of a period (empty: nothing).
QString periodEntryProblem(const Payment &entry, QDate start, QDate end, PeriodRow::Kind kind);

// Checks the claim, counts its rows, then writes its lines: the one check of
// a claim by periods, whichever front end it came from. Raises AppError with
// a message for the user when the debt, a payment, an increase or the
// penalty cannot be read, the period ends before it starts, there is no debt
// at all, a payment or an increase lies outside the period, the table has no
// rate, or the debt with its increases, a piece, the interest or the total
// would pass 10^15 roubles.
PeriodResult calculatePeriods(const PeriodInput &input);

// "ИТОГО: 1000,00 + 10,00 = 1010,00 руб."; a claim of the charge alone (the
// debt paid, or a base that is no debt) "ИТОГО: 10,00 руб.".
QString totalLine(qint64 debt, qint64 charged);

// How a row is told, in the report's lines and in the table alike: the
// moratorium's words for what is counted (naming the part it holds when
// `held` is given, for a line that has no column for it), and what a payment
// paid beyond the debt (", переплата … руб.") or an advance paid of an
// increase (", зачтено из переплаты … руб."), empty when nothing.
QString moratoriumPhrase(const QString &noun, qint64 held = 0);
// What a claim charges by its basis's row ("проценты", "неустойка", "пени",
// "компенсация") and the verb agreeing with it ("начисляются", "не
// начисляется"…), as the report says them.
QString chargeNoun(const PeriodInput &claim);
QString accrualVerb(const QString &noun, bool accrues);
QString overpaidPhrase(const PeriodRow &row);

} // namespace calc
