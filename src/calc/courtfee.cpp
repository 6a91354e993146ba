#include "courtfee.h"

#include <array>
#include <cstddef>

namespace calc {
namespace {

struct Tier {
    long double lower; // the tier starts above this total
    long double upper; // and ends at it (a bound belongs to the lower tier)
    long double base;  // the fee at `lower`
    long double rate;  // the share of the total above `lower`
};

struct Schedule {
    std::array<Tier, 5> tiers;
    double minimum; // of the first tier
    double maximum; // of the last tier
};

constexpr long double kNoBound = 0; // the last tier has no upper bound

const Schedule kArbitration{{{
                                {0, 100000, 0, 0.04L},
                                {100000, 200000, 4000, 0.03L},
                                {200000, 1000000, 7000, 0.02L},
                                {1000000, 2000000, 23000, 0.01L},
                                {2000000, kNoBound, 33000, 0.005L},
                            }},
                            2000,
                            200000};

const Schedule kGeneral{{{
                            {0, 20000, 0, 0.04L},
                            {20000, 100000, 800, 0.03L},
                            {100000, 200000, 3200, 0.02L},
                            {200000, 1000000, 5200, 0.01L},
                            {1000000, kNoBound, 13200, 0.005L},
                        }},
                        400,
                        60000};

} // namespace

double courtFee(double total, Court court) {
    const Schedule &s = court == Court::Arbitration ? kArbitration : kGeneral;
    const long double t = total;
    std::size_t tier = 0;
    while (tier < 4 && !(t <= s.tiers[tier].upper))
        ++tier;
    const Tier &k = s.tiers[tier];
    if (tier == 0) {
        const auto fee = static_cast<double>(k.rate * t);
        return fee < s.minimum ? s.minimum : fee;
    }
    const auto fee = static_cast<double>((t - k.lower) * k.rate + k.base);
    if (tier == 4 && fee > s.maximum) return s.maximum;
    return fee;
}

} // namespace calc
