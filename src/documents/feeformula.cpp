// SPDX-License-Identifier: GPL-3.0-or-later
// The court fee as a spreadsheet formula: text, which the tests check against
// the fee scale without making a sheet.
#include "claimdocument.h"

namespace documents {
namespace {

// A share in hundredths of a percent as a decimal fraction: 35 → "0.0035".
QString fraction(int perTenThousand) {
    QString digits = QStringLiteral("0.%1").arg(perTenThousand, 4, 10, QChar(u'0'));
    while (digits.endsWith(u'0'))
        digits.chop(1);
    return digits;
}

} // namespace

QString feeFormula(const QString &totalCell, calc::Court court, calc::FeeScale scale) {
    const calc::FeeSchedule &s = calc::feeSchedule(court, scale);
    const auto tierFee = [&](const calc::FeeTier &k) {
        if (k.perTenThousand == 0) return QString::number(k.base);
        const QString above =
            k.lower == 0 ? totalCell : QStringLiteral("(%1-%2)").arg(totalCell).arg(k.lower);
        return QStringLiteral("%1+%2*%3").arg(k.base).arg(fraction(k.perTenThousand), above);
    };
    const std::size_t last = s.tiers.size() - 1;
    QString fee = QStringLiteral("MIN(%1,%2)").arg(s.maximum).arg(tierFee(s.tiers[last]));
    for (std::size_t i = last; i-- > 0;) {
        QString here = tierFee(s.tiers[i]);
        if (i == 0) here = QStringLiteral("MAX(%1,%2)").arg(s.minimum).arg(here);
        fee = QStringLiteral("IF(%1<=%2,%3,%4)")
                  .arg(totalCell)
                  .arg(s.tiers[i + 1].lower)
                  .arg(here, fee);
    }
    // Under the scale of 2024 the fee is paid in whole roubles: rounded to
    // the kopeck first, so that a sheet's binary numbers cannot turn 50
    // kopecks into 49,999….
    if (scale == calc::FeeScale::Since2024) return QStringLiteral("=ROUND(ROUND(%1,2),0)").arg(fee);
    return QStringLiteral("=ROUND(%1,2)").arg(fee);
}

} // namespace documents
