// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/print/printerjob.h"

#include <memory>

namespace ui {

// A job on the default printer; null when no printer is installed. Qt's
// printing support comes with the printing module, loaded on the first call;
// a module that is missing or of another version raises AppError.
std::unique_ptr<PrinterJob> openDefaultPrinter();

} // namespace ui
