// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/claimfields.h"
#include "patience.h"
#include "storage/claimfile.h"
#include "ui/periods/periodentries.h"
#include "ui/periods/periodsdialog.h"
#include "windowtest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>

namespace {

// The report's text lines (the box shows them as a table), and the box's text.
QStringList reportOf(ui::PeriodsDialog *d) {
    return d->reportLines();
}
QString shownOf(ui::PeriodsDialog *d) {
    return named<QLabel>(d, "periodsHeading")->text() + u'\n' + reportOf(d).join(u'\n') + u'\n' +
           named<QLabel>(d, "periodsTotals")->text();
}

} // namespace

class TestPeriodsDialog : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.start(); }
    void cleanup() { env_.stop(); }
    void countsTheWindowsClaim();
    void payments();
    void manyPagesInPdf();
    void filingDateAndNotes();
    void countsAndIncreases();
    void claimSavedAndOpened();

private:
    WindowEnv env_;
};

void TestPeriodsDialog::countsTheWindowsClaim() {
    Window &f = env_.open();
    f.enterClaimOf2022();
    ui::PeriodsDialog *d = f.openPeriods();
    QVERIFY(d && d->isVisible());
    QCOMPARE(d->windowTitle(), QStringLiteral("Расчет по периодам"));
    const QStringList expected = {
        "Расчет по периодам (ст. 395 ГК РФ): с 01.03.2022 по 31.10.2022 = 245 дн.",
        "с 01.03.2022 по 31.03.2022: 100000,00 * 31 дн. * 8,75% / 365 = 743,15 руб.",
        "с 01.04.2022 по 01.10.2022: мораторий, проценты не начисляются",
        "с 02.10.2022 по 31.10.2022: 100000,00 * 30 дн. * 8,75% / 365 = 719,18 руб.",
        "Сумма процентов: 1462,33 руб.",
        "ИТОГО: 100000,00 + 1462,33 = 101462,33 руб.",
        "и далее с 01.11.2022 по день фактической оплаты долга — проценты по ключевой ставке "
        "Банка России, действующей в соответствующие периоды (на 01.11.2022 — 8,75%: 23,97 руб. "
        "в день с долга 100000,00 руб.)",
        "Государственная пошлина: 3229,25 руб."};
    QCOMPARE(reportOf(d), expected);
    // Esc closes it; the window's own calculation is untouched.
    QTest::keyClick(d, Qt::Key_Escape);
    QVERIFY(!d->isVisible());
    f.window.calculate();
    QCOMPARE(f.reportBox->toPlainText().split(u'\n').size(), 6);
    // The report's menu opens it too, for the claim as it is now.
    f.periodEnd->setDate(QDate(2022, 3, 31));
    named<QAction>(&f.window, "openPeriods")->trigger();
    QVERIFY(d->isVisible());
    QCOMPARE(
        reportOf(d).value(0),
        QStringLiteral("Расчет по периодам (ст. 395 ГК РФ): с 01.03.2022 по 31.03.2022 = 31 дн."));
    // A reversed period and a claim of nothing are refused, not counted as
    // "0 дн." with a fee; the window's six lines keep counting them.
    const auto refused = [&](const QString &why) {
        QTest::keyClick(d, Qt::Key_Escape);
        named<QAction>(&f.window, "openPeriods")->trigger();
        return reportOf(d).isEmpty() && shownOf(d).contains(why);
    };
    f.periodEnd->setDate(QDate(2022, 2, 28));
    QVERIFY(refused(QStringLiteral("Конец периода раньше начала: с 01.03.2022 по 28.02.2022")));
    f.periodEnd->setDate(QDate(2022, 3, 31));
    f.debtField->setText(QStringLiteral("0"));
    QVERIFY(refused(QStringLiteral("Долг 0,00 руб. и увеличений долга нет")));
    QVERIFY(env_.boxes.shown.isEmpty());
}

