// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <memory>

class QPagedPaintDevice;
class QPrinter;

namespace ui {

// A printer opened for one job. The printing module makes it (see
// printerloader.h): Qt's printing support is loaded only when the user prints.
class PrinterJob {
public:
    virtual ~PrinterJob() = default;
    virtual QPagedPaintDevice &device() = 0;
    // The printer reported an error for the job.
    virtual bool failed() const = 0;
    virtual QString printerName() const = 0;
};

// A job on a printer made elsewhere (tests print into files this way). Part
// of the printing module.
std::unique_ptr<PrinterJob> printerJob(std::unique_ptr<QPrinter> printer);

} // namespace ui

// The printing module's entry point besides its version is
// "dolgomerOpenDefaultPrinter": a new job on the default printer, or null
// when none is installed.
