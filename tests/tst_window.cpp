// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/numtext.h"
#include "law/vat.h"
#include "storage/ratefile.h"
#include "storage/settings.h"
#include "ui/rates/rategrid.h"
#include "ui/window/claiminputs.h"

#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QDesktopServices>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QUrlQuery>
#include <memory>

#include "windowtest.h"

class TestWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void workedExamples();
    void badRateInTheCalculation();
    void storedDivisor_data();
    void storedDivisor();
    void storedContractRate_data();
    void storedContractRate();
    void modeSwitchesRestoreStoredValues();
    void closingStoresSettings();
    void closingWithAnUnwritableStore();
    void hoverLook();
    void errorTexts_data();
    void errorTexts();
    void lookupFollowsTheEndDate();
    void backgroundClickAndContactLink();
    void amountTooLargeIsRefused();
    void layout();

private:
    Window &open() { return env_.open(); }
    WindowEnv env_;
    ScriptedBoxes &boxes_ = env_.boxes;
};

void TestWindow::init() {
    env_.start();
}

void TestWindow::cleanup() {
    env_.stop();
}

void TestWindow::workedExamples() {
    {
        // A new user's tax rate is the VAT in force today.
        QWidget bare;
        const ui::ClaimInputs inputs(&bare);
        QCOMPARE(named<QSlider>(&bare, "taxSlider")->value(),
                 law::vatPercentOn(QDate::currentDate()));
        // Each change of the VAT law, the day before and the day it holds.
        QVERIFY(law::vatPercentOn(QDate(1992, 1, 1)) == 28 &&
                law::vatPercentOn(QDate(1993, 1, 1)) == 20 &&
                law::vatPercentOn(QDate(2003, 12, 31)) == 20 &&
                law::vatPercentOn(QDate(2004, 1, 1)) == 18 &&
                law::vatPercentOn(QDate(2018, 12, 31)) == 18 &&
                law::vatPercentOn(QDate(2019, 1, 1)) == 20 &&
                law::vatPercentOn(QDate(2026, 1, 1)) == 22);
    }
    Window &f = open();
    f.debtField->setText(QStringLiteral("100000"));
    f.periodStart->setDate(QDate(2010, 1, 1));
    f.periodEnd->setDate(QDate(2010, 1, 30));
    f.generalCourt->setChecked(true);
    QTest::mouseClick(f.calculateLink, Qt::LeftButton);
    QCOMPARE(f.reportBox->toPlainText().split(u'\n'), kWorkedExample);
    QCOMPARE(f.window.outerHeight(), 328 + 117 + 40);
    QCOMPARE(f.debtField->text(), QStringLiteral("100000,00"));

    // Recalculating from the report's menu gives the same report.
    f.reportBox->clear();
    named<QAction>(&f.window, "recalculateReport")->trigger();
    QCOMPARE(f.reportBox->toPlainText().split(u'\n'), kWorkedExample);

    QTest::mouseClick(f.contractualLink, Qt::LeftButton);
    f.debtField->setText(QStringLiteral("50000"));
    f.dailyRateField->setText(QStringLiteral("0,1"));
    f.periodStart->setDate(QDate(2010, 3, 1));
    f.periodEnd->setDate(QDate(2010, 3, 31));
    hover(f.calculateIcon); // the highlighted icon is the clickable one
    QTest::mouseClick(f.calculateIcon, Qt::LeftButton);
    const QStringList lines = f.reportBox->toPlainText().split(u'\n');
    QCOMPARE(lines.value(1), QStringLiteral("Размер договорной пени: 0,1%"));
    QCOMPARE(lines.value(3),
             QStringLiteral("Сумма процентов: 50000,00 * 31 * 0,1 / 100 = 1550,00 руб."));
    QVERIFY(boxes_.shown.isEmpty());
}

