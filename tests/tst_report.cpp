// SPDX-License-Identifier: GPL-3.0-or-later
#include "patience.h"
#include "storagetest.h"
#include "ui/print/printing.h"
#include "ui/window/application.h"
#include "windowtest.h"

#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTextEdit>

using ui::PrinterJob;

namespace {

// A page-sized image at 150 dpi stands in for the printer.
QImage pageImage() {
    QImage img(1240, 1754, QImage::Format_RGB32);
    img.setDotsPerMeterX(5906);
    img.setDotsPerMeterY(5906);
    img.fill(Qt::white);
    return img;
}

bool darkAt(const QImage &img, int x, int y) {
    return qGray(img.pixel(x, y)) < 128;
}

// A printer that writes what it prints to a PDF file.
std::unique_ptr<PrinterJob> pdfPrinter(const QString &path) {
    auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    p->setOutputFileName(path);
    return ui::printerJob(std::move(p));
}

} // namespace

class TestReport : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.start(); }
    void cleanup() {
        QVERIFY(!QApplication::overrideCursor()); // the busy pointer never stays
        env_.stop();
    }
    void pageLayout();
    void longReportStaysOnOnePage();
    void displayedLines();
    void emptyBoxPrintsNothing();
    void printOutcomes_data();
    void printOutcomes();
    void noPrinterOffersPdf();
    void savePdfFromTheMenu();
    void copyAndSelectAll();
    void russianTexts();

private:
    Window &calculated() {
        Window &f = env_.open();
        f.debtField->setText(QStringLiteral("100000"));
        f.periodStart->setDate(QDate(2010, 1, 1));
        f.periodEnd->setDate(QDate(2010, 1, 30));
        f.generalCourt->setChecked(true);
        f.window.calculate();
        return f;
    }
    WindowEnv env_;
};

void TestReport::pageLayout() {
    QImage img = pageImage();
    const QStringList lines = {QStringLiteral("первая строка"), QStringLiteral("вторая"),
                               QStringLiteral("третья")};
    QPainter p(&img);
    const ui::ReportPage page = ui::layoutReportPage(p, img.width(), img.height(), lines);
    const int h = QFontMetrics(ui::reportFont(false), &img).height();
    const int boldWidth =
        QFontMetrics(ui::reportFont(true), &img).horizontalAdvance(ui::kReportTitle);
    QCOMPARE(page.lineHeight, h);
    QCOMPARE(page.margin, img.width() / 15);
    QCOMPARE(page.titleAt, QPoint((img.width() - boldWidth) / 2, h));
    QCOMPARE(page.ruleFrom, QPoint(page.margin, 2 * h));
    QCOMPARE(page.ruleTo, QPoint(img.width() - page.margin, 2 * h));
    QCOMPARE(page.linesAt.size(), 3);
    for (int k = 0; k < 3; ++k)
        QCOMPARE(page.linesAt[k], QPoint(page.margin, (4 + k) * h));

    ui::drawReportPage(p, img.width(), img.height(), lines);
    p.end();
    // The rule runs from margin to margin, and nothing is drawn beside it.
    const int ruleY = 2 * h;
    QVERIFY(darkAt(img, page.margin + 1, ruleY) &&
            darkAt(img, img.width() - page.margin - 1, ruleY));
    QVERIFY(!darkAt(img, page.margin - 3, ruleY) &&
            !darkAt(img, img.width() - page.margin + 3, ruleY));
    // The title is ink between h and 2h, the first line between 4h and 5h.
    auto inkInBand = [&](int top, int bottom, int left, int right) {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (darkAt(img, x, y)) return true;
        return false;
    };
    QVERIFY(inkInBand(h, 2 * h - 1, page.titleAt.x(), page.titleAt.x() + boldWidth));
    QVERIFY(!inkInBand(h, 2 * h - 1, 0, page.titleAt.x() - 2));
    QVERIFY(!inkInBand(2 * h + 2, 4 * h, 0, img.width()));
    QVERIFY(inkInBand(4 * h, 5 * h, page.margin, page.margin + 200));
    QVERIFY(!inkInBand(4 * h, 7 * h, 0, page.margin - 1));
}

void TestReport::longReportStaysOnOnePage() {
    QImage img = pageImage();
    QPainter p(&img);
    const QStringList lines(500, QStringLiteral("строка"));
    const ui::ReportPage page = ui::layoutReportPage(p, img.width(), img.height(), lines);
    QVERIFY(page.linesAt.size() < 500 && page.linesAt.size() > 30);
    QVERIFY(page.linesAt.last().y() < img.height());
    QVERIFY(page.linesAt.last().y() + 2 * page.lineHeight >= img.height());
}

