// SPDX-License-Identifier: GPL-3.0-or-later
#include "courtfee.h"

#include <algorithm>

namespace calc {
namespace {

// The scale until 08.09.2024.
constexpr FeeTier kArbitrationTiers[] = {
    {0, 0, 400},           {100000, 4000, 300},  {200000, 7000, 200},
    {1000000, 23000, 100}, {2000000, 33000, 50},
};
constexpr FeeTier kGeneralTiers[] = {
    {0, 0, 400}, {20000, 800, 300}, {100000, 3200, 200}, {200000, 5200, 100}, {1000000, 13200, 50},
};

// The scale since 09.09.2024: the first tier is a fixed fee.
constexpr FeeTier kArbitrationTiers2024[] = {
    {0, 10000, 0},           {100000, 10000, 500},   {1000000, 55000, 300},
    {10000000, 325000, 100}, {50000000, 725000, 50},
};
constexpr FeeTier kGeneralTiers2024[] = {
    {0, 4000, 0},           {100000, 4000, 300},     {300000, 10000, 250}, {500000, 15000, 200},
    {1000000, 25000, 100},  {3000000, 45000, 70},    {8000000, 80000, 35}, {24000000, 136000, 30},
    {50000000, 214000, 20}, {100000000, 314000, 15},
};

const FeeSchedule kArbitration{kArbitrationTiers, 2000, 200000};
const FeeSchedule kGeneral{kGeneralTiers, 400, 60000};
const FeeSchedule kArbitration2024{kArbitrationTiers2024, 10000, 10000000};
const FeeSchedule kGeneral2024{kGeneralTiers2024, 4000, 900000};

__extension__ using Int128 = __int128;

// The tier a total falls in: a bound belongs to the lower tier.
template <typename T> std::size_t tierOf(const FeeSchedule &s, T total, T scale) {
    std::size_t tier = 0;
    while (tier + 1 < s.tiers.size() && !(total <= T(s.tiers[tier + 1].lower) * scale))
        ++tier;
    return tier;
}

} // namespace

FeeScale feeScaleFor(QDate filed) {
    return filed >= kFeeScale2024 ? FeeScale::Since2024 : FeeScale::Until2024;
}

const FeeSchedule &feeSchedule(Court court, FeeScale scale) {
    if (scale == FeeScale::Since2024)
        return court == Court::Arbitration ? kArbitration2024 : kGeneral2024;
    return court == Court::Arbitration ? kArbitration : kGeneral;
}

double courtFee(double total, Court court, FeeScale scale) {
    const FeeSchedule &s = feeSchedule(court, scale);
    const long double t = total;
    const std::size_t tier = tierOf<long double>(s, t, 1);
    const FeeTier &k = s.tiers[tier];
    const long double rate = k.perTenThousand / 10000.0L;
    if (tier == 0) {
        const auto fee = static_cast<double>(rate * t + k.base);
        return fee < double(s.minimum) ? double(s.minimum) : fee;
    }
    const auto fee = static_cast<double>((t - k.lower) * rate + k.base);
    if (tier + 1 == s.tiers.size() && fee > double(s.maximum)) return double(s.maximum);
    return fee;
}

qint64 courtFeeKopecks(qint64 total, Court court, FeeScale scale) {
    const FeeSchedule &s = feeSchedule(court, scale);
    const std::size_t tier = tierOf<qint64>(s, total, 100);
    const FeeTier &k = s.tiers[tier];
    // rate × (total − lower) in kopecks is the product over 10 000; totals
    // are below 10^17 kopecks, so the product stays inside 128 bits.
    const Int128 share = Int128(total - k.lower * 100) * k.perTenThousand;
    const qint64 fee = k.base * 100 + qint64((share + (share >= 0 ? 5000 : -5000)) / 10000);
    if (tier == 0 && fee < s.minimum * 100) return s.minimum * 100;
    if (tier + 1 == s.tiers.size() && fee > s.maximum * 100) return s.maximum * 100;
    return fee;
}

qint64 courtOrderFee(qint64 fee, Court court, FeeScale scale) {
    const qint64 half = (fee + 1) / 2;
    if (fee > 0 && court == Court::Arbitration && scale == FeeScale::Since2024)
        return std::max(half, kArbitrationCourtOrderMinimum * 100);
    return half;
}

qint64 paidFee(qint64 fee, FeeScale scale) {
    return scale == FeeScale::Since2024 ? (fee + 50) / 100 * 100 : fee;
}

} // namespace calc
