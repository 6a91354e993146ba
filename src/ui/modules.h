#pragma once

#include "printerjob.h"
#include "rates/ratesource.h"

#include <memory>

namespace ui {

// Parts of the program that are loaded when first used, so that a start
// pays neither for them nor for the libraries they bring: the network, TLS
// and the HTML parser of the rate update, and Qt's printing support. They
// are looked for beside the program, then where they are installed as seen
// from the program's folder (the build lays them out the same way). A part
// that cannot be loaded raises AppError saying which and why.

// A source for an update of the rate table.
std::unique_ptr<rates::RateSource> makeRateSource();

// A job on the default printer; null when no printer is installed.
std::unique_ptr<PrinterJob> openDefaultPrinter();

} // namespace ui
