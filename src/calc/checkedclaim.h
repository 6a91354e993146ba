// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "money.h"
#include "periodinterest.h"

#include <optional>

// A claim by periods, checked and read into exact numbers: what the count
// and the report's lines are made from.
namespace calc {

// A payment or an increase in kopecks; an increase also says the day its
// claim arose (for the moratorium).
struct Dated {
    QDate day;
    qint64 amount = 0;
    QDate arose;
};

// Step one: the claim checked and read into exact numbers.
struct CheckedClaim {
    qint64 debt = 0;
    QList<Dated> payments, increases; // by day, a day's as entered
    Decimal daily;                    // Contractual: % a day
    RatesByDay rates;                 // the table, oldest first
    std::optional<Decimal> capShare;  // Contractual: the total at most this share of the debt
    std::optional<qint64> capKopecks; // or at most this; motor insurance: the insured sum
    qint64 price = 0, fulfilled = 0;  // the supplier's: the debt is the price less the fulfilled
};

// Step one: the claim checked. Raises AppError with a message for the user
// (see calculatePeriods).
CheckedClaim checkClaim(const PeriodInput &in);

} // namespace calc