void TestPeriodsDialog::payments() {
    Window &f = env_.open();
    f.enterClaimOf2022();
    ui::PeriodsDialog *d = f.openPeriods();
    QTableWidget *grid = Entries(d).grid;
    // Added from the fields by Enter: the report follows at once.
    Entries(d).date->setDate(QDate(2022, 6, 10));
    Entries(d).amount->setText(QStringLiteral("5000"));
    Entries(d).amount->setFocus();
    QTest::keyClick(Entries(d).amount, Qt::Key_Return);
    QCOMPARE(grid->rowCount(), 1);
    QVERIFY(Entries(d).date->isAncestorOf(QApplication::focusWidget())); // ready for the next
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("10.06.2022"));
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("5000,00"));
    QStringList lines = reportOf(d);
    QCOMPARE(lines.value(3),
             QStringLiteral("оплата 10.06.2022: 5000,00 руб., остаток долга 95000,00 руб."));
    QCOMPARE(lines.value(5),
             QStringLiteral(
                 "с 02.10.2022 по 31.10.2022: 95000,00 * 30 дн. * 8,75% / 365 = 683,22 руб."));
    QCOMPARE(lines.value(6), QStringLiteral("Сумма процентов: 1426,37 руб."));
    // A payment outside the period is refused with a message.
    Entries(d).date->setDate(QDate(2022, 11, 1));
    Entries(d).add->click();
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка ввода"));
    QVERIFY(env_.boxes.shown[0].text.contains(QStringLiteral("01.11.2022")));
    QCOMPARE(grid->rowCount(), 1);
    // Choosing a row fills the fields; a change replaces it, in date order.
    Entries(d).date->setDate(QDate(2022, 3, 15));
    Entries(d).amount->setText(QStringLiteral("100"));
    Entries(d).add->click();
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("15.03.2022"));
    grid->selectRow(1);
    QCOMPARE(Entries(d).amount->text(), QStringLiteral("5000,00"));
    Entries(d).amount->setText(QStringLiteral("6000"));
    Entries(d).change->click();
    QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("6000,00"));
    // Delete on the grid removes the chosen payment.
    grid->setFocus();
    grid->selectRow(0);
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(grid->item(0, 0)->text(), QStringLiteral("10.06.2022"));
    // A claim holds at most 10,000 payments and increases: one more is refused.
    Entries(d).part->setEntries(QList<calc::Payment>(calc::kMaxEntries, {QDate(2022, 6, 10), "1"}),
                                {});
    Entries(d).add->click();
    QVERIFY(env_.boxes.shown.last().text.contains(QStringLiteral("не больше 10000")));
    QCOMPARE(grid->rowCount(), calc::kMaxEntries);
    Entries(d).part->setEntries({{QDate(2022, 6, 10), QStringLiteral("5000,00")}}, {});
    // Without the moratorium every day earns.
    named<QCheckBox>(d, "moratorium")->setChecked(false);
    QVERIFY(!shownOf(d).contains(QStringLiteral("мораторий")));
    // Payments outside a narrower period are dropped when it is opened again.
    // Escape closes the dialog from the amount field as from any other.
    Entries(d).amount->setFocus();
    QTest::keyClick(Entries(d).amount, Qt::Key_Escape);
    QVERIFY(d->isHidden());
    f.periodEnd->setDate(QDate(2022, 5, 31));
    f.openPeriods();
    QCOMPARE(grid->rowCount(), 0);
}

