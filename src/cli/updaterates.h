// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFileDevice>

namespace cli {

// dolgomer --update-rates: the window's update of the rate table, without a
// window. Its messages go to standard error; the table is saved to the user's
// rate file, and `out` hears how many entries it holds and the newest one.
// Returns 0 when the table was saved, 1 when it was not (nothing changed).
// Needs a running application object. `offline`: the rates the program
// carries instead of the bank's pages, put in the table by the same rules.
int updateRates(QFileDevice &out, bool offline = false);

} // namespace cli
