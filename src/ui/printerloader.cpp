// SPDX-License-Identifier: GPL-3.0-or-later
#include "printerloader.h"

#include "common/module.h"

namespace ui {

std::unique_ptr<PrinterJob> openDefaultPrinter() {
    return makeInModule<PrinterJob>("dolgomer-print", "dolgomerOpenDefaultPrinter");
}

} // namespace ui
