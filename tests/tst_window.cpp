#include "calc/numtext.h"
#include "rategrid.h"
#include "rates/ratefile.h"
#include "rates/settings.h"

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

namespace {

const QStringList kWorkedExample = {
    QStringLiteral("Период просрочки: c 01.01.2010 по 30.01.2010 = 30 дн."),
    QStringLiteral("Ставка рефинансирования: 8,75%"),
    QStringLiteral("Cумма долга: 100000,00 руб., в том числе налог 18%: 18000,00 руб."),
    QStringLiteral("Сумма процентов: 100000,00 * 30 * 8,75 / 36000 = 729,17 руб."),
    QStringLiteral("ИТОГО: 100000,00 + 729,17 = 100729,17 руб."),
    QStringLiteral("Государственная пошлина: 3214,58 руб."),
};

} // namespace

class TestWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUp();
    void typing_data();
    void typing();
    void tabOrder();
    void editingShortcuts();
    void pasteNearTheLimit_data();
    void pasteNearTheLimit();
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
    void badStoredData_data();
    void badStoredData();
    void datePickerClickClosesPanels();
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

void TestWindow::startUp() {
    Window &f = open();
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Программа для Долгомер"));
    QCOMPARE(f.periodStart->date(), QDate::currentDate());
    QCOMPARE(f.periodEnd->date(), QDate::currentDate());
    for (const ui::HoverIcon *icon : {f.calculateIcon, f.closeIcon, f.printIcon})
        QVERIFY(icon->isVisible() && !icon->isLit());
    QVERIFY(f.picture->isVisible());
    QCOMPARE(f.picture->geometry(), QRect(336, 24, 249, 259));
    QVERIFY(f.picture->pixmap().width() <= 249 && f.picture->pixmap().height() <= 259);
    QVERIFY(!f.picture->pixmap().isNull());
    QCOMPARE(f.window.outerHeight(), 284 + 20 + 42);
    QCOMPARE(f.reportBox->toPlainText(), QString());
    QCOMPARE(f.reportBox->width(), 465);
    QCOMPARE(f.printIcon->pos(), QPoint(481, 370));
    QCOMPARE(f.printLink->pos(), QPoint(519, 376));
    QCOMPARE(f.contactLink->y(), 4);
    QCOMPARE(f.rateField->text(), QStringLiteral("8,75"));
    QCOMPARE(f.debtField->selectedText(), QStringLiteral("0,00"));
    QVERIFY(f.ratePanel->isHidden() && f.rateEditor->isHidden());
    QVERIFY(boxes_.shown.isEmpty());
    // The first run leaves the rate file and its path in the settings.
    const QString path = env_.rateFile();
    QCOMPARE(f.rateFilePath(), path);
    QCOMPARE(fileBytes(path), rates::encodeRateFile(rates::RateTable::builtIn().lines()));
    QCOMPARE(rates::readSetting(rates::kSettingsKey, false, QStringLiteral("patch")), path);
}