void TestWindow::badRateInTheCalculation() {
    Window &f = open();
    f.rateField->setText(QStringLiteral("abc"));
    QTest::mouseClick(f.calculateLink, Qt::LeftButton);
    QCOMPARE(boxes_.shown.size(), 1);
    QCOMPARE(boxes_.shown[0].text, QStringLiteral("'abc' is not a valid floating point value."));
    QCOMPARE(boxes_.shown[0].caption, ui::appTitle());
    QCOMPARE(boxes_.shown[0].icon, MessageBoxes::Icon::Stop);
    QCOMPARE(f.reportBox->toPlainText(), QString());
    QCOMPARE(f.window.outerHeight(), 485);
    // The window stays usable.
    f.rateField->setText(QStringLiteral("8,75"));
    QTest::mouseClick(f.calculateLink, Qt::LeftButton);
    QCOMPARE(f.reportBox->toPlainText().split(u'\n').size(), 6);
}

void TestWindow::storedDivisor_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("divisor");
    QTest::newRow("missing") << QString() << 360;
    QTest::newRow("300") << "300" << 300;
    QTest::newRow("0") << "0" << 360;
    QTest::newRow("400") << "400" << 360;
    QTest::newRow("abc") << "abc" << 360;
    QTest::newRow("368 is held at the end") << "368" << 365;
    QTest::newRow("leading blank") << " 300" << 300;
    QTest::newRow("trailing blank") << "300 " << 360;
}

void TestWindow::storedDivisor() {
    QFETCH(QString, stored);
    QFETCH(int, divisor);
    if (!stored.isNull())
        storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("k_stav"), stored);
    Window &f = open();
    QTest::mouseClick(f.statutoryLink, Qt::LeftButton);
    QCOMPARE(f.divisorSlider->value(), divisor);
    QCOMPARE(f.divisorLabel->text(), QString::number(divisor));
    QVERIFY(!f.statutoryBox->isHidden() && f.contractualBox->isHidden());
    QCOMPARE(f.statutoryBox->y(), 216);
    QVERIFY(f.statutoryLink->isHidden());
    QCOMPARE(f.contractualLink->pos(), QPoint(f.statutoryBox->x() + 162, 216 + 42));
    QCOMPARE(f.contractualLink->palette().color(QPalette::WindowText), QColor(128, 128, 128));
}

void TestWindow::storedContractRate_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("rate");
    QTest::newRow("missing") << QString() << "0,1";
    QTest::newRow("0,25") << "0,25"
                          << "0,25";
    QTest::newRow("500") << "500"
                         << "0,1";
    QTest::newRow("0") << "0"
                       << "0,1";
    QTest::newRow("abc") << "abc"
                         << "0,1";
    QTest::newRow("four digits") << "0,123456"
                                 << "0,1235";
}

void TestWindow::storedContractRate() {
    QFETCH(QString, stored);
    QFETCH(QString, rate);
    if (!stored.isNull())
        storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("dogovor"), stored);
    Window &f = open();
    QTest::mouseClick(f.contractualLink, Qt::LeftButton);
    QCOMPARE(f.dailyRateField->text(), rate);
    QVERIFY(f.statutoryBox->isHidden() && !f.contractualBox->isHidden());
    QCOMPARE(f.contractualBox->y(), 216);
    QCOMPARE(f.statutoryLink->pos(), QPoint(f.contractualBox->x() + 162, 216 + 42));
    // The contractual mode reaches the report.
    QTest::mouseClick(f.calculateLink, Qt::LeftButton);
    QVERIFY(f.reportBox->toPlainText().contains(QStringLiteral("Размер договорной пени: ") + rate));
}

void TestWindow::modeSwitchesRestoreStoredValues() {
    Window &f = open();
    f.modes->chooseStatutory();
    f.divisorSlider->setValue(300);
    QCOMPARE(f.divisorLabel->text(), QStringLiteral("300"));
    f.modes->chooseContractual();
    f.modes->chooseStatutory();
    QCOMPARE(f.divisorSlider->value(), 360);
    f.taxSlider->setValue(0);
    QCOMPARE(f.taxRateLabel->text(), QStringLiteral("0%"));
    f.window.calculate();
    QVERIFY(f.reportBox->toPlainText().contains(QStringLiteral("налог 0%: 0,00 руб.")));
}

