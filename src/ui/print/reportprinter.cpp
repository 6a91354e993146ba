// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/print/reportprinter.h"

#include "storage/savedfile.h"
#include "ui/print/printerloader.h"
#include "ui/print/printing.h"
#include "ui/widgets/dialogs.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

namespace ui {
namespace {

const QString kPrintError = QStringLiteral("Ошибка печати");
const QString kSaveError = QStringLiteral("Ошибка сохранения");
const QString kMessage = QStringLiteral("Сообщение");

// The busy pointer for as long as the printer works, and back whatever happens.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

} // namespace

PrintWords guideWords() {
    PrintWords words;
    words.ask = QStringLiteral("Распечатать справку на бумажный носитель?");
    words.refused = QStringLiteral("Принтер \"%1\" не принял задание: справка не напечатана.");
    words.sent = QStringLiteral(
        "Справка отправлена на печать. Подождите, когда документ выйдет из лотка принтера.");
    words.noPrinter =
        QStringLiteral("Принтер не установлен, справка не напечатана. Сохранить ее в файл PDF?");
    words.saveCaption = QStringLiteral("Сохранить справку");
    words.fileName = QStringLiteral("Справка Долгомер.pdf");
    words.saved = QStringLiteral("Справка сохранена в файл \"%1\".");
    return words;
}

ReportPrinter::ReportPrinter(Dialogs &dialogs, PrintWords words)
    : dialogs_(dialogs), words_(std::move(words)), makePrinter_(openDefaultPrinter) {}

// Draws on a printer or a PDF file; false when the device refused the job at
// its start or its end.
bool ReportPrinter::draw(QPagedPaintDevice &device, const QStringList &lines) const {
    if (drawer_) return drawer_(device);
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const QRect area = device.pageLayout().paintRectPixels(device.logicalDpiX());
    drawReportPage(painter, area.width(), area.height(), lines);
    return painter.end();
}

void ReportPrinter::print(const QStringList &lines) {
    if (!dialogs_.ask(words_.ask, QStringLiteral("Подтверждение печати"),
                      MessageBoxes::Icon::Question, MessageBoxes::Buttons::OkCancel))
        return;
    std::unique_ptr<PrinterJob> printer;
    bool printed = false;
    bool failed = true; // the printing module could not be loaded: reported
    dialogs_.guard([&] {
        BusyPointer busy;
        printer = makePrinter_ ? makePrinter_() : nullptr;
        if (printer) printed = draw(printer->device(), lines) && !printer->failed();
        failed = false;
    });
    if (failed) return;
    if (!printer) {
        offerPdf(lines);
        return;
    }
    if (!printed) {
        dialogs_.ask(words_.refused.arg(printer->printerName()), kPrintError,
                     MessageBoxes::Icon::Stop);
        return;
    }
    dialogs_.ask(words_.sent, kMessage, MessageBoxes::Icon::Information);
}

void ReportPrinter::offerPdf(const QStringList &lines) {
    if (!dialogs_.ask(words_.noPrinter, kPrintError, MessageBoxes::Icon::Stop,
                      MessageBoxes::Buttons::OkCancel))
        return;
    savePdf(lines);
}

// The printout's pages in a file the user names.
void ReportPrinter::savePdf(const QStringList &lines) {
    const QString path = dialogs_.saveFileName(
        words_.saveCaption, QDir::home().filePath(words_.fileName), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    QString failure;
    {
        BusyPointer busy;
        // Drawn in memory and saved whole: a failed write never leaves half a
        // file, nor replaces one the user had under that name.
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        bool drawn = false;
        {
            QPdfWriter pdf(&buffer);
            pdf.setResolution(600);
            pdf.setCreator(appTitle());
            drawn = draw(pdf, lines);
        }
        failure = drawn ? storage::saveFile(path, buffer.data())
                        : QStringLiteral("страница не нарисована");
    }
    const QString shownPath = QDir::toNativeSeparators(path);
    if (!failure.isEmpty()) {
        dialogs_.ask(QStringLiteral("Не удается записать файл \"%1\": %2.").arg(shownPath, failure),
                     kSaveError, MessageBoxes::Icon::Stop); // nothing was printed
        return;
    }
    dialogs_.ask(words_.saved.arg(shownPath), kMessage, MessageBoxes::Icon::Information);
}

} // namespace ui