// A long report goes over as many pages as it takes; no line is cut off or left out.
void TestPeriodsDialog::manyPagesInPdf() {
    Window &f = env_.open();
    f.enterClaimOf2022();
    ui::PeriodsDialog *d = f.openPeriods();
    named<QCheckBox>(d, "moratorium")->setChecked(false);
    for (int i = 0; i < 40; ++i) {
        Entries(d).date->setDate(QDate(2022, 3, 1).addDays(i * 5));
        Entries(d).amount->setText(QStringLiteral("1000,50"));
        Entries(d).add->click();
    }
    const QStringList lines = d->reportLines();
    QVERIFY(lines.size() > 80);
    env_.boxes.savePath = env_.path(QStringLiteral("По периодам.pdf"));
    d->saveReportAs();
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Сообщение"));
    const QByteArray bytes = fileBytes(env_.boxes.savePath);
    QVERIFY(bytes.startsWith("%PDF"));
    QProcess text;
    text.start(QStringLiteral("pdftotext"),
               {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                env_.boxes.savePath, QStringLiteral("-")});
    if (!text.waitForFinished(kPatienceMs) || text.exitCode() != 0)
        QSKIP("pdftotext is not available");
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    const QStringList pages = printed.split(u'\f', Qt::SkipEmptyParts);
    QVERIFY2(pages.size() >= 2, "one page only");
    // The table's header on every page; every payment and the totals are
    // there in full (pdftotext may break a wrapped line anywhere).
    for (const QString &page : pages) // a page of rows (the totals may have one of their own)
        if (page.contains(QStringLiteral("оплата")) || page.contains(u'%'))
            QVERIFY(page.contains(QStringLiteral("Задолженность")));
    QString flat = printed;
    flat.remove(QRegularExpression(QStringLiteral("\\s+")));
    for (const QString &line : lines) {
        if (!line.startsWith(QStringLiteral("оплата")) && !line.startsWith(QStringLiteral("ИТОГО")))
            continue;
        QString l = line.section(QStringLiteral(", остаток"), 0, 0);
        l.remove(QRegularExpression(QStringLiteral("\\s+")));
        QVERIFY2(flat.contains(l), qPrintable(line));
    }
}

// The fee follows "Дата подачи"; what the user should know of the table and
// the period is said above the report, never in the report or its table;
// the moratorium is offered only for debts that arose before it.
void TestPeriodsDialog::filingDateAndNotes() {
    Window &f = env_.open();
    f.enterClaimOf2022();
    ui::PeriodsDialog *d = f.openPeriods();
    const auto moratorium = [&d] { return named<QCheckBox>(d, "moratorium"); };
    const auto notes = [&d] { return named<QLabel>(d, "periodsNotes"); };
    QCOMPARE(named<ui::DatePicker>(d, "filingDate")->date(),
             kWorkedExamplesFiled); // the window's filing day
    QCOMPARE(reportOf(d).last(), QStringLiteral("Государственная пошлина: 3229,25 руб."));
    named<ui::DatePicker>(d, "filingDate")->setDate(QDate(2026, 12, 7));
    QCOMPARE(reportOf(d).last(),
             QStringLiteral("Государственная пошлина: 4044,00 руб. (в полных рублях, п. 6 ст. 52 "
                            "НК РФ; по шкале — 4043,87)"));
    // The built-in table ends in 2009.
    QVERIFY(notes()->isVisible() && notes()->focusPolicy() & Qt::TabFocus);
    QCOMPARE(notes()->text(),
             QStringLiteral("Ставки в таблице — по 28.12.2009; обновите таблицу."));
    // Advice to the user is no part of a paper for the court: the table (as
    // printed and saved) and the text lines hold the calculation alone.
    QVERIFY(!shownOf(d).contains(notes()->text()));
    QVERIFY(!reportOf(d).join(u'\n').contains(QStringLiteral("28.12.2009")));
    QVERIFY(moratorium()->isEnabled() && moratorium()->isChecked());
    d->reject();

    // A debt that arose on the moratorium's first day is one it holds.
    f.periodStart->setDate(QDate(2022, 4, 1));
    d = f.openPeriods();
    QVERIFY(moratorium()->isEnabled() && moratorium()->isChecked());
    QCOMPARE(reportOf(d).value(1),
             QStringLiteral("с 01.04.2022 по 01.10.2022: мораторий, проценты не начисляются"));
    d->reject();
    f.periodStart->setDate(QDate(2022, 4, 2));
    d = f.openPeriods();
    QVERIFY(!moratorium()->isEnabled() && !moratorium()->isChecked());
    QVERIFY(!moratorium()->toolTip().isEmpty());
    QCOMPARE(reportOf(d).value(1), QStringLiteral("с 02.04.2022 по 31.10.2022: 100000,00 * 213 "
                                                  "дн. * 8,75% / 365 = 5106,16 руб."));
    d->reject();

    f.periodStart->setDate(QDate(2016, 7, 1));
    f.periodEnd->setDate(QDate(2016, 8, 31));
    d = f.openPeriods();
    QVERIFY(moratorium()->isEnabled() && moratorium()->isChecked());
    QCOMPARE(notes()->text().split(u'\n').value(1), calc::depositRatesHint());
    QVERIFY(env_.boxes.shown.isEmpty());
}

