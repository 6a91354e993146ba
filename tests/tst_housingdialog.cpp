// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/dates.h"
#include "ui/periods/countchoice.h"
#include "ui/periods/periodentries.h"
#include "ui/periods/periodsdialog.h"
#include "windowtest.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>

// The housing penalty in the periods dialog: its own inputs, charges by
// month, payments for a named month, the moratorium's box by the bills'
// months, and a claim saved and opened again.
class TestHousingDialog : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.start(); }
    void cleanup() { env_.stop(); }
    void chargesPaymentsAndFile();
    void otherBasis();
    void ownTerms();

private:
    // The periods dialog on the window's debt of 20000,00 from 01.07.2018 to 31.08.2018.
    ui::PeriodsDialog *openOwed() {
        Window &f = env_.open();
        f.debtField->setText(QStringLiteral("20000"));
        f.periodStart->setDate(QDate(2018, 7, 1));
        f.periodEnd->setDate(QDate(2018, 8, 31));
        return f.openPeriods();
    }

    WindowEnv env_;
};

void TestHousingDialog::chargesPaymentsAndFile() {
    Window &f = env_.open();
    ui::PeriodsDialog *d = f.openPeriods();
    ui::PeriodEntries *entries = named<ui::PeriodEntries>(d, "periodEntries");
    const auto increaseOffered = [entries] {
        auto *kinds =
            qobject_cast<QStandardItemModel *>(named<QComboBox>(entries, "entryKind")->model());
        return kinds->item(int(ui::PeriodEntries::Kind::Increase))->isEnabled();
    };
    QVERIFY(increaseOffered() && !named<QPushButton>(entries, "fillCharges")->isVisibleTo(d));
    named<QRadioButton>(d, "housingCount")->click();
    QVERIFY(!increaseOffered() && named<QPushButton>(entries, "fillCharges")->isVisibleTo(d));
    QVERIFY(!d->findChild<QWidget *>(QStringLiteral("debtArose"))->isEnabled());
    QVERIFY(named<QSpinBox>(d, "dueDay")->isEnabled() &&
            named<QCheckBox>(d, "shiftDue")->isChecked());
    named<ui::DatePicker>(d, "filingDate")->setDate(QDate(2022, 12, 1));

    // "Заполнить…": a charge for each month of the range.
    QTimer::singleShot(0, [] {
        auto *fill = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        QVERIFY(fill && fill->objectName() == QStringLiteral("chargeFill"));
        fill->findChild<QDateEdit *>(QStringLiteral("fillFrom"))->setDate(QDate(2022, 1, 1));
        fill->findChild<QDateEdit *>(QStringLiteral("fillTo"))->setDate(QDate(2022, 4, 1));
        fill->findChild<QLineEdit *>(QStringLiteral("fillAmount"))->setText(QStringLiteral("1000"));
        fill->accept();
    });
    click(named<QPushButton>(entries, "fillCharges"));
    QCOMPARE(named<QTableWidget>(entries, "entriesGrid")->rowCount(), 4);
    QCOMPARE(entries->charges().value(3).amount, QStringLiteral("1000,00"));
    // A payment for the April bill pays it, not the oldest.
    named<QComboBox>(entries, "entryKind")->setCurrentIndex(int(ui::PeriodEntries::Kind::Payment));
    named<ui::DatePicker>(entries, "paymentDate")->setDate(QDate(2022, 5, 20));
    named<ui::NumberField>(entries, "paymentAmount")->setText(QStringLiteral("1000"));
    named<QCheckBox>(entries, "entryForMonth")->setChecked(true);
    named<QDateEdit>(entries, "entryMonth")->setDate(QDate(2022, 4, 15));
    QCOMPARE(named<ui::DatePicker>(entries, "paymentDate")->accessibleName(),
             QStringLiteral("Дата оплаты")); // no increases here
    QTest::keyClick(named<QDateEdit>(entries, "entryMonth"),
                    Qt::Key_Return); // Enter in the month adds, as in the amount
    QCOMPARE(named<QTableWidget>(entries, "entriesGrid")->item(4, 2)->text(),
             QStringLiteral("оплата за 04.2022"));
    const calc::PeriodInput claim = d->currentClaim();
    QCOMPARE(claim.payments.value(0).month, QDate(2022, 4, 1));
    QCOMPARE(d->reportLines(), calc::calculatePeriods(claim).lines);
    QVERIFY(d->reportLines().contains(QStringLiteral("Пени за 04.2022: 0,00 руб.")));
    // Bills up to March 2022 are held in 2022: the box is there to lift it.
    QVERIFY(named<QCheckBox>(d, "moratorium")->isEnabled() &&
            named<QCheckBox>(d, "moratorium")->isChecked());
    const QStringList held = d->reportLines();
    click(named<QCheckBox>(d, "moratorium"));
    QVERIFY(d->reportLines() != held);
    click(named<QCheckBox>(d, "moratorium"));

    // What cannot be charged is told, and nothing is added.
    QVERIFY(!entries->fillCharges(QDate(2022, 6, 1), QDate(2022, 5, 1), QStringLiteral("1")));
    QVERIFY(!entries->fillCharges(QDate(2022, 6, 1), QDate(2022, 7, 1), QStringLiteral("0")));
    QCOMPARE(env_.boxes.shown.size(), 2);
    QCOMPARE(env_.boxes.shown[0].text, QStringLiteral("Последний месяц раньше первого."));
    QCOMPARE(named<QTableWidget>(entries, "entriesGrid")->rowCount(), 5);

    // Saved and opened again over another count, it comes back whole.
    env_.boxes.savePath = env_.path(QStringLiteral("ТСЖ"));
    QVERIFY(d->saveClaim());
    named<QRadioButton>(d, "statutoryCount")->click();
    QVERIFY(d->reportLines().isEmpty()); // charges are not the interest's
    QVERIFY(named<QLabel>(d, "periodsHeading")->text().contains(u"только в пенях за ЖКУ"));
    QVERIFY(d->openClaim(env_.path(QStringLiteral("ТСЖ.dolgomer"))));
    QVERIFY(named<QRadioButton>(d, "housingCount")->isChecked() && !increaseOffered());
    QCOMPARE(d->reportLines(), held);
    QVERIFY(!d->hasUnsavedChanges());
}