void TestWindow::closingStoresSettings() {
    Window &f = open();
    f.modes->chooseStatutory();
    f.divisorSlider->setValue(300);
    f.dailyRateField->setText(QStringLiteral("0,25"));
    hover(f.closeIcon);
    QVERIFY(f.closeIcon->isVisible());
    QTest::mouseClick(f.closeIcon, Qt::LeftButton);
    QVERIFY(!f.window.isVisible());
    QCOMPARE(storage::readSetting(storage::kSettingsKey, false, QStringLiteral("k_stav")),
             QStringLiteral("300"));
    QCOMPARE(storage::readSetting(storage::kSettingsKey, false, QStringLiteral("dogovor")),
             QStringLiteral("0,25"));

    // Closed by the window manager instead (Alt+F4): stored all the same.
    Window &g = open();
    g.modes->chooseStatutory();
    g.divisorSlider->setValue(100);
    g.window.close();
    QVERIFY(!g.window.isVisible());
    QCOMPARE(storage::readSetting(storage::kSettingsKey, false, QStringLiteral("k_stav")),
             QStringLiteral("100"));
}

void TestWindow::closingWithAnUnwritableStore() {
    Window &f = open();
    QFile::remove(storage::settingsFilePath());
    QDir(QFileInfo(storage::settingsFilePath()).absolutePath()).removeRecursively();
    QFile blocker(QFileInfo(storage::settingsFilePath()).absolutePath());
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the store's folder belongs
    blocker.close();
    QTest::mouseClick(f.closeLink, Qt::LeftButton);
    QCOMPARE(boxes_.shown.size(), 1);
    QCOMPARE(boxes_.shown[0].icon, MessageBoxes::Icon::Stop);
    QVERIFY(!f.window.isVisible());
}

void TestWindow::hoverLook() {
    Window &f = open();
    const struct {
        ui::LinkLabel *link;
        ui::HoverIcon *icon;
        QSize plain, lit;
    } pairs[] = {{f.calculateLink, f.calculateIcon, {24, 24}, {25, 26}},
                 {f.closeLink, f.closeIcon, {26, 26}, {25, 26}},
                 {f.printLink, f.printIcon, {32, 32}, {32, 32}}};
    for (const auto &p : pairs) {
        QCOMPARE(p.icon->size(), p.plain);
        hover(p.link);
        QVERIFY(p.link->font().bold() && p.link->font().underline());
        QVERIFY(p.icon->isLit());
        QCOMPARE(p.icon->size(), p.lit);
        leave(p.link);
        QVERIFY(p.link->font().bold() && !p.link->font().underline());
        QVERIFY(p.icon->isLit()); // leaving the link keeps the icon
        hover(&f.window);         // the background resets everything
        QVERIFY(!p.icon->isLit());
        QCOMPARE(p.icon->size(), p.plain);
        hover(p.icon);
        QVERIFY(p.icon->isLit() && p.link->font().underline());
    }
    hover(&f.window);
    for (const auto &p : pairs)
        QVERIFY(!p.icon->isLit() && !p.link->font().underline());
    hover(f.contactLink);
    QVERIFY(f.contactLink->font().underline() && !f.contactLink->font().bold());
    leave(f.contactLink);
    QVERIFY(!f.contactLink->font().underline());
    // Moving over a control is not moving over the background.
    hover(f.calculateLink);
    hover(f.taxRateLabel);
    QVERIFY(f.calculateIcon->isLit());
}

void TestWindow::errorTexts_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Ошибка"
                            << "Ошибка.";
    QTest::newRow("full stop") << "Ошибка."
                               << "Ошибка.";
    QTest::newRow("quote") << "'x' is bad'"
                           << "'x' is bad'";
    QTest::newRow("digit") << "код 5"
                           << "код 5.";
    QTest::newRow("slash, just above the stop") << "a/"
                                                << "a/.";
    QTest::newRow("comma, just below") << "a,"
                                       << "a,";
    QTest::newRow("empty") << ""
                           << "";
}

void TestWindow::errorTexts() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(ui::Dialogs::errorText(message), shown);
}

