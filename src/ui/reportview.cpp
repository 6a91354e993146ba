#include "reportview.h"

#include "dialogs.h"
#include "hovericon.h"
#include "linklabel.h"
#include "lookandfeel.h"
#include "printing.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextEdit>
#include <cmath>

namespace ui {
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
    drawReportPage(painter, area.width(), area.height(), lines);
    return painter.end();
}

std::unique_ptr<QPrinter> defaultPrinter() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return nullptr;
    return std::make_unique<QPrinter>(info, QPrinter::HighResolution);
}

} // namespace

ReportView::ReportView(QWidget *window, Dialogs &dialogs)
    : QObject(window), dialogs_(dialogs), makePrinter_(defaultPrinter) {
    box_ = new QTextEdit(window);
    box_->setObjectName(QStringLiteral("reportBox"));
    box_->setGeometry(8, 328, 465, 117);
    box_->setReadOnly(true);
    box_->setAcceptRichText(false);
    box_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    // The print icon stands beside the box, halfway down it (halves round to
    // even, as the layout has always been computed); the link beside the icon.
    const int top =
        int(std::nearbyint(box_->height() / 2.0)) + box_->y() - int(std::nearbyint(32 / 2.0));
    printIcon_ =
        new HoverIcon(QStringLiteral(":/pictures/print.png"), {32, 32},
                      QStringLiteral(":/pictures/print-lit.png"), {32, 32}, {481, top}, window);
    printIcon_->setObjectName(QStringLiteral("printIcon"));
    printLink_ = new LinkLabel(QStringLiteral("Печать"), window, {481 + 32 + 6, top + 6, 0, 0},
                               arialFont(16, true), kMaroon, QStringLiteral("Распечатать расчет"));
    printLink_->setObjectName(QStringLiteral("printLink"));
    printLink_->setHoverFont(true, true);
    printLink_->setIcon(printIcon_);
    printIcon_->setLink(printLink_);
    printIcon_->setToolTip(printLink_->toolTip());

    menu_ = new QMenu(window);
    copyAction_ = menu_->addAction(QStringLiteral("Копировать"));
    selectAllAction_ = menu_->addAction(QStringLiteral("Выделить все"));
    menu_->addSeparator();
    printAction_ = menu_->addAction(QStringLiteral("Печать"));
    savePdfAction_ = menu_->addAction(QStringLiteral("Сохранить в PDF..."));
    recalculateAction_ = menu_->addAction(QStringLiteral("Пересчитать"));
    box_->setContextMenuPolicy(Qt::CustomContextMenu);

    connect(box_, &QWidget::customContextMenuRequested, this, &ReportView::showMenu);
    connect(copyAction_, &QAction::triggered, box_, &QTextEdit::copy);
    connect(selectAllAction_, &QAction::triggered, box_, &QTextEdit::selectAll);
    connect(printAction_, &QAction::triggered, this, &ReportView::print);
    connect(savePdfAction_, &QAction::triggered, this, &ReportView::savePdf);
    connect(recalculateAction_, &QAction::triggered, this, &ReportView::recalculateRequested);
    connect(printLink_, &LinkLabel::clicked, this, &ReportView::print);
}

void ReportView::clear() {
    box_->clear();
}

void ReportView::setLines(const QStringList &lines) {
    box_->setPlainText(lines.join(u'\n'));
}

QStringList ReportView::shownLines() const {
    return displayLines(box_);
}

int ReportView::bottom() const {
    return box_->y() + box_->height();
}

void ReportView::showMenu(const QPoint &pos) {
    menu_->popup(box_->mapToGlobal(pos));
}

void ReportView::print() {
    if (box_->document()->isEmpty()) return;
    if (!dialogs_.ask(QStringLiteral("Распечатать расчет на бумажный носитель?"),
                      QStringLiteral("Подтверждение печати"), MessageBoxes::Icon::Question,
                      MessageBoxes::Buttons::OkCancel))
        return;
    const QStringList lines = shownLines();
    std::unique_ptr<QPrinter> printer;
    bool printed = false;
    {
        BusyPointer busy;
        printer = makePrinter_ ? makePrinter_() : nullptr;
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
        dialogs_.ask(QStringLiteral("Принтер \"%1\" не принял задание: расчет не напечатан.")
                         .arg(printer->printerName()),
                     kPrintError, MessageBoxes::Icon::Stop);
        return;
    }
    dialogs_.ask(QStringLiteral("Расчет отправлен на печать. Подождите, когда документ выйдет из "
                                "лотка принтера."),
                 kMessage, MessageBoxes::Icon::Information);
}

void ReportView::offerPdf(const QStringList &lines) {
    if (!dialogs_.ask(QStringLiteral("Принтер не установлен, расчет не напечатан. Сохранить его в "
                                     "файл PDF?"),
                      kPrintError, MessageBoxes::Icon::Stop, MessageBoxes::Buttons::OkCancel))
        return;
    writePdf(lines);
}

void ReportView::savePdf() {
    if (box_->document()->isEmpty()) return;
    writePdf(shownLines());
}

// The printout's page in a file the user names.
void ReportView::writePdf(const QStringList &lines) {
    const QString path = dialogs_.saveFileName(QStringLiteral("Сохранить расчет"),
                                               QDir::home().filePath(QStringLiteral("Расчет.pdf")),
                                               QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    bool saved = false;
    {
        BusyPointer busy;
        QPdfWriter pdf(path);
        pdf.setResolution(600);
        pdf.setCreator(appTitle());
        saved = printPage(pdf, lines);
    }
    const QString shownPath = QDir::toNativeSeparators(path);
    if (!saved) {
        dialogs_.ask(QStringLiteral("Не удается записать файл \"%1\".").arg(shownPath), kPrintError,
                     MessageBoxes::Icon::Stop);
        return;
    }
    dialogs_.ask(QStringLiteral("Расчет сохранен в файл \"%1\".").arg(shownPath), kMessage,
                 MessageBoxes::Icon::Information);
}

} // namespace ui
