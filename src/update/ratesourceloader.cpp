// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/module.h"
#include "ratesource.h"

namespace update {

std::unique_ptr<RateSource> makeRateSource() {
    return makeInModule<RateSource>("dolgomer-update", "dolgomerMakeRateSource");
}

} // namespace update