void TestWindow::typing_data() {
    QTest::addColumn<bool>("debtField");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("leaveBy"); // "" focus moved by the program, "tab", "calculate"
    QTest::newRow("point becomes comma") << true << "" << 0 << "1.5"
                                         << "1,5"
                                         << "1,50"
                                         << "";
    QTest::newRow("refused keys") << true << "12" << 2 << "a- E"
                                  << "12"
                                  << "12,00"
                                  << "";
    QTest::newRow("second comma at the end") << true << "12,5" << 4 << ","
                                             << "12,5"
                                             << "12,50"
                                             << "";
    QTest::newRow("comma after the 1") << true << "12,5" << 1 << ","
                                       << "1,2"
                                       << "1,20"
                                       << "";
    QTest::newRow("emptied debt") << true << "7" << 1 << "\b"
                                  << ""
                                  << "0,00"
                                  << "";
    QTest::newRow("emptied rate") << false << "7" << 1 << "\b"
                                  << ""
                                  << "0"
                                  << "";
    QTest::newRow("leading comma, debt") << true << "" << 0 << ",5"
                                         << ",5"
                                         << "0,50"
                                         << "";
    QTest::newRow("leading comma, rate") << false << "" << 0 << ",5"
                                         << ",5"
                                         << "0,5"
                                         << "";
    QTest::newRow("trailing comma, debt") << true << "" << 0 << "12,"
                                          << "12,"
                                          << "12,00"
                                          << "";
    QTest::newRow("trailing comma, rate") << false << "" << 0 << "12,"
                                          << "12,"
                                          << "12"
                                          << "";
    QTest::newRow("zero rate") << false << "" << 0 << "0,0"
                               << "0,0"
                               << "0"
                               << "";
    QTest::newRow("trailing zero") << false << "" << 0 << "0,10"
                                   << "0,10"
                                   << "0,1"
                                   << "";
    QTest::newRow("leading zeros") << false << "" << 0 << "007"
                                   << "007"
                                   << "7"
                                   << "";
    QTest::newRow("tiny rate") << false << "" << 0 << "0,00001"
                               << "0,00001"
                               << "1E-5"
                               << "";
    QTest::newRow("13 digits at most") << true << "" << 0 << "12345678901234"
                                       << "1234567890123"
                                       << "1234567890123,00"
                                       << "";
    QTest::newRow("8 characters at most") << false << "" << 0 << "0,1234567"
                                          << "0,123456"
                                          << "0,123456"
                                          << "";
    // Tab moves on like everywhere else, and leaving by Tab normalises.
    QTest::newRow("Tab leaves the debt") << true << "" << 0 << "1.5"
                                         << "1,5"
                                         << "1,50"
                                         << "tab";
    QTest::newRow("Tab leaves the rate") << false << "" << 0 << "0,10"
                                         << "0,10"
                                         << "0,1"
                                         << "tab";
    // Ctrl+A selects all, so typing replaces the text (\x01 stands for Ctrl+A).
    QTest::newRow("Ctrl+A, then typing") << false << "0,1" << 3
                                         << "\x01"
                                            "0,5"
                                         << "0,5"
                                         << "0,5"
                                         << "";
    // "Рассчитать" normalises the rate field before it reads it.
    QTest::newRow("0,10 when calculating") << false << "" << 0 << "0,10"
                                           << "0,10"
                                           << "0,1"
                                           << "calculate";
    QTest::newRow("5, when calculating") << false << "" << 0 << "5,"
                                         << "5,"
                                         << "5"
                                         << "calculate";
    QTest::newRow("empty when calculating") << false << "7" << 1 << "\b"
                                            << ""
                                            << "0"
                                            << "calculate";
}

void TestWindow::typing() {
    QFETCH(bool, debtField);
    QFETCH(QString, start);
    QFETCH(int, cursor);
    QFETCH(QString, keys);
    QFETCH(QString, typed);
    QFETCH(QString, left);
    QFETCH(QString, leaveBy);
    Window &f = open();
    if (!debtField) f.modes->chooseContractual(); // the contractual field is shown in its mode
    QLineEdit *edit = debtField ? f.debtField : f.dailyRateField;
    edit->setFocus(Qt::MouseFocusReason);
    edit->setText(start);
    edit->setCursorPosition(cursor);
    for (QChar c : keys) {
        if (c == u'\b')
            QTest::keyClick(edit, Qt::Key_Backspace);
        else if (c == u'\x01')
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        else
            QTest::keyClicks(edit, QString(c));
    }
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), typed);
    // Leaving the field normalises it.
    if (leaveBy == QStringLiteral("tab")) {
        QTest::keyClick(edit, Qt::Key_Tab);
        QVERIFY(!edit->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QVERIFY(edit->hasFocus());
    } else if (leaveBy == QStringLiteral("calculate")) {
        f.window.calculate();
        QCOMPARE(f.reportBox->toPlainText().split(u'\n').value(1),
                 QStringLiteral("Размер договорной пени: ") + left + u'%');
    } else {
        f.taxSlider->setFocus(Qt::TabFocusReason);
    }
    QCOMPARE(edit->text(), left);
}

