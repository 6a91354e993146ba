// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QtGlobal>

#include <span>

namespace calc {

enum class Court { Arbitration, GeneralJurisdiction };

// Which scale of state duty a claim pays: the one in force on the day it is
// filed. The scale changed on 09.09.2024 for every claim sent to court from
// that day on, whatever period it covers.
enum class FeeScale { Until2024, Since2024 };
FeeScale feeScaleFor(QDate filed);

// The first day of the scale of 2024.
inline const QDate kFeeScale2024{2024, 9, 9};

// One tier of a scale: a total above `lower` roubles and at most the next
// tier's `lower` pays base + rate × (total − lower), the rate given in
// hundredths of a percent so the scale is exact in integers.
struct FeeTier {
    qint64 lower;       // roubles
    qint64 base;        // roubles: the fee at `lower`
    int perTenThousand; // the share of the total above `lower`
};

// A scale: its tiers from the lowest, a fee at least `minimum` in the first
// tier and at most `maximum` in the last (both in roubles).
struct FeeSchedule {
    std::span<const FeeTier> tiers;
    qint64 minimum;
    qint64 maximum;
};
const FeeSchedule &feeSchedule(Court court, FeeScale scale);

// The state duty for a claim of `total` roubles in the given court, counted
// in long double as the six-line report does.
double courtFee(double total, Court court, FeeScale scale);

// The same duty in exact integer kopecks for a total in kopecks, half a
// kopeck rounded away from zero: the calculation by periods and the
// spreadsheet formula that checks it give this.
qint64 courtFeeKopecks(qint64 total, Court court, FeeScale scale);
// An application for a court order pays half the claim's fee under either
// scale (arts. 333.19 and 333.21 of the Tax Code), half a kopeck up; in an
// arbitration court under the scale of 2024 at least 8 000 roubles (пп. 3
// п. 1 ст. 333.21 НК РФ as amended by 259-ФЗ). A claim freed of the fee
// stays free.
inline constexpr qint64 kArbitrationCourtOrderMinimum = 8000; // roubles
qint64 courtOrderFee(qint64 fee, Court court, FeeScale scale);
// The fee as it is paid under the scale of 2024: in whole roubles, less
// than 50 kopecks dropped, 50 and more a rouble (п. 6 ст. 52 НК РФ; the
// Ministry of Finance's letter of 28.05.2025 № 03-05-04-03/52566). The older
// scale's fee is paid to the kopeck.
qint64 paidFee(qint64 fee, FeeScale scale);

} // namespace calc