void TestWindow::lookupFollowsTheEndDate() {
    Window &f = open();
    f.periodEnd->setDate(QDate(2008, 7, 14));
    QCOMPARE(f.rateField->text(), QStringLiteral("11,00"));
    f.periodEnd->setDate(QDate(2008, 7, 13));
    QCOMPARE(f.rateField->text(), QStringLiteral("10,75"));
    QCOMPARE(f.rateGrid->selectedRow(), 14);
    f.periodEnd->setDate(QDate(1999, 1, 1));
    QCOMPARE(f.rateField->text(), QStringLiteral("55"));
    QVERIFY(boxes_.shown.isEmpty());
}

// Catches the mail link instead of starting a mail program.
class MailCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

void TestWindow::backgroundClickAndContactLink() {
    Window &f = open();
    f.window.openRatePanel();
    f.editor->startEditing();
    QVERIFY(f.ratePanel->isVisible() && f.rateEditor->isVisible() && !f.rateField->isEnabled());
    QTest::mouseClick(&f.window, Qt::LeftButton, Qt::NoModifier, QPoint(5, 215));
    QVERIFY(f.ratePanel->isHidden() && f.rateEditor->isHidden() && f.rateField->isEnabled());
    // A click on a control is not a click on the background.
    f.window.openRatePanel();
    QTest::mouseClick(f.taxRateLabel, Qt::LeftButton);
    QVERIFY(f.ratePanel->isVisible());

    MailCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
    f.editor->startEditing();
    QTest::mouseClick(f.contactLink, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    QVERIFY(f.ratePanel->isHidden() && f.rateEditor->isHidden());
    QVERIFY(f.rateField->isEnabled()); // not greyed out until a background click
    QCOMPARE(catcher.opened.size(), 1);
    const QUrl url = catcher.opened[0];
    QCOMPARE(url.scheme(), QStringLiteral("mailto"));
    QVERIFY(url.path().contains(f.contactLink->text()));
    QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
             QStringLiteral("Долгомер — расчет процентов и пеней"));

    // No mail program to be found: the address is shown and put on the clipboard.
    const QByteArray path = qgetenv("PATH");
    QTemporaryDir nothing;
    qputenv("PATH", nothing.path().toUtf8());
    QApplication::clipboard()->clear();
    QTest::mouseClick(f.contactLink, Qt::LeftButton);
    qputenv("PATH", path);
    QCOMPARE(boxes_.shown.size(), 1);
    QVERIFY(boxes_.shown[0].text.contains(QStringLiteral("dolgomer@localhost")));
    QCOMPARE(boxes_.shown[0].icon, MessageBoxes::Icon::Information);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("dolgomer@localhost"));
}

// A result past what a double holds is never printed as "INF".
void TestWindow::amountTooLargeIsRefused() {
    Window &f = open();
    f.modes->chooseStatutory();
    f.divisorSlider->setValue(1);
    f.periodStart->setDate(QDate(2010, 1, 1));
    f.periodEnd->setDate(QDate(2010, 1, 30));
    f.debtField->setText(QStringLiteral("1E308")); // pasted: the number check lets it pass
    QTest::mouseClick(f.calculateLink, Qt::LeftButton);
    QCOMPARE(boxes_.shown.size(), 1);
    QCOMPARE(boxes_.shown[0].text, QStringLiteral("Сумма слишком велика для расчета."));
    QCOMPARE(boxes_.shown[0].caption, ui::appTitle());
    QCOMPARE(f.reportBox->toPlainText(), QString());
}

// The statutory rate's label reads clear of its field; the editor's panel
// never shows the report box's edge under the buttons.
void TestWindow::layout() {
    Window &f = open();
    f.modes->chooseStatutory();
    const QLabel *caption = nullptr;
    for (const QLabel *l : f.statutoryBox->findChildren<QLabel *>())
        if (l->text() == QStringLiteral("Ставка рефин. (%):")) caption = l;
    QVERIFY(caption);
    const int textEnd = caption->x() + caption->fontMetrics().horizontalAdvance(caption->text());
    QVERIFY2(f.rateField->x() - textEnd >= 4,
             qPrintable(QString::number(f.rateField->x() - textEnd)));
    QCOMPARE(f.statutoryBox->size(), QSize(313, 40));
    for (bool adding : {true, false}) {
        if (adding)
            f.editor->startAdding();
        else
            f.editor->startEditing();
        QVERIFY(f.window.height() <= f.reportBox->y());
    }
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
