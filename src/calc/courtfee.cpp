// SPDX-License-Identifier: GPL-3.0-or-later
#include "courtfee.h"

#include <span>

namespace calc {
namespace {

struct Tier {
    long double lower; // the tier starts above this total
    long double upper; // and ends at it (a bound belongs to the lower tier)
    long double base;  // the fee at `lower`
    long double rate;  // the share of the total above `lower`
};

// The fee is base + rate × (total − lower) in the tier the total falls in,
// at least `minimum` in the first tier and at most `maximum` in the last.
struct Schedule {
    std::span<const Tier> tiers;
    double minimum;
    double maximum;
};

constexpr long double kNoBound = 0; // the last tier has no upper bound

// The scale until 08.09.2024.
constexpr Tier kArbitrationTiers[] = {
    {0, 100000, 0, 0.04L},
    {100000, 200000, 4000, 0.03L},
    {200000, 1000000, 7000, 0.02L},
    {1000000, 2000000, 23000, 0.01L},
    {2000000, kNoBound, 33000, 0.005L},
};
constexpr Tier kGeneralTiers[] = {
    {0, 20000, 0, 0.04L},
    {20000, 100000, 800, 0.03L},
    {100000, 200000, 3200, 0.02L},
    {200000, 1000000, 5200, 0.01L},
    {1000000, kNoBound, 13200, 0.005L},
};

// The scale since 09.09.2024: the first tier is a fixed fee.
constexpr Tier kArbitrationTiers2024[] = {
    {0, 100000, 10000, 0},
    {100000, 1000000, 10000, 0.05L},
    {1000000, 10000000, 55000, 0.03L},
    {10000000, 50000000, 325000, 0.01L},
    {50000000, kNoBound, 725000, 0.005L},
};
constexpr Tier kGeneralTiers2024[] = {
    {0, 100000, 4000, 0},
    {100000, 300000, 4000, 0.03L},
    {300000, 500000, 10000, 0.025L},
    {500000, 1000000, 15000, 0.02L},
    {1000000, 3000000, 25000, 0.01L},
    {3000000, 8000000, 45000, 0.007L},
    {8000000, 24000000, 80000, 0.0035L},
    {24000000, 50000000, 136000, 0.003L},
    {50000000, 100000000, 214000, 0.002L},
    {100000000, kNoBound, 314000, 0.0015L},
};

const Schedule kArbitration{kArbitrationTiers, 2000, 200000};
const Schedule kGeneral{kGeneralTiers, 400, 60000};
const Schedule kArbitration2024{kArbitrationTiers2024, 10000, 10000000};
const Schedule kGeneral2024{kGeneralTiers2024, 4000, 900000};

const Schedule &scheduleOf(Court court, FeeScale scale) {
    if (scale == FeeScale::Since2024)
        return court == Court::Arbitration ? kArbitration2024 : kGeneral2024;
    return court == Court::Arbitration ? kArbitration : kGeneral;
}

} // namespace

FeeScale feeScaleFor(QDate filed) {
    return filed >= kFeeScale2024 ? FeeScale::Since2024 : FeeScale::Until2024;
}

double courtFee(double total, Court court, FeeScale scale) {
    const Schedule &s = scheduleOf(court, scale);
    const std::size_t last = s.tiers.size() - 1;
    const long double t = total;
    std::size_t tier = 0;
    while (tier < last && !(t <= s.tiers[tier].upper))
        ++tier;
    const Tier &k = s.tiers[tier];
    if (tier == 0) {
        const auto fee = static_cast<double>(k.rate * t + k.base);
        return fee < s.minimum ? s.minimum : fee;
    }
    const auto fee = static_cast<double>((t - k.lower) * k.rate + k.base);
    if (tier == last && fee > s.maximum) return s.maximum;
    return fee;
}

} // namespace calc
