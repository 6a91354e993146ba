// SPDX-License-Identifier: GPL-3.0-or-later
// The periods dialog as the place the claim is made: its own debt, period
// and court in step with the window, payments pasted from a spreadsheet or
// a bank statement; the papers made of it.
#include "calc/claimfields.h"
#include "patience.h"
#include "storage/claimfile.h"
#include "ui/guide/help.h"
#include "ui/periods/papermaker.h"
#include "ui/periods/periodentries.h"
#include "ui/periods/periodsdialog.h"
#include "ui/periods/reportmodel.h"
#include "windowtest.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QUrl>

namespace {

// The desktop's browser, as a test sees it: the address it was given.
class Browser : public QObject {
    Q_OBJECT
public:
    QUrl opened;
    Q_INVOKABLE void open(const QUrl &url) { opened = url; }
};

} // namespace

class TestWorkspace : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.start(); }
    void cleanup() { env_.stop(); }
    void termsInStepWithTheWindow();
    void countsWhileTheUserTypes();
    void userWindows();
    void pastedPayments();
    void recentAndDroppedFiles();
    void guideInTheBrowser();

    void papersFromTheDialog();

private:
    WindowEnv env_;
};

// The debt, the period and the court are the dialog's fields too: what is
// changed there is counted at once and goes back to the window.
void TestWorkspace::termsInStepWithTheWindow() {
    Window &f = env_.open();
    f.enterClaimOf2022();
    ui::PeriodsDialog *d = f.openPeriods();
    auto *debt = named<ui::NumberField>(d, "termsDebt");
    QCOMPARE(debt->text(), QStringLiteral("100000,00"));
    QCOMPARE(named<ui::DatePicker>(d, "termsEnd")->date(), QDate(2022, 10, 31));
    debt->setText(QStringLiteral("50000"));
    named<ui::DatePicker>(d, "termsEnd")->setDate(QDate(2022, 3, 31));
    named<QComboBox>(d, "termsCourt")->setCurrentIndex(0); // арбитражный суд
    QCOMPARE(d->reportLines().value(1),
             QStringLiteral(
                 "с 01.03.2022 по 31.03.2022: 50000,00 * 31 дн. * 8,75% / 365 = 371,58 руб."));
    QCOMPARE(f.debtField->text(), QStringLiteral("50000,00"));
    QCOMPARE(f.periodEnd->date(), QDate(2022, 3, 31));
    QVERIFY(!f.generalCourt->isChecked());
    // Opened again, it shows the window's terms as they are now.
    d->reject();
    f.debtField->setText(QStringLiteral("70000"));
    f.openPeriods();
    QCOMPARE(debt->text(), QStringLiteral("70000,00"));
}

// A claim of thousands of payments is counted off the window's thread: the
// report shown stays, marked as older than the claim, till the count of the
// newest claim comes; counts the user overtook are never shown. The report
// spans its rows as they come in sight.
void TestWorkspace::countsWhileTheUserTypes() {
    Window &f = env_.open();
    f.enterClaimOf2022();
    ui::PeriodsDialog *d = f.openPeriods();
    calc::PeriodInput claim = d->currentClaim();
    // One day's payments are one portion: 1500 days of them.
    claim.end = QDate(2022, 3, 1).addDays(1500);
    for (int i = 0; i < 2000; ++i)
        claim.payments.append({QDate(2022, 3, 1).addDays(i % 1500), QStringLiteral("1,00")});
    d->showSaved(claim);
    const QStringList before = d->reportLines();
    auto *filed = named<ui::DatePicker>(d, "filingDate");
    auto *outOfDate = named<QLabel>(d, "periodsOutOfDate");
    for (int day = 1; day <= 3; ++day) {
        filed->setDate(QDate(2026, 12, day));
        QVERIFY(d->isCounting() && !outOfDate->isHidden());
    }
    QTRY_VERIFY(!d->isCounting());
    QVERIFY(outOfDate->isHidden());
    claim.filed = QDate(2026, 12, 3);
    const QStringList after = calc::calculatePeriods(claim).lines;
    QCOMPARE(d->reportLines(), after);
    QVERIFY(after != before);

    auto *view = named<QTableView>(d, "periodsReport");
    const auto *model = static_cast<const ui::ReportModel *>(view->model());
    QList<int> spanRows; // a payment's row spans the columns of the debt's
    for (int r = 0; r < model->rowCount(); ++r)
        if (!model->spansOf(r).isEmpty()) spanRows.append(r);
    QVERIFY(spanRows.size() > 1000);
    const auto spanned = [&](int row) {
        return view->columnSpan(row, model->spansOf(row).first().first) > 1;
    };
    QVERIFY(spanned(spanRows.first()) && !spanned(spanRows.last())); // out of sight
    view->scrollToBottom();
    QVERIFY(spanned(spanRows.last()) && spanned(spanRows.value(spanRows.size() - 10)));
}