// Increases beside payments in one grid, and the three counts.
void TestPeriodsDialog::countsAndIncreases() {
    Window &f = env_.open();
    f.enterClaimOf2022();
    ui::PeriodsDialog *d = f.openPeriods();
    QTableWidget *grid = Entries(d).grid;
    Entries(d).date->setDate(QDate(2022, 3, 15));
    Entries(d).amount->setText(QStringLiteral("50000"));
    Entries(d).kind->setCurrentIndex(1);
    Entries(d).add->click();
    QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("увеличение долга"));
    QCOMPARE(d->currentClaim().payments.size(), 0);
    QStringList lines = reportOf(d);
    QCOMPARE(lines.mid(1, 2),
             (QStringList{"с 01.03.2022 по 14.03.2022: 100000,00 * 14 дн. * 8,75% / 365 = 335,62 "
                          "руб.",
                          "долг увеличен 15.03.2022: 50000,00 руб., долг 150000,00 руб."}));
    // A contractual penalty, from the window's daily rate.
    click(named<QRadioButton>(d, "contractualCount"));
    QVERIFY(named<ui::NumberField>(d, "penaltyDaily")->isEnabled() &&
            !named<QSpinBox>(d, "keyFraction")->isEnabled());
    lines = reportOf(d);
    QCOMPARE(lines.mid(0, 2), (QStringList{"Расчет неустойки по периодам (0,1% в день): с "
                                           "01.03.2022 по 31.10.2022 = 245 дн.",
                                           "с 01.03.2022 по 14.03.2022: 100000,00 * 14 дн. * "
                                           "0,1% = 1400,00 руб."}));
    QVERIFY(lines.contains(QStringLiteral("Сумма неустойки: 8450,00 руб.")));
    // 1/300 of the rate on one date: the filing date unless another is given.
    click(named<QRadioButton>(d, "keyFractionCount"));
    click(named<QRadioButton>(d, "oneRateDate"));
    QCOMPARE(named<ui::DatePicker>(d, "rateDate")->date(), kWorkedExamplesFiled);
    lines = reportOf(d);
    // The rate of 01.02.2010 is the refinancing rate.
    QCOMPARE(lines.value(0), QStringLiteral("Расчет пеней по периодам (1/300 ставки "
                                            "рефинансирования): с 01.03.2022 по 31.10.2022 = 245 "
                                            "дн."));
    QCOMPARE(lines.value(1), QStringLiteral("с 01.03.2022 по 14.03.2022: 100000,00 * 14 дн. * "
                                            "8,75% / 300 = 408,33 руб."));
    // The entry turned into a payment, then deleted by the keyboard.
    grid->selectRow(0);
    Entries(d).kind->setCurrentIndex(0);
    Entries(d).change->click();
    QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("оплата"));
    QCOMPARE(d->currentClaim().payments.size(), 1);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Delete);
    QCOMPARE(grid->rowCount(), 0);
    // Overdue from April, arisen in March: the moratorium is back.
    d->reject();
    f.periodStart->setDate(QDate(2022, 4, 16));
    d = f.openPeriods();
    QVERIFY(!named<QCheckBox>(d, "moratorium")->isEnabled());
    d->findChild<ui::DatePicker *>(QStringLiteral("debtArose"))->setDate(QDate(2022, 3, 20));
    QVERIFY(named<QCheckBox>(d, "moratorium")->isChecked() &&
            reportOf(d).value(1).contains(u"мораторий, "));
    Entries(d).date->setDate(QDate(2022, 5, 10));
    Entries(d).kind->setCurrentIndex(1);
    named<ui::DatePicker>(d, "entryArose")->setDate(QDate(2022, 3, 25)); // an increase's own, below
    Entries(d).add->click();
    QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("увеличение долга, возникло 25.03.2022"));
    QCOMPARE(d->currentClaim().increases.value(0).arose, QDate(2022, 3, 25));
    QVERIFY(env_.boxes.shown.isEmpty());
}