// The whole tab order by keyboard, in the contractual mode (in the statutory
// mode the rate field opens the rate table as soon as it has the focus).
void TestWindow::tabOrder() {
    Window &f = open();
    f.modes->chooseContractual();
    f.debtField->setFocus(Qt::MouseFocusReason);
    const QList<QWidget *> expected = {f.periodStart,  f.periodEnd,      f.taxSlider,
                                       f.reportBox,    f.dailyRateField,
                                       f.generalCourt, // the courts are one stop
                                       f.debtField};
    // A date picker's text is a line edit inside it, and Tab first walks its
    // day, month and year.
    const auto focused = [](QWidget *w) {
        QWidget *focus = QApplication::focusWidget();
        return focus && (focus == w || w->isAncestorOf(focus));
    };
    const auto press = [&](Qt::Key key, QWidget *from) {
        for (int i = 0; i < 3 && focused(from); ++i)
            QTest::keyClick(QApplication::focusWidget(), key);
    };
    QWidget *current = f.debtField;
    for (QWidget *next : expected) {
        press(Qt::Key_Tab, current);
        QVERIFY2(focused(next), qPrintable(QApplication::focusWidget()->objectName()));
        current = next;
    }
    for (qsizetype i = expected.size() - 2; i >= 0; --i) {
        press(Qt::Key_Backtab, current);
        QVERIFY2(focused(expected[i]), qPrintable(QApplication::focusWidget()->objectName()));
        current = expected[i];
    }
}

void TestWindow::editingShortcuts() {
    Window &f = open();
    QClipboard *clipboard = QApplication::clipboard();
    QLineEdit *edit = f.debtField;
    edit->setFocus();
    edit->setText(QStringLiteral("123"));
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(clipboard->text(), QStringLiteral("123"));
    QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(edit->text(), QString());
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("123"));
    // Pasted text goes through the number check, by key or by menu.
    edit->clear();
    clipboard->setText(QStringLiteral("12a"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("12"));
    edit->clear();
    QTest::keyClick(edit, Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(edit->text(), QStringLiteral("12"));
    edit->clear();
    edit->paste();
    QCOMPARE(edit->text(), QStringLiteral("12"));
    // The field finds the paste item of its menu, so the menu's paste keeps
    // to the typed length too.
    std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
    const QAction *paste = ui::NumberField::pasteAction(menu.get());
    QVERIFY(paste && paste->text().endsWith(QStringLiteral("Ctrl+V")));
}

void TestWindow::pasteNearTheLimit_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("pasted"); // "\b" and "\x7f": Backspace and Delete instead
    QTest::addColumn<QString>("result");
    QTest::newRow("as much as fits, at the cursor") << "1234567,89" << 0 << "1234"
                                                    << "1231234567,89";
    QTest::newRow("all of it when it fits") << "1,5" << 1 << "23"
                                            << "123,5";
    QTest::newRow("a full field refuses") << "1234567890123" << 5 << "9"
                                          << "1234567890123";
    QTest::newRow("over the selection") << "1234567890123" << -1 << "77,5"
                                        << "77,5";
    QTest::newRow("a longer text of the program refuses") << "9999999999999,00" << 16 << "1"
                                                          << "9999999999999,00";
    QTest::newRow("Backspace never chops the end") << "9999999999999,00" << 16 << "\b"
                                                   << "9999999999999,0";
    QTest::newRow("Delete never chops the end") << "9999999999999,00" << 0 << "\x7f"
                                                << "999999999999,00";
}

void TestWindow::pasteNearTheLimit() {
    QFETCH(QString, start);
    QFETCH(int, cursor);
    QFETCH(QString, pasted);
    QFETCH(QString, result);
    Window &f = open();
    QLineEdit *edit = f.debtField;
    edit->setFocus();
    edit->setText(start);
    if (cursor < 0)
        edit->selectAll();
    else
        edit->setCursorPosition(cursor);
    if (pasted == QStringLiteral("\b")) {
        QTest::keyClick(edit, Qt::Key_Backspace);
    } else if (pasted == QStringLiteral("\x7f")) {
        QTest::keyClick(edit, Qt::Key_Delete);
    } else {
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }
    QCOMPARE(edit->text(), result);
}

void TestWindow::workedExamples() {
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
    f.report->recalculateAction()->trigger();
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
        rates::writeSetting(rates::kSettingsKey, true, QStringLiteral("k_stav"), stored);
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
        rates::writeSetting(rates::kSettingsKey, true, QStringLiteral("dogovor"), stored);
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
    QCOMPARE(rates::readSetting(rates::kSettingsKey, false, QStringLiteral("k_stav")),
             QStringLiteral("300"));
    QCOMPARE(rates::readSetting(rates::kSettingsKey, false, QStringLiteral("dogovor")),
             QStringLiteral("0,25"));

    // Closed by the window manager instead (Alt+F4): stored all the same.
    Window &g = open();
    g.modes->chooseStatutory();
    g.divisorSlider->setValue(100);
    g.window.close();
    QVERIFY(!g.window.isVisible());
    QCOMPARE(rates::readSetting(rates::kSettingsKey, false, QStringLiteral("k_stav")),
             QStringLiteral("100"));
}

