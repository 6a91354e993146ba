// SPDX-License-Identifier: GPL-3.0-or-later
#include "money.h"

#include "common/apperror.h"

namespace calc {
namespace {

__extension__ using Int128 = __int128;

} // namespace

RatesByDay ratesByDay(const QList<RatePoint> &points) {
    RatesByDay rates;
    for (const RatePoint &point : points)
        if (Decimal d; point.from.isValid() && readRate(point.rate, d))
            rates.emplace(point.from, d);
    return rates;
}

Decimal rateInForce(const RatesByDay &rates, QDate day) {
    const auto it = rates.upper_bound(day);
    return it == rates.begin() ? it->second : std::prev(it)->second;
}

QString tooLarge(const QString &what) {
    return QStringLiteral("%1 больше 10^15 руб.: такие суммы программа не считает").arg(what);
}

qint64 addWithinLimit(qint64 a, qint64 b, const QString &what) {
    if (a > kMaxKopecks - b) throw AppError(tooLarge(what));
    return a + b;
}

qint64 pieceInterest(qint64 debt, int days, Decimal rate, int divisor) {
    Int128 numerator = 0;
    if (__builtin_mul_overflow(Int128(debt) * days, Int128(rate.digits), &numerator))
        throw AppError(tooLarge(QStringLiteral("Сумма за период")));
    const Int128 denominator = Int128(pow10(rate.scale)) * 100 * divisor;
    Int128 q = numerator / denominator;
    const Int128 r = numerator % denominator;
    if (2 * r >= denominator) ++q;
    if (q > kMaxKopecks) throw AppError(tooLarge(QStringLiteral("Сумма за период")));
    return qint64(q);
}

} // namespace calc