void TestReport::displayedLines() {
    Window &f = calculated();
    const QStringList shown = ui::displayLines(f.reportBox);
    QVERIFY(shown.size() >= 6);
    QCOMPARE(shown.join(QString()), f.reportBox->toPlainText().remove(u'\n'));
    // A line the box wraps is printed as its pieces.
    const QString longLine = QStringLiteral("Сумма процентов: ") + QString(30, u'9') +
                             QStringLiteral(" * 30 * 8,75 / 36000 = ") + QString(40, u'7');
    f.reportBox->setPlainText(longLine + QStringLiteral("\nИТОГО\n"));
    const QStringList pieces = ui::displayLines(f.reportBox);
    QVERIFY(pieces.size() >= 3);
    QCOMPARE(pieces.last(), QStringLiteral("ИТОГО")); // the empty last line is not counted
    QCOMPARE(pieces.mid(0, pieces.size() - 1).join(QString()), longLine);
}

void TestReport::emptyBoxPrintsNothing() {
    Window &f = env_.open();
    int printers = 0;
    f.report->setPrinterFactory([&printers] {
        ++printers;
        return std::unique_ptr<PrinterJob>();
    });
    QTest::mouseClick(f.printLink, Qt::LeftButton);
    named<QAction>(&f.window, "printReport")->trigger();
    QVERIFY(env_.boxes.shown.isEmpty());
    QCOMPARE(printers, 0);
}

// Every way a print ends is told in a box after the question, and only a
// print the printer took says it was sent.
void TestReport::printOutcomes_data() {
    QTest::addColumn<bool>("byKeys");     // Ctrl+P, or a click on "Печать"
    QTest::addColumn<int>("printer");     // 0 none, 1 a PDF file, 2 a file it cannot write
    QTest::addColumn<QString>("answers"); // y/n for each box, then yes
    QTest::addColumn<QStringList>("captions");
    const QString question = QStringLiteral("Подтверждение печати");
    QTest::newRow("cancelled") << false << 1 << "n" << QStringList{question};
    QTest::newRow("\"Печать\"") << false << 1 << "" << QStringList{question, "Сообщение"};
    QTest::newRow("Ctrl+P") << true << 1 << "" << QStringList{question, "Сообщение"};
    QTest::newRow("the printer refuses the job")
        << false << 2 << "" << QStringList{question, "Ошибка печати"};
    QTest::newRow("no printer, no PDF instead")
        << false << 0 << "yn" << QStringList{question, "Ошибка печати"};
}

void TestReport::printOutcomes() {
    QFETCH(bool, byKeys);
    QFETCH(int, printer);
    QFETCH(QString, answers);
    QFETCH(QStringList, captions);
    Window &f = calculated();
    const QString pdf = env_.path(printer == 2 ? QStringLiteral("no/such/folder/printed.pdf")
                                               : QStringLiteral("printed.pdf"));
    int printers = 0;
    f.report->setPrinterFactory([&] {
        ++printers;
        return printer == 0 ? std::unique_ptr<PrinterJob>() : pdfPrinter(pdf);
    });
    for (QChar a : answers)
        env_.boxes.answers << (a == u'y');
    if (byKeys)
        QTest::keyClick(f.debtField, Qt::Key_P, Qt::ControlModifier);
    else
        QTest::mouseClick(f.printLink, Qt::LeftButton);
    QStringList shown;
    for (const auto &box : env_.boxes.shown)
        shown << box.caption;
    QCOMPARE(shown, captions);
    QCOMPARE(env_.boxes.shown[0].text, QStringLiteral("Распечатать расчет на бумажный носитель?"));
    QCOMPARE(env_.boxes.shown[0].icon, MessageBoxes::Icon::Question);
    QCOMPARE(printers, captions.size() == 1 ? 0 : 1);
    if (captions.size() == 1) return;
    const auto &told = env_.boxes.shown[1];
    if (told.caption == QStringLiteral("Сообщение")) {
        QCOMPARE(told.text, QStringLiteral("Расчет отправлен на печать. Подождите, когда документ "
                                           "выйдет из лотка принтера."));
        QCOMPARE(told.icon, MessageBoxes::Icon::Information);
        QVERIFY(fileBytes(pdf).startsWith("%PDF"));
    } else {
        QCOMPARE(told.icon, MessageBoxes::Icon::Stop);
        QCOMPARE(told.buttons,
                 printer == 0 ? MessageBoxes::Buttons::OkCancel : MessageBoxes::Buttons::Ok);
    }
}