// A claim saved from the dialog opens again as it was, report and all;
// closing with changes not saved asks first; a damaged file changes nothing.
void TestPeriodsDialog::claimSavedAndOpened() {
    Window &f = env_.open();
    f.enterClaimOf2022();
    ui::PeriodsDialog *d = f.openPeriods();
    Entries(d).date->setDate(QDate(2022, 8, 1));
    Entries(d).amount->setText(QStringLiteral("20000"));
    Entries(d).kind->setCurrentIndex(1);
    Entries(d).add->click();
    click(named<QRadioButton>(d, "keyFractionCount"));
    named<QSpinBox>(d, "keyFraction")->setValue(150);
    QVERIFY(d->hasUnsavedChanges());
    env_.boxes.savePath = env_.path(QStringLiteral("Ромашка"));
    QVERIFY(d->saveClaim());
    const QString file = env_.path(QStringLiteral("Ромашка.dolgomer"));
    QVERIFY(QFile::exists(file));
    const QStringList saved = reportOf(d);
    d->reject(); // nothing changed since the save: no question
    QVERIFY(env_.boxes.saveQuestions.isEmpty() && d->isHidden());

    // Another claim in the window; the file brings the saved one back.
    f.periodStart->setDate(QDate(2023, 1, 1));
    d = f.openPeriods();
    QVERIFY(reportOf(d) != saved);
    env_.boxes.openPath = file;
    d->openClaim();
    QCOMPARE(reportOf(d), saved);
    QVERIFY(named<QRadioButton>(d, "keyFractionCount")->isChecked());
    QCOMPARE(Entries(d).grid->rowCount(), 1);
    QVERIFY(!d->hasUnsavedChanges());

    // Given to the program (dolgomer FILE.dolgomer), the file fills the
    // window too: "По периодам..." after closing opens the same claim.
    d->reject();
    f.debtField->setText(QStringLiteral("5"));
    f.window.openClaimFile(file);
    QCOMPARE(reportOf(d), saved);
    QCOMPARE(f.debtField->text(), QStringLiteral("100000,00"));
    QCOMPARE(f.periodStart->date(), QDate(2022, 3, 1));
    QCOMPARE(f.periodEnd->date(), QDate(2022, 10, 31));
    QVERIFY(f.generalCourt->isChecked());
    d->reject();
    d = f.openPeriods();
    QCOMPARE(reportOf(d).value(0), saved.value(0));

    // A change, then closing: Отмена keeps the dialog, Не сохранять closes it.
    Entries(d).date->setDate(QDate(2022, 9, 1));
    Entries(d).amount->setText(QStringLiteral("100"));
    Entries(d).kind->setCurrentIndex(0);
    Entries(d).add->click();
    env_.boxes.saveAnswers = {ui::MessageBoxes::Choice::Cancel, ui::MessageBoxes::Choice::Discard};
    d->reject();
    QVERIFY(d->isVisible());
    d->reject();
    QVERIFY(d->isHidden());
    QCOMPARE(env_.boxes.saveQuestions.size(), 2);
    QCOMPARE(fileBytes(file), storage::encodeClaim(storage::decodeClaim(fileBytes(file))));

    // A damaged file is told and changes nothing.
    d = f.openPeriods();
    const QStringList before = reportOf(d);
    writeFile(file, QByteArray("{\"format\": \"dolgomer-claim\", \"version\": 1}"));
    QVERIFY(!d->openClaim(file));
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка открытия"));
    QVERIFY(env_.boxes.shown[0].text.contains(QStringLiteral("поврежден")));
    QCOMPARE(reportOf(d), before);
}

QTEST_MAIN(TestPeriodsDialog)
#include "tst_periodsdialog.moc"