// Another legal basis from the list: counted by its law's rules, its heading
// names the law, the moratorium's box off where no moratorium holds, and a
// saved claim keeps it.
void TestHousingDialog::otherBasis() {
    ui::PeriodsDialog *d = openOwed();
    QVERIFY(d && QTest::qWaitForWindowExposed(d));
    QVERIFY(!named<QComboBox>(d, "otherBasis")->isEnabled());
    named<QRadioButton>(d, "otherCount")->click();
    QComboBox *bases = named<QComboBox>(d, "otherBasis");
    QVERIFY(bases->isEnabled() && bases->count() > 10);
    bases->setCurrentIndex(bases->findData(QStringLiteral("alimony")));
    QCOMPARE(d->reportLines().value(0),
             QStringLiteral("Расчет неустойки по п. 2 ст. 115 СК РФ: с 01.07.2018 по 31.08.2018 = "
                            "62 дн."));
    QVERIFY(d->reportLines().contains(QStringLiteral("Сумма неустойки: 4440,00 руб.")));
    QVERIFY(!named<QCheckBox>(d, "moratorium")->isEnabled());
    // The box says why in the basis's own words.
    QVERIFY(named<QCheckBox>(d, "moratorium")
                ->toolTip()
                .endsWith(u"неустойка начисляется и в дни моратория"));
    // Alimony is claimed in a general court, free of the fee; a supplier's
    // penalty in the arbitration court.
    QCOMPARE(d->currentClaim().court, calc::Court::GeneralJurisdiction);
    QCOMPARE(d->reportLines().last(),
             QStringLiteral("Государственная пошлина: не уплачивается (пп. 2 п. 1 ст. 333.36 НК "
                            "РФ)"));
    bases->setCurrentIndex(bases->findData(QStringLiteral("procurement")));
    QCOMPARE(d->currentClaim().court, calc::Court::Arbitration);
    // Capital-repair contributions are monthly bills: housing's inputs serve them.
    QVERIFY(!named<QSpinBox>(d, "dueDay")->isEnabled());
    bases->setCurrentIndex(bases->findData(QStringLiteral("capital-repair")));
    QVERIFY(named<QSpinBox>(d, "dueDay")->isEnabled());
    named<QSpinBox>(d, "dueDay")->setValue(20);
    QCOMPARE(d->currentClaim().count, calc::PeriodCount::Housing);
    QCOMPARE(d->currentClaim().dueDay, 20);
    bases->setCurrentIndex(bases->findData(QStringLiteral("alimony")));
    QVERIFY(!named<QSpinBox>(d, "dueDay")->isEnabled());
    // An application for a court order: the claim says so, and pays half.
    named<QCheckBox>(d, "courtOrder")->click();
    QVERIFY(d->currentClaim().courtOrder);
    QCOMPARE(d->reportLines(), calc::calculatePeriods(d->currentClaim()).lines);
    env_.boxes.savePath = env_.path(QStringLiteral("Алименты"));
    QVERIFY(d->saveClaim());
    // The name proposed says which claim it is: basis, debt, filing date.
    QCOMPARE(
        env_.boxes.suggested,
        QStringLiteral("Расчет alimony 20000 %1.dolgomer").arg(dateText(d->currentClaim().filed)));
    named<QRadioButton>(d, "statutoryCount")->click();
    const bool opened = d->openClaim(env_.path(QStringLiteral("Алименты.dolgomer")));
    QVERIFY2(opened, qPrintable(env_.boxes.shown.value(0).text));
    QVERIFY(named<QRadioButton>(d, "otherCount")->isChecked());
    QCOMPARE(bases->currentData().toString(), QStringLiteral("alimony"));
    QVERIFY(named<QCheckBox>(d, "courtOrder")->isChecked());
}

