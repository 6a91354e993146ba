// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "decimal.h"

#include <QString>

// Money in the counts by periods: exact kopecks, every sum checked against
// the limit of 10^15 roubles.
namespace calc {

// "<what> больше 10^15 руб.: …", what the user is told of a sum past the limit.
QString tooLarge(const QString &what);
// a + b, both within the limit, or AppError naming `what`.
qint64 addWithinLimit(qint64 a, qint64 b, const QString &what);
// debt × days × rate / 100 / divisor in kopecks, rounded half away from zero
// (the divisor: the year's days, N of 1/N, or 1 for a percent a day); a
// piece past the limit, or a product past 128 bits, is refused.
qint64 pieceInterest(qint64 debt, int days, Decimal rate, int divisor);

} // namespace calc
