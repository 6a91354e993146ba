// Printing the report on one page.
#include "Unit1.h"

#include "printing.h"

#include <QApplication>
#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextEdit>

namespace {

const QString kPrintError = QStringLiteral("Ошибка печати");
const QString kMessage = QStringLiteral("Сообщение");

// The busy pointer for as long as the printer works, and back whatever happens.
class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

// Draws the page on a printer or a PDF file; false when the device refused
// the job at its start or its end.
bool printPage(QPagedPaintDevice &device, const QStringList &lines) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const QRect area = device.pageLayout().paintRectPixels(device.logicalDpiX());
    ui::DrawReportPage(painter, area.width(), area.height(), lines);
    return painter.end();
}

} // namespace

std::unique_ptr<QPrinter> defaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

void TForm1::Label12Click() {
    if (RichEdit1->document()->isEmpty()) return;
    if (!ask(QStringLiteral("Распечатать расчет на бумажный носитель?"),
             QStringLiteral("Подтверждение печати"), MessageBoxes::Icon::Question,
             MessageBoxes::Buttons::OkCancel))
        return;
    const QStringList lines = ui::DisplayLines(RichEdit1);
    std::unique_ptr<QPrinter> printer;
    bool printed = false;
    {
        BusyPointer busy;
        printer = makePrinter ? makePrinter() : nullptr;
        if (printer) {
            printer->setDocName(QString());
            printed = printPage(*printer, lines) && printer->printerState() != QPrinter::Error;
        }
    }
    if (!printer) {
        offerPdf(lines);
        return;
    }
    if (!printed) {
        ask(QStringLiteral("Принтер \"%1\" не принял задание: расчет не напечатан.")
                .arg(printer->printerName()),
            kPrintError, MessageBoxes::Icon::Stop, MessageBoxes::Buttons::Ok);
        return;
    }
    ask(QStringLiteral("Расчет отправлен на печать. Подождите, когда документ выйдет из лотка "
                       "принтера."),
        kMessage, MessageBoxes::Icon::Information, MessageBoxes::Buttons::Ok);
}

void TForm1::offerPdf(const QStringList &lines) {
    if (!ask(QStringLiteral("Принтер не установлен, расчет не напечатан. Сохранить его в файл "
                            "PDF?"),
             kPrintError, MessageBoxes::Icon::Stop, MessageBoxes::Buttons::OkCancel))
        return;
    const QString path = boxes_->saveFileName(this, QStringLiteral("Сохранить расчет"),
                                              QDir::home().filePath(QStringLiteral("Расчет.pdf")),
                                              QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    bool saved = false;
    {
        BusyPointer busy;
        QPdfWriter pdf(path);
        pdf.setResolution(600);
        pdf.setCreator(AppTitle());
        saved = printPage(pdf, lines);
    }
    if (!saved) {
        ask(QStringLiteral("Не удается записать файл \"%1\".").arg(QDir::toNativeSeparators(path)),
            kPrintError, MessageBoxes::Icon::Stop, MessageBoxes::Buttons::Ok);
        return;
    }
    ask(QStringLiteral("Расчет сохранен в файл \"%1\".").arg(QDir::toNativeSeparators(path)),
        kMessage, MessageBoxes::Icon::Information, MessageBoxes::Buttons::Ok);
}

void TForm1::N10Click() {
    Label12Click();
}