// The terms some bases take: each input enabled with its basis alone,
// reaching the claim and a saved claim; another basis leaves them behind.
void TestHousingDialog::ownTerms() {
    ui::PeriodsDialog *d = openOwed();
    QVERIFY(d && QTest::qWaitForWindowExposed(d));
    ui::CountChoice *c = named<ui::CountChoice>(d, "countChoice");
    const auto enabled = [c] {
        return QList<bool>{named<ui::NumberField>(c, "penaltyCap")->isEnabled(),
                           named<QSpinBox>(c, "contractFraction")->isEnabled(),
                           named<ui::NumberField>(c, "fulfilled")->isEnabled()};
    };
    QCOMPARE(enabled(), (QList<bool>{false, false, false}));
    named<QRadioButton>(c, "contractualCount")->click();
    QCOMPARE(enabled(), (QList<bool>{true, false, false}));
    named<ui::NumberField>(c, "penaltyCap")->setText(QStringLiteral("1000"));
    named<QComboBox>(c, "penaltyCapUnit")->setCurrentIndex(1);
    // 20000,00 * 62 дн. * 0,1% = 1240,00, at most 1000,00.
    QVERIFY(d->reportLines().contains(QStringLiteral("Сумма неустойки: 1000,00 руб.")));
    named<QRadioButton>(c, "otherCount")->click();
    named<QComboBox>(c, "otherBasis")
        ->setCurrentIndex(named<QComboBox>(c, "otherBasis")->findData(QStringLiteral("wages")));
    QCOMPARE(enabled(), (QList<bool>{false, true, false}));
    named<QSpinBox>(c, "contractFraction")->setValue(100);
    // 20000,00 * 62 дн. * 8,75% / 100 = 1085,00.
    QVERIFY(d->reportLines().contains(QStringLiteral("Сумма компенсации: 1085,00 руб.")));
    QVERIFY(d->currentClaim().capAmount.isEmpty());
    env_.boxes.savePath = env_.path(QStringLiteral("Зарплата"));
    QVERIFY(d->saveClaim());
    named<QComboBox>(c, "otherBasis")
        ->setCurrentIndex(
            named<QComboBox>(c, "otherBasis")->findData(QStringLiteral("procurement-supplier")));
    QCOMPARE(enabled(), (QList<bool>{false, false, true}));
    named<ui::NumberField>(c, "fulfilled")->setText(QStringLiteral("5000"));
    QCOMPARE(d->currentClaim().contractFraction, 0);
    // 15000,00 * 62 дн. * 8,75% / 300 = 271,25, the penalty alone.
    QVERIFY(d->reportLines().contains(QStringLiteral("ИТОГО: 271,25 руб.")));
    QVERIFY(d->openClaim(env_.path(QStringLiteral("Зарплата.dolgomer"))));
    QCOMPARE(named<QComboBox>(c, "otherBasis")->currentData().toString(), QStringLiteral("wages"));
    QCOMPARE(named<QSpinBox>(c, "contractFraction")->value(), 100);
    QVERIFY(d->currentClaim().fulfilled.isEmpty());
}

QTEST_MAIN(TestHousingDialog)
#include "tst_housingdialog.moc"