// Days the user says accrue nothing, typed as --window takes them and said
// in the report; text that is none is refused, the field keeping its windows.
void TestWorkspace::userWindows() {
    Window &f = env_.open();
    f.enterClaimOf2022();
    ui::PeriodsDialog *d = f.openPeriods();
    auto *field = named<QLineEdit>(d, "userWindows");
    field->setText(QStringLiteral("2022-03-01-2022-03-10"));
    emit field->editingFinished();
    QCOMPARE(field->text(), QStringLiteral("01.03.2022-10.03.2022"));
    QCOMPARE(d->reportLines().value(1),
             QStringLiteral("с 01.03.2022 по 10.03.2022: без начисления (указано пользователем)"));
    field->setText(QStringLiteral("10.03.2022"));
    emit field->editingFinished();
    QCOMPARE(field->text(), QStringLiteral("01.03.2022-10.03.2022"));
    QVERIFY(env_.boxes.shown.last().text.contains(QStringLiteral("нужна запись вида")));
    QCOMPARE(d->currentClaim().windows.size(), 1);
    // "и далее" is left out when its box is off.
    const auto goesOn = [d] {
        return d->reportLines().filter(QStringLiteral("и далее с 01.11.2022")).size();
    };
    QCOMPARE(goesOn(), 1);
    named<QCheckBox>(d, "continuing")->setChecked(false);
    QCOMPARE(goesOn(), 0);
}

// Rows copied from a spreadsheet or a statement become payments; those the
// grid refuses are named in one message; past the entry limit nothing is added.
void TestWorkspace::pastedPayments() {
    Window &f = env_.open();
    f.enterClaimOf2022();
    ui::PeriodsDialog *d = f.openPeriods();
    auto *grid = named<QTableWidget>(d, "entriesGrid");
    QGuiApplication::clipboard()->setText(
        QStringLiteral("Дата\tСумма\n"
                       "10.06.2022\t5\u00a0000,00\n"
                       "2022-07-01;1000\n"
                       "\n"
                       "15.08.2022  Оплата по счету 12  2 500,50\n"
                       "01.01.2023\t100\n"));
    QApplication::setActiveWindow(d);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(grid->rowCount(), 3);
    QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("2500,50"));
    const QString told = env_.boxes.shown.last().text;
    QVERIFY2(told.startsWith(QStringLiteral("Вставлено оплат: 3. Не вставлены:\nстрока 1: "
                                            "\"Дата\" — не дата\nстрока 6: ")),
             qPrintable(told));
    QVERIFY(
        d->reportLines().join(u'\n').contains(QStringLiteral("оплата 15.08.2022: 2500,50 руб.")));
    // More than a claim takes: nothing of it is added.
    QString many;
    for (int i = 0; i < calc::kMaxEntries; ++i)
        many += QStringLiteral("10.06.2022\t1\n");
    named<ui::PeriodEntries>(d, "periodEntries")->pasteRows(many);
    QVERIFY(env_.boxes.shown.last().text.startsWith(QStringLiteral("Ничего не вставлено: ")));
    QCOMPARE(grid->rowCount(), 3);
}