void TestReport::noPrinterOffersPdf() {
    Window &f = calculated();
    f.report->setPrinterFactory([] { return std::unique_ptr<PrinterJob>(); });
    env_.boxes.savePath = env_.path(QStringLiteral("Расчет.pdf"));
    f.report->print();
    QCOMPARE(env_.boxes.shown.size(), 3);
    QCOMPARE(env_.boxes.shown[2].caption, QStringLiteral("Сообщение"));
    QVERIFY(env_.boxes.shown[2].text.contains(env_.boxes.savePath));
    const QByteArray bytes = fileBytes(env_.boxes.savePath);
    QVERIFY(bytes.startsWith("%PDF"));
    QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                 bytes.count("/Type /Page>") + bytes.count("/Type /Page "),
             1);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                             env_.boxes.savePath, QStringLiteral("-")});
    if (!text.waitForFinished(kPatienceMs) || text.exitCode() != 0)
        QSKIP("pdftotext is not available");
    const QString printedText = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(printedText.contains(QStringLiteral("ДОЛГОМЕР")), qPrintable(printedText));
    QVERIFY(printedText.contains(QStringLiteral("ИТОГО: 100000,00 + 729,17 = 100729,17 руб.")));
    QVERIFY(printedText.contains(QStringLiteral("Государственная пошлина: 3214,58 руб.")));
}

void TestReport::copyAndSelectAll() {
    Window &f = calculated();
    named<QAction>(&f.window, "selectAllReport")->trigger();
    QCOMPARE(f.reportBox->textCursor().selectedText().size(), f.reportBox->toPlainText().size());
    named<QAction>(&f.window, "copyReport")->trigger();
    QCOMPARE(QApplication::clipboard()->text(), f.reportBox->toPlainText());
    QVERIFY(QApplication::clipboard()->text().startsWith(
        QStringLiteral("Период просрочки: c 01.01.2010")));
}

// "Сохранить в PDF..." comes after "Печать" and writes the printout's page
// through the same save dialog as the no-printer fallback.
void TestReport::savePdfFromTheMenu() {
    Window &f = calculated();
    QStringList menu;
    for (const QAction *a :
         qobject_cast<QWidget *>(named<QAction>(&f.window, "printReport")->parent())->actions())
        menu << (a->isSeparator() ? QStringLiteral("-") : a->text());
    QCOMPARE(menu, (QStringList{"Копировать", "Выделить все", "-", "Печать", "Сохранить в PDF...",
                                "Пересчитать", "Расчет по периодам...", "Последние файлы"}));
    named<QAction>(&f.window, "saveReportPdf")->trigger(); // the dialog cancelled: nothing happens
    QVERIFY(env_.boxes.shown.isEmpty());
    env_.boxes.savePath = env_.path(QStringLiteral("Расчет.pdf"));
    named<QAction>(&f.window, "saveReportPdf")->trigger();
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Сообщение"));
    QVERIFY(env_.boxes.shown[0].text.contains(env_.boxes.savePath));
    QVERIFY(fileBytes(env_.boxes.savePath).startsWith("%PDF"));
    // A folder that is not there: told, no success message.
    env_.boxes.shown.clear();
    env_.boxes.savePath = env_.path(QStringLiteral("нет/Расчет.pdf"));
    named<QAction>(&f.window, "saveReportPdf")->trigger();
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка сохранения"));
    // A full disk: told, and the file saved before stays whole.
    env_.boxes.shown.clear();
    env_.boxes.savePath = env_.path(QStringLiteral("Расчет.pdf"));
    const QByteArray saved = fileBytes(env_.boxes.savePath);
    {
        FileSizeLimit limit(256);
        named<QAction>(&f.window, "saveReportPdf")->trigger();
    }
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка сохранения"));
    QCOMPARE(fileBytes(env_.boxes.savePath), saved);
}

// Qt's own texts in Russian under a desktop of any locale.
void TestReport::russianTexts() {
    qputenv("LC_ALL", "C.UTF-8");
    qputenv("LANG", "C.UTF-8");
    QVERIFY(ui::useRussian(*QCoreApplication::instance()));
    QCOMPARE(QLocale().language(), QLocale::Russian);
    const QString undo = QCoreApplication::translate("QLineEdit", "&Undo");
    QVERIFY2(undo != QStringLiteral("&Undo") && undo.contains(QRegularExpression("[а-я]")),
             qPrintable(undo));
    Window &f = env_.open();
    std::unique_ptr<QMenu> menu(f.debtField->createStandardContextMenu());
    QVERIFY(menu->actions().first()->text().contains(QRegularExpression("[А-Яа-я]")));
    // The number field still finds its paste item in Russian.
    const QAction *paste = ui::NumberField::pasteAction(menu.get());
    QVERIFY(paste && paste->text().contains(QRegularExpression("[А-Яа-я]")));
}

QTEST_MAIN(TestReport)
#include "tst_report.moc"
