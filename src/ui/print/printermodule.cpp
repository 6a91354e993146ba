// SPDX-License-Identifier: GPL-3.0-or-later
// The printing module: the one place that needs Qt's printing support.
#include "common/module.h"
#include "ui/print/printerjob.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace ui {
namespace {

class QtPrinterJob final : public PrinterJob {
public:
    explicit QtPrinterJob(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {
        printer_->setDocName(QString());
    }
    QPagedPaintDevice &device() override { return *printer_; }
    bool failed() const override { return printer_->printerState() == QPrinter::Error; }
    QString printerName() const override { return printer_->printerName(); }

private:
    std::unique_ptr<QPrinter> printer_;
};

} // namespace

std::unique_ptr<PrinterJob> printerJob(std::unique_ptr<QPrinter> printer) {
    if (!printer) return nullptr;
    return std::make_unique<QtPrinterJob>(std::move(printer));
}

} // namespace ui

DOLGOMER_EXPORT_MODULE_VERSION()

extern "C" Q_DECL_EXPORT ui::PrinterJob *dolgomerOpenDefaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return nullptr;
    return ui::printerJob(std::make_unique<QPrinter>(info, QPrinter::HighResolution)).release();
}
