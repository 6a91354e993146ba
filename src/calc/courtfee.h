// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>

namespace calc {

enum class Court { Arbitration, GeneralJurisdiction };

// Which scale of state duty a claim pays: the one in force on the day it is
// filed. The scale changed on 09.09.2024 for every claim sent to court from
// that day on, whatever period it covers.
enum class FeeScale { Until2024, Since2024 };
FeeScale feeScaleFor(QDate filed);

// The first day of the scale of 2024.
inline const QDate kFeeScale2024{2024, 9, 9};

// The state duty for a claim of `total` roubles in the given court.
double courtFee(double total, Court court, FeeScale scale);

} // namespace calc
