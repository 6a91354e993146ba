#pragma once

namespace calc {

enum class Court { Arbitration, GeneralJurisdiction };

// The state duty for a claim of `total` roubles in the given court.
double courtFee(double total, Court court);

} // namespace calc