// A claim saved is first among "Последние файлы" after a restart; one chosen
// there, or dropped on the window, opens; one that has gone leaves the list
// with a word.
void TestWorkspace::recentAndDroppedFiles() {
    Window &f = env_.open();
    f.enterClaimOf2022();
    ui::PeriodsDialog *d = f.openPeriods();
    env_.boxes.savePath = env_.path(QStringLiteral("Иск"));
    QVERIFY(d->saveClaim());
    // Saving says so in the dialog's status line, with no box to close.
    QCOMPARE(named<QLabel>(d, "periodsStatus")->text(), QStringLiteral("Сохранено: Иск.dolgomer"));
    QVERIFY(env_.boxes.shown.isEmpty());
    env_.boxes.savePath = env_.path(QStringLiteral("Другой"));
    QVERIFY(d->saveClaim());
    d->reject();
    Window &again = env_.open(); // the program started anew
    auto *recent = named<QMenu>(&again.window, "recentClaims");
    emit recent->aboutToShow();
    QStringList names;
    for (QAction *a : recent->actions())
        names << a->text();
    QCOMPARE(names, (QStringList{"Другой.dolgomer", "Иск.dolgomer"}));
    recent->actions().at(1)->trigger();
    QCOMPARE(again.periods()->currentClaim().debt, QStringLiteral("100000,00"));
    again.periods()->reject();
    // A file dropped on the window.
    again.debtField->setText(QStringLiteral("5"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(env_.path(QStringLiteral("Иск.dolgomer")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&again.window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&again.window, &drop);
    QCOMPARE(again.debtField->text(), QStringLiteral("100000,00"));
    again.periods()->reject();
    // A file that has gone.
    QVERIFY(QFile::remove(env_.path(QStringLiteral("Другой.dolgomer"))));
    emit recent->aboutToShow();
    QCOMPARE(recent->actions().at(1)->text(), QStringLiteral("Другой.dolgomer"));
    recent->actions().at(1)->trigger();
    QVERIFY(env_.boxes.shown.value(0).text.contains(QStringLiteral("больше нет")));
    emit recent->aboutToShow();
    QCOMPARE(recent->actions().size(), 1);
}

// "Открыть в браузере" gives the browser the guide the program carries, to
// print or keep; Ctrl+P prints it whole (here, with no printer, into a PDF).
void TestWorkspace::guideInTheBrowser() {
    Window &f = env_.open();
    ui::HelpWindow *help =
        ui::openHelp(&f.window, ui::Dialogs(&f.window, &env_.boxes), QStringLiteral("start"));
    Browser browser;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &browser, "open");
    named<QPushButton>(help, "helpInBrowser")->click();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QVERIFY(browser.opened.isLocalFile());
    QFile shown(browser.opened.toLocalFile()), carried(QStringLiteral(":/guide/guide.html"));
    QVERIFY(shown.open(QIODevice::ReadOnly) && carried.open(QIODevice::ReadOnly));
    QCOMPARE(shown.readAll(), carried.readAll());
    QVERIFY(named<QLabel>(help, "helpNotFound")->isHidden());

    help->printer().setPrinterFactory([] { return std::unique_ptr<ui::PrinterJob>(); });
    env_.boxes.answers << true << true;
    env_.boxes.savePath = QDir::home().filePath(QStringLiteral("guide.pdf"));
    QApplication::setActiveWindow(help);
    QTest::keyClick(named<QWidget>(help, "helpText"), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(env_.boxes.suggested.section(u'/', -1), QStringLiteral("Справка Долгомер.pdf"));
    QFile pdf(env_.boxes.savePath);
    QVERIFY(pdf.open(QIODevice::ReadOnly) && pdf.read(5) == "%PDF-");
    QVERIFY(pdf.size() > 50'000); // every page of it
    QStringList told;
    for (const ScriptedBoxes::Box &box : env_.boxes.shown)
        told << box.text.section(u' ', 0, 1);
    QCOMPARE(told, QStringList({"Распечатать справку", "Принтер не", "Справка сохранена"}));
}

// The paragraphs' text of a .docx, one string.
static QString docxText(const QString &path) {
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {"-p", path, "word/document.xml"});
    unzip.waitForFinished(kPatienceMs);
    return QString::fromUtf8(unzip.readAllStandardOutput())
        .remove(QRegularExpression(QStringLiteral("<[^>]*>")))
        .replace(QChar(0x00a0), u' ');
}

// "Документ...": a paper without its parties opens "Стороны"; filled in,
// they reach the paper and the saved claim; a court order above the law's
// limit offers the statement of claim.
void TestWorkspace::papersFromTheDialog() {
    Window &f = env_.open();
    f.enterClaimOf2022();
    ui::PeriodsDialog *d = f.openPeriods();
    auto *papers = named<ui::PaperMaker>(d, "makePaper");
    // Nothing to count: nothing to make, and told so.
    auto *debt = named<ui::NumberField>(d, "termsDebt");
    debt->setText(QStringLiteral("0"));
    QVERIFY(!papers->make(documents::PaperKind::CourtOrder));
    QVERIFY(env_.boxes.shown.value(0).text.contains(QStringLiteral("пока расчет не сделан")));
    env_.boxes.shown.clear();
    debt->setText(QStringLiteral("100000"));
    QVERIFY(!papers->make(documents::PaperKind::CourtOrder));
    QVERIFY(env_.boxes.shown.value(0).text.contains(QStringLiteral("«Стороны»")));
    QVERIFY(named<QWidget>(d, "partiesForm")->isVisible());
    const auto type = [d](const char *field, const QString &text) {
        auto *edit = named<QLineEdit>(d, field);
        edit->setText(text);
        emit edit->editingFinished();
    };
    type("ground", QString(1001, u'я')); // told, and the field goes back
    QCOMPARE(env_.boxes.shown.size(), 2);
    QVERIFY(env_.boxes.shown[1].text.contains(QStringLiteral("длиннее 1000 знаков")));
    QVERIFY(named<QLineEdit>(d, "ground")->text().isEmpty());
    type("claimant", QStringLiteral("ООО Ромашка"));
    type("debtor", QStringLiteral("Иванов Иван Иванович"));
    type("debtor_address", QStringLiteral("г. Тула, ул. Мира, д. 2"));
    type("court_name", QStringLiteral("Мировому судье судебного участка № 5"));
    named<ui::DatePicker>(d, "filingDate")->setDate(QDate(2025, 2, 1)); // the limits' time
    env_.boxes.savePath = env_.path(QStringLiteral("order.docx"));
    QVERIFY(papers->make(documents::PaperKind::CourtOrder));
    QVERIFY2(env_.boxes.suggested.contains(QStringLiteral("Заявление о выдаче судебного приказа")),
             qPrintable(env_.boxes.suggested));
    const QString order = docxText(env_.boxes.savePath);
    for (const char *words : {"о выдаче судебного приказа", "Должник: Иванов Иван Иванович",
                              "Адрес: г. Тула, ул. Мира, д. 2", "Расчет по периодам"})
        QVERIFY2(order.contains(QString::fromUtf8(words)), words);
    QCOMPARE(storage::decodeClaim(storage::encodeClaim(d->currentClaim())).parties.debtor,
             QStringLiteral("Иванов Иван Иванович"));

    // Above 500 000 in a general court: the statement instead, when the user agrees.
    d->reject();
    f.debtField->setText(QStringLiteral("600000"));
    d = f.openPeriods();
    named<ui::DatePicker>(d, "filingDate")->setDate(QDate(2025, 2, 1));
    env_.boxes.shown.clear();
    env_.boxes.answers = {true};
    env_.boxes.savePath = env_.path(QStringLiteral("statement.docx"));
    QVERIFY(papers->make(documents::PaperKind::CourtOrder));
    QVERIFY(
        env_.boxes.shown.value(0).text.contains(QStringLiteral("Составить исковое заявление?")));
    QVERIFY(docxText(env_.boxes.savePath).contains(QStringLiteral("ИСКОВОЕ ЗАЯВЛЕНИЕ")));
}

QTEST_MAIN(TestWorkspace)
#include "tst_workspace.moc"
