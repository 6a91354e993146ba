// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "decimal.h"
#include "periodinterest.h"

#include <QDate>
#include <QString>
#include <map>

// Money and rates in the counts: exact kopecks, every sum checked against
// the limit of 10^15 roubles, and the rate table as exact decimals by day.
namespace calc {

// The rate table as exact decimals, oldest first; a point without a date or
// a readable rate is left out.
using RatesByDay = std::map<QDate, Decimal>;
RatesByDay ratesByDay(const QList<RatePoint> &points);
// The rate in force on `day`; before the oldest entry, the oldest one's.
// `rates` must not be empty.
Decimal rateInForce(const RatesByDay &rates, QDate day);

// "<what> больше 10^15 руб.: …", what the user is told of a sum past the limit.
QString tooLarge(const QString &what);
// a + b, both within the limit, or AppError naming `what`.
qint64 addWithinLimit(qint64 a, qint64 b, const QString &what);
// debt × days × rate / 100 / divisor in kopecks, rounded half away from zero
// (the divisor: the year's days, N of 1/N, or 1 for a percent a day); a
// piece past the limit, or a product past 128 bits, is refused.
qint64 pieceInterest(qint64 debt, int days, Decimal rate, int divisor);

} // namespace calc
