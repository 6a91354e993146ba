// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/courtfee.h"
#include "calc/periodinterest.h"
#include "rates/ratelookup.h"
#include "rates/ratetable.h"
#include "storage/modesettings.h"

#include <QDate>
#include <QString>
#include <QStringList>

// One claim given as text (an option on the command line or a field of a CSV
// row), checked by the same rules as the window's fields, and counted as the
// window counts it.
namespace cli {

// A value the window would not accept: which field, the text, and why.
struct FieldError {
    QString field;
    QString text;
    QString reason;
    // What the user reads, the field called `name` (an option or a column).
    QString message(const QString &name) const {
        return QStringLiteral("%1: неверное значение \"%2\" — %3").arg(name, text, reason);
    }
};

// What the command line starts from: the user's rate table and stored values.
struct Defaults {
    QDate today = QDate::currentDate();
    rates::RateTable table;
    QString divisor = QString::number(storage::kDefaultDivisor);
    QString dailyRate = storage::kDefaultDailyRate;
    // What the user must be told about their rate file; the table is then
    // what the window would count with.
    QString problem;
    // The user's rate file (read, never written) and stored mode values.
    static Defaults fromUserData();
};

struct ClaimRequest {
    QString debt = QStringLiteral("0,00");
    QDate from, to; // null: today
    QDate filed;    // the day the claim goes to court (its fee scale); null: today
    int tax = 18;
    calc::Court court = calc::Court::Arbitration;
    bool statutory = true;
    QString rate;      // empty: the lookup's rate for `to`
    QString divisor;   // empty: the stored divisor
    QString dailyRate; // empty: the stored daily rate
    bool periods = false;
    QList<calc::Payment> payments;
    QList<calc::Payment> increases; // by periods: invoices overdue from their own day
    QString penaltyDaily;           // by periods: a contractual penalty, % a day
    int keyFraction = 0;            // by periods: a penalty of 1/N of the key rate
    QDate rateDate;                 // ... at the rate of this day (null: each piece's)
    bool moratorium = true;

    // Sets a field by its CSV name (debt, from, to, filed, tax, court, mode,
    // rate, divisor, daily_rate, periods, payments, payment, increases,
    // increase, penalty_daily, key_fraction, rate_date); an empty value keeps
    // the default. Raises FieldError.
    void set(const QString &field, const QString &value);
};

// What a claim comes to.
struct ClaimResult {
    QStringList lines;
    int days = 0;
    QString rate; // the rate the claim was charged at ("" by periods)
    QString interest, total, fee;
    QDate tableEnd; // the period's end when the rate table gave the rates
    // By periods: what was counted, and how (for a document of the claim).
    bool byPeriods = false;
    calc::PeriodInput periodInput;
    calc::PeriodResult periodResult;
};

// What a run tells on standard error besides its output, each once: that the
// rate table may lack the rates for the latest period it was used for, and
// that a period lay in the span of the deposit rates.
struct RunNotes {
    QDate latestTableEnd;
    bool depositRateSpan = false;
    void add(const ClaimResult &result);
    // "предупреждение: …" lines, none when there is nothing to tell.
    QStringList lines(const rates::RateTable &table) const;
};

// Raises AppError with the calculation's own message.
ClaimResult computeClaim(const ClaimRequest &request, const Defaults &defaults,
                         const rates::RateLookup &lookup);
// A claim by periods, rates included, counted.
ClaimResult periodResult(const calc::PeriodInput &claim);
// A claim by periods saved by the window, counted with the user's table.
ClaimResult computeSavedClaim(calc::PeriodInput claim, const Defaults &defaults);

// The CSV columns a batch reads, in the order the help lists them.
const QStringList &fieldNames();

} // namespace cli
