// SPDX-License-Identifier: GPL-3.0-or-later
#include "money.h"

#include "common/apperror.h"

namespace calc {
namespace {

__extension__ using Int128 = __int128;

} // namespace

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
