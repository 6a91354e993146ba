#pragma once

namespace calc {

enum class Court { Arbitration, GeneralJurisdiction };

// The state duty for a claim of `total` roubles in the given court.
double StateDuty(double total, Court court);

} // namespace calc
