#include "printerloader.h"

#include "common/module.h"

namespace ui {

std::unique_ptr<PrinterJob> openDefaultPrinter() {
    static OpenDefaultPrinter *const open =
        moduleEntry<OpenDefaultPrinter>("dolgomer-print", "dolgomerOpenDefaultPrinter");
    return std::unique_ptr<PrinterJob>(open());
}

} // namespace ui
