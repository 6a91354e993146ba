// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard: what typing does to the number fields, the order Tab walks,
// the editing shortcuts and pastes, and the date pickers' clicks.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <algorithm>
#include <memory>

#include "windowtest.h"

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.start(); }
    void cleanup() { env_.stop(); }
    void typing_data();
    void typing();
    void tabOrder_data();
    void tabOrder();
    void editingShortcuts();
    void pasteNearTheLimit_data();
    void pasteNearTheLimit();
    void datePickerClickClosesPanels();

private:
    Window &open() { return env_.open(); }
    WindowEnv env_;
    ScriptedBoxes &boxes_ = env_.boxes;
};

void TestKeyboard::typing_data() {
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
                               << "0,00001"
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

void TestKeyboard::typing() {
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
// Tab goes as the screen reads, top to bottom and left to right, each
// control once a round; Shift+Tab goes back the same way. What cannot be seen
// is passed over: the report before the first calculation, a mode group not
// chosen, the inputs under the entry editor, the court not checked. Past the
// mode links Tab never opens the rate table; the rate field does, and its
// table comes next.
void TestKeyboard::tabOrder_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QStringList>("order"); // object names, from `from` on
    const QStringList top = {"staleTableNote", "contactLink"};
    const QStringList claim = {"debtField", "taxSlider", "periodStart", "periodEnd",
                               "arbitrationCourt"};
    const QStringList actions = {"calculateLink", "closeLink", "periodsLink", "helpLink"};
    const QStringList report = {"reportBox", "printLink"};
    QTest::newRow("at start") << 0 << "debtField"
                              << claim + QStringList{"statutoryLink", "contractualLink"} + actions +
                                     top;
    QTest::newRow("after a calculation")
        << 1 << "debtField"
        << claim + QStringList{"statutoryLink", "contractualLink"} + actions + report + top;
    QTest::newRow("contractual") << 2 << "debtField"
                                 << claim + QStringList{"dailyRateField", "statutoryLink"} +
                                        actions + report + top;
    QTest::newRow("statutory: the rate field opens its table")
        << 3 << "debtField"
        << claim + QStringList{"rateGrid", "updateLink", "divisorSlider", "contractualLink"} +
               actions + report + top;
    QTest::newRow("the entry editor over the inputs")
        << 4 << "rateGrid"
        << QStringList{"rateGrid",  "updateLink",    "entryDate",
                       "entryRate", "saveEntryLink", "editorCloseLink"} +
               actions + top;
}

void TestKeyboard::tabOrder() {
    QFETCH(int, state);
    QFETCH(QString, from);
    QFETCH(QStringList, order);
    Window &f = open();
    if (state >= 1) f.window.calculate();
    if (state == 2) f.modes->chooseContractual();
    if (state >= 3) f.modes->chooseStatutory();
    if (state == 4) {
        f.window.openRatePanel();
        f.editor->startAdding();
    }
    QWidget *first = f.window.findChild<QWidget *>(from);
    first->setFocus(Qt::OtherFocusReason);
    // A date picker takes three Tabs, one a section; a control is named once.
    const auto walk = [&](Qt::Key key) {
        QStringList seen{from};
        for (int i = 0; i < 60 && seen.size() <= order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QWidget *w = QApplication::focusWidget();
            while (w && w->objectName().isEmpty())
                w = w->parentWidget();
            const QString name = w ? w->objectName() : QStringLiteral("-");
            if (name != seen.last()) seen << name;
        }
        return seen;
    };
    QCOMPARE(walk(Qt::Key_Tab).mid(0, order.size() + 1), order + QStringList{from});
    if (state == 3) return; // backwards the table stays open: its grid comes before the divisor
    QStringList back = order;
    std::reverse(back.begin() + 1, back.end());
    QCOMPARE(walk(Qt::Key_Backtab).mid(0, order.size() + 1), back + QStringList{from});
}

void TestKeyboard::editingShortcuts() {
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

void TestKeyboard::pasteNearTheLimit_data() {
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

void TestKeyboard::pasteNearTheLimit() {
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

// A click on a date picker, on its text or on its drop-down button, closes
// the open panels like a click on the background.
void TestKeyboard::datePickerClickClosesPanels() {
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

QTEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
