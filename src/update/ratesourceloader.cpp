// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/module.h"
#include "ratesource.h"

namespace update {

std::unique_ptr<RateSource> makeRateSource() {
    static MakeRateSource *const make =
        moduleEntry<MakeRateSource>("dolgomer-update", "dolgomerMakeRateSource");
    return std::unique_ptr<RateSource>(make());
}

} // namespace update