void TestWindow::closingWithAnUnwritableStore() {
    Window &f = open();
    QFile::remove(rates::settingsFilePath());
    QDir(QFileInfo(rates::settingsFilePath()).absolutePath()).removeRecursively();
    QFile blocker(QFileInfo(rates::settingsFilePath()).absolutePath());
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

void TestWindow::badStoredData_data() {
    QTest::addColumn<QByteArray>("rateFile");
    QTest::addColumn<bool>("blockSettings");
    QTest::addColumn<QString>("message");
    QTest::newRow("repeated key") << QByteArray("a=1\r\nA=2\r\n") << false << "\"A\"";
    QTest::newRow("key with no date") << QByteArray("x=1\r\ny=2\r\n") << false << "\"x\"";
    QTest::newRow("random bytes") << QByteArray("\x01\xff=\0\x80\r\r\n=", 10) << false << "";
    QTest::newRow("unwritable settings store") << QByteArray() << true << "registry.ini";
}

void TestWindow::badStoredData() {
    QFETCH(QByteArray, rateFile);
    QFETCH(bool, blockSettings);
    QFETCH(QString, message);
    const QString dataDir = env_.path(QStringLiteral("data/Долгомер"));
    const QString path = dataDir + QStringLiteral("/stavki.txt");
    if (blockSettings) {
        QFile blocker(env_.path(QStringLiteral("config")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    } else {
        QDir().mkpath(dataDir);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(rateFile);
        file.close();
        rates::writeSetting(rates::kSettingsKey, true, QStringLiteral("patch"), path);
    }
    Window &f = open();
    QVERIFY(f.window.isVisible());
    if (message.isEmpty()) {
        QVERIFY(boxes_.shown.isEmpty());
    } else {
        // The lookup's error comes last, after any row it selected on the way.
        QVERIFY(!boxes_.shown.isEmpty());
        QVERIFY2(boxes_.shown.last().text.contains(message), qPrintable(boxes_.shown.last().text));
    }
    // The window still calculates.
    f.rateField->setText(QStringLiteral("8,75"));
    f.window.calculate();
    QCOMPARE(f.reportBox->toPlainText().split(u'\n').size(), 6);
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
    QCOMPARE(catcher.opened.size(), 1);
    const QUrl url = catcher.opened[0];
    QCOMPARE(url.scheme(), QStringLiteral("mailto"));
    QVERIFY(url.path().contains(f.contactLink->text()));
    QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
             QStringLiteral("Программа для Долгомер"));

    // No mail program to be found: the address is shown and put on the clipboard.
    const QByteArray path = qgetenv("PATH");
    QTemporaryDir nothing;
    qputenv("PATH", nothing.path().toUtf8());
    QApplication::clipboard()->clear();
    QTest::mouseClick(f.contactLink, Qt::LeftButton);
    qputenv("PATH", path);
    QCOMPARE(boxes_.shown.size(), 1);
    QVERIFY(boxes_.shown[0].text.contains(QStringLiteral("mail@example.ru")));
    QCOMPARE(boxes_.shown[0].icon, MessageBoxes::Icon::Information);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("mail@example.ru"));
}

// A click on a date picker, on its text or on its drop-down button, closes
// the open panels like a click on the background.
void TestWindow::datePickerClickClosesPanels() {
    Window &f = open();
    for (ui::DatePicker *picker : {f.periodStart, f.periodEnd}) {
        for (bool onButton : {false, true}) {
            f.window.openRatePanel();
            f.editor->startEditing();
            QVERIFY(f.ratePanel->isVisible() && f.rateEditor->isVisible());
            QVERIFY(!f.rateField->isEnabled());
            if (onButton)
                QTest::mousePress(picker, Qt::LeftButton, Qt::NoModifier,
                                  QPoint(picker->width() - 6, picker->height() / 2));
            else
                QTest::mouseClick(picker->findChild<QLineEdit *>(), Qt::LeftButton);
            QVERIFY(f.ratePanel->isHidden() && f.rateEditor->isHidden());
            QVERIFY(f.rateField->isEnabled());
            if (QWidget *calendar = QApplication::activePopupWidget()) calendar->close();
        }
    }
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
