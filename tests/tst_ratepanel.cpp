// SPDX-License-Identifier: GPL-3.0-or-later
#include "storage/ratefile.h"
#include "storage/settings.h"
#include "ui/rates/rategrid.h"
#include "windowtest.h"

#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QStringEncoder>
#include <QTimer>

class TestRatePanel : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.start(); }
    void cleanup() { env_.stop(); }
    void clickingARowMakesItsRateCurrent();
    void keyCellClickKeepsTheSelection();
    void keyboard();
    void oneEntryTable();
    void emptyTable();
    void unreadableRows_data();
    void unreadableRows();
    void rightClickKeepsTheSelection();
    void lookupTakesTheNormalisedRate();
    void rowsWithoutARate_data();
    void rowsWithoutARate();
    void refusedFileIsToldOnce();
    void unusableRowKeepsTheRate();
    void chosenRateSurvivesReopening_data();
    void chosenRateSurvivesReopening();
    void staleTableNote();

private:
    Window &openPanel() { return env_.openPanel(); }
    WindowEnv env_;
};

void TestRatePanel::clickingARowMakesItsRateCurrent() {
    Window &f = openPanel();
    QVERIFY(f.ratePanel->isVisible() && !f.rateField->isEnabled());
    QCOMPARE(f.rateGrid->selectedRow(), 1);
    clickCell(f.rateGrid, 4, 1);
    QCOMPARE(f.rateGrid->selectedRow(), 4);
    QCOMPARE(f.table().line(3), QStringLiteral("с 30 сентября 2009 г.=10"));
    QCOMPARE(f.rateField->text(), QStringLiteral("10"));
    QCOMPARE(f.entryRate->text(), QStringLiteral("10"));
    QCOMPARE(f.entryDate->date(), QDate(2009, 9, 30));
    QStringList expected = history();
    expected[3] = QStringLiteral("с 30 сентября 2009 г.=10");
    QCOMPARE(fileBytes(f.rateFilePath()), cp1251(expected));
    // A double click chooses and closes the panel.
    QTest::mouseDClick(f.rateGrid->viewport(), Qt::LeftButton, Qt::NoModifier,
                       f.rateGrid->visualRect(f.rateGrid->model()->index(3, 1)).center());
    QVERIFY(f.ratePanel->isHidden() && f.rateField->isEnabled());
    QVERIFY(env_.boxes.shown.isEmpty());
}

void TestRatePanel::keyCellClickKeepsTheSelection() {
    Window &f = openPanel();
    clickCell(f.rateGrid, 5, 0);
    QCOMPARE(f.rateField->text(), QStringLiteral("10,5"));
    QCOMPARE(f.rateGrid->selectedRow(), 1);
    // Clicking the selected row again runs the selection again.
    f.rateField->setText(QStringLiteral("x"));
    clickCell(f.rateGrid, 1, 1);
    QCOMPARE(f.rateField->text(), QStringLiteral("8,75"));
}

void TestRatePanel::keyboard() {
    Window &f = openPanel();
    QTest::keyClick(f.rateGrid, Qt::Key_Up);
    QCOMPARE(f.rateGrid->selectedRow(), 1);
    QTest::keyClick(f.rateGrid, Qt::Key_Down);
    QCOMPARE(f.rateGrid->selectedRow(), 2);
    QCOMPARE(f.rateField->text(), QStringLiteral("9"));
    QTest::keyClick(f.rateGrid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(f.rateGrid->selectedRow(), 33);
    QCOMPARE(f.rateField->text(), QStringLiteral("55"));
    QTest::keyClick(f.rateGrid, Qt::Key_A);
    QVERIFY(f.ratePanel->isVisible());
    QTest::keyClick(f.rateGrid, Qt::Key_Return);
    QVERIFY(f.ratePanel->isHidden() && f.rateField->isEnabled());
}

void TestRatePanel::oneEntryTable() {
    writeFile(env_.rateFile(), cp1251({QStringLiteral("с 1 января 2010 г.=7.5 ")}));
    storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
    Window &f = env_.open();
    QCOMPARE(f.rateField->text(), QStringLiteral("8,75")); // the lookup only selects the entry
    QCOMPARE(f.rateGrid->rowCount(), 1);
    clickCell(f.rateGrid, 1, 1);
    QCOMPARE(f.rateField->text(), QStringLiteral("7,5"));
    QCOMPARE(fileBytes(env_.rateFile()), cp1251({QStringLiteral("с 1 января 2010 г.=7,5")}));
}

void TestRatePanel::emptyTable() {
    writeFile(env_.rateFile(), QByteArray());
    storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
    Window &f = openPanel();
    QCOMPARE(f.table().count(), 0);
    QCOMPARE(f.rateGrid->rowCount(), 1);
    QCOMPARE(f.rateField->text(), QStringLiteral("8,75"));
    clickCell(f.rateGrid, 1, 1);
    f.editor->deleteChosen(); // nothing to delete: no question, no error
    QVERIFY(env_.boxes.shown.isEmpty());
    // Adding into the empty table.
    f.editor->startAdding();
    QCOMPARE(f.entryRate->text(), QStringLiteral("0"));
    f.entryDate->setDate(QDate(2010, 6, 1));
    f.entryRate->setText(QStringLiteral("7,75"));
    click(f.saveEntryLink);
    QCOMPARE(f.table().lines(), QStringList{QStringLiteral("с 01 июня 2010 г.=7,75")});
    QCOMPARE(fileBytes(env_.rateFile()), cp1251(f.table().lines()));
}

void TestRatePanel::unreadableRows_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("rateRefused"); // else the date: the editor opens to mend it
    QTest::newRow("rate not a number") << "с 1 мая 2009 г.=1,2,3"
                                       << "с 1 мая 2009 г.=1,2,3" << true;
    QTest::newRow("impossible day") << "с 31 июня 2009 г.= 7.5"
                                    << "с 31 июня 2009 г.=7,5" << false;
    QTest::newRow("key of one word") << "июнь=7"
                                     << "июнь=7" << false;
}

void TestRatePanel::unreadableRows() {
    QFETCH(QString, line);
    QFETCH(QString, stored);
    QFETCH(bool, rateRefused);
    writeFile(env_.rateFile(), cp1251({QStringLiteral("с 1 января 2010 г.=8"), line}));
    storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
    Window &f = env_.open();
    // The start-up lookup selected the bad last row first; a rate that is no
    // rate is named with its line.
    const QString told = rateRefused
                             ? QStringLiteral("В строке таблицы ставок \"%1\" нет ставки, "
                                              "которую можно применить. Ставка не изменена.")
                                   .arg(line)
                             : kCheckInput;
    QVERIFY(!env_.boxes.shown.isEmpty());
    QCOMPARE(env_.boxes.shown[0].text, told);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка ввода"));
    QCOMPARE(f.rateField->text(), QStringLiteral("8"));
    f.window.openRatePanel();
    f.editor->close();
    env_.boxes.shown.clear();
    clickCell(f.rateGrid, 2, 1);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text, told);
    QCOMPARE(f.rateEditor->isVisible(), !rateRefused);
    QCOMPARE(f.rateField->text(), QStringLiteral("8"));
    QCOMPARE(f.table().line(1), stored);
    QCOMPARE(fileBytes(env_.rateFile()).contains(cp1251({stored})), true);
}

void TestRatePanel::rightClickKeepsTheSelection() {
    Window &f = openPanel();
    const QModelIndex idx = f.rateGrid->model()->index(4, 1);
    QTest::mousePress(f.rateGrid->viewport(), Qt::RightButton, Qt::NoModifier,
                      f.rateGrid->visualRect(idx).center());
    QCOMPARE(f.rateGrid->selectedRow(), 1);
    QCOMPARE(f.rateField->text(), QStringLiteral("8,75"));
}

// The lookup puts a row's normalised rate into the field and the file, also
// when the end date lies before every entry.
void TestRatePanel::lookupTakesTheNormalisedRate() {
    writeFile(env_.rateFile(), cp1251({QStringLiteral("с 1 января 2010 г.=8"),
                                       QStringLiteral("с 1 января 2009 г.= 7.5")}));
    storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
    Window &f = env_.open();
    f.periodEnd->setDate(QDate(2008, 6, 1));
    QCOMPARE(f.rateField->text(), QStringLiteral("7,5"));
    f.periodEnd->setDate(QDate(2010, 6, 1));
    f.periodEnd->setDate(QDate(2008, 6, 2));
    QCOMPARE(f.rateField->text(), QStringLiteral("7,5"));
    QCOMPARE(fileBytes(env_.rateFile()), cp1251({QStringLiteral("с 1 января 2010 г.=8"),
                                                 QStringLiteral("с 1 января 2009 г.=7,5")}));
    f.window.calculate();
    QCOMPARE(f.reportBox->toPlainText().split(u'\n').size(), 6);
    QVERIFY(env_.boxes.shown.isEmpty());
}

void TestRatePanel::rowsWithoutARate_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("no \"=\"") << "с 1 января 2009 г.";
    QTest::newRow("nothing after \"=\"") << "с 1 января 2009 г.=";
    QTest::newRow("blanks after \"=\"") << "с 1 января 2009 г.=  ";
}

// A row with no rate, reached by the lookup or chosen by a click, is named in
// a message and the rate of the claim stays; start-up passes it quietly.
void TestRatePanel::rowsWithoutARate() {
    QFETCH(QString, line);
    writeFile(env_.rateFile(), cp1251({QStringLiteral("с 1 января 2010 г.=8"), line}));
    storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
    Window &f = env_.open();
    QVERIFY(env_.boxes.shown.isEmpty());
    QCOMPARE(f.rateField->text(), QStringLiteral("8"));
    f.periodEnd->setDate(QDate(2009, 6, 1));
    QCOMPARE(env_.boxes.shown.size(), 1);
    QVERIFY2(env_.boxes.shown[0].text.contains(u'"' + line + u'"'),
             qPrintable(env_.boxes.shown[0].text));
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка ввода"));
    QCOMPARE(f.rateField->text(), QStringLiteral("8"));
    env_.boxes.shown.clear();
    f.window.openRatePanel(); // the lookup lands on it again
    env_.boxes.shown.clear();
    clickCell(f.rateGrid, 1, 1);
    clickCell(f.rateGrid, 2, 1);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(f.rateField->text(), QStringLiteral("8"));
    f.window.calculate();
    QCOMPARE(f.reportBox->toPlainText().split(u'\n').size(), 6);
}

// A rate file that cannot be read is told once; the built-in table then
// serves quietly, and an edit that cannot be saved is told in one box that
// says why (the file is known, it was refused).
void TestRatePanel::refusedFileIsToldOnce() {
    writeFile(env_.rateFile(), QByteArray("с 1 января 2010 г.=8\r\n"));
    QFile big(env_.rateFile());
    QVERIFY(big.open(QIODevice::ReadWrite) && big.resize(65 * 1024 * 1024));
    big.close();
    storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
    Window &f = env_.open();
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(f.rateFilePath(), env_.rateFile());
    env_.boxes.shown.clear();
    f.periodEnd->setDate(QDate(2008, 7, 14));
    f.window.openRatePanel();
    clickCell(f.rateGrid, 5, 1);
    QTest::keyClick(f.rateGrid, Qt::Key_Down);
    QVERIFY(env_.boxes.shown.isEmpty());
    QCOMPARE(f.rateField->text(), QStringLiteral("10,75"));
    f.editor->startAdding();
    f.entryDate->setDate(QDate(2010, 3, 1));
    click(f.saveEntryLink);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка сохранения"));
    QVERIFY2(env_.boxes.shown[0].text.contains(QStringLiteral("слишком велик")),
             qPrintable(env_.boxes.shown[0].text));
    QCOMPARE(QFileInfo(env_.rateFile()).size(), 65 * 1024 * 1024);
}

// The entry in force has no usable rate: the claim's rate stays what it was,
// as the box says, the box comes once while the end date moves through that
// entry's span, and each row without a rate is named however it is reached.
void TestRatePanel::unusableRowKeepsTheRate() {
    const QStringList lines = {"с 01 января 2020 г.=7,5", "с 01 января 2015 г.",
                               "с 01 января 2010 г.=abc", "с 01 января 2005 г.=9"};
    writeFile(env_.rateFile(), cp1251(lines));
    storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
    Window &f = env_.open();
    QVERIFY(env_.boxes.shown.isEmpty());
    QCOMPARE(f.rateField->text(), QStringLiteral("7,5"));
    f.periodEnd->setDate(QDate(2016, 6, 15));
    f.periodEnd->setDate(QDate(2016, 7, 15));
    f.window.openRatePanel();
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text,
             QStringLiteral("В строке таблицы ставок \"с 01 января 2015 г.\" нет ставки, которую "
                            "можно применить. Ставка не изменена."));
    QCOMPARE(f.rateField->text(), QStringLiteral("7,5"));
    // Opened, the table shows the row the claim's rate came from.
    QCOMPARE(f.rateGrid->selectedRow(), 1);
    // Moved onto by the keyboard, each row without a rate is named and the
    // editor stays shut.
    QTest::keyClick(f.rateGrid, Qt::Key_Down);
    QTest::keyClick(f.rateGrid, Qt::Key_Down);
    QCOMPARE(env_.boxes.shown.size(), 3);
    QVERIFY2(env_.boxes.shown[2].text.contains(QStringLiteral("\"с 01 января 2010 г.=abc\"")),
             qPrintable(env_.boxes.shown[2].text));
    QVERIFY(f.rateEditor->isHidden());
    QCOMPARE(f.rateField->text(), QStringLiteral("7,5"));
    QTest::keyClick(f.rateGrid, Qt::Key_Down);
    QCOMPARE(f.rateField->text(), QStringLiteral("9"));
    QCOMPARE(env_.boxes.shown.size(), 3);
}

// The rate the user chose stays when the table is opened again, by the mouse
// or by the keyboard: opening shows that row and changes nothing.
void TestRatePanel::chosenRateSurvivesReopening_data() {
    QTest::addColumn<bool>("byKeyboard");
    QTest::newRow("mouse") << false;
    QTest::newRow("keyboard") << true;
}

void TestRatePanel::chosenRateSurvivesReopening() {
    QFETCH(bool, byKeyboard);
    Window &f = env_.open();
    f.periodStart->setDate(QDate(2010, 1, 1));
    f.periodEnd->setDate(QDate(2010, 1, 30));
    QCOMPARE(f.rateField->text(), QStringLiteral("8,75"));
    f.window.openRatePanel();
    const int chosen = 3; // "с 30 октября 2009 г.=9,5"
    if (byKeyboard) {
        for (int row = f.rateGrid->selectedRow(); row < chosen; ++row)
            QTest::keyClick(f.rateGrid, Qt::Key_Down);
        QTest::keyClick(f.rateGrid, Qt::Key_Return);
    } else {
        clickCell(f.rateGrid, chosen, 1);
        f.window.closePanels();
    }
    QCOMPARE(f.rateField->text(), QStringLiteral("9,5"));
    f.window.openRatePanel();
    QCOMPARE(f.rateGrid->selectedRow(), chosen);
    QCOMPARE(f.rateField->text(), QStringLiteral("9,5"));
    f.window.closePanels();
    f.window.calculate();
    QCOMPARE(f.reportBox->toPlainText().split(u'\n').value(1),
             QStringLiteral("Ставка рефинансирования: 9,5%"));
    QVERIFY(env_.boxes.shown.isEmpty());
}

// A table whose newest entry is more than a year older than the period's end
// is said so above the window, never in the report, until it covers the date.
void TestRatePanel::staleTableNote() {
    Window &f = env_.open();
    ui::LinkLabel *note = named<ui::LinkLabel>(&f.window, "staleTableNote");
    f.periodEnd->setDate(QDate(2010, 12, 28));
    QVERIFY(note->isHidden());
    f.periodEnd->setDate(QDate(2010, 12, 29));
    QVERIFY(note->isVisible());
    QCOMPARE(note->text(), QStringLiteral("Ставки в таблице — по 28.12.2009; обновите таблицу"));
    click(f.calculateLink);
    QVERIFY(!f.reportBox->toPlainText().contains(QStringLiteral("обновите")));
    // The line offers the rates the program knows; "Нет" opens the table,
    // whose foot has the update link.
    env_.boxes.answers = {false};
    click(note);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QVERIFY(env_.boxes.shown[0].text.contains(
        QStringLiteral("Программе известна ключевая ставка Банка России по 27.07.2026")));
    // Taking them costs nothing (the table's old lines go to .bak): Enter says "Да".
    QCOMPARE(env_.boxes.shown[0].buttons, ui::MessageBoxes::Buttons::YesByDefault);
    ui::QtMessageBoxes real;
    for (const auto &[buttons, yes] : {std::pair{ui::MessageBoxes::Buttons::YesByDefault, true},
                                       {ui::MessageBoxes::Buttons::YesNo, false}}) {
        QTimer::singleShot(
            0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
        QCOMPARE(real.show(&f.window, QStringLiteral("?"), QStringLiteral("?"),
                           ui::MessageBoxes::Icon::Question, buttons),
                 yes);
    }
    QVERIFY(f.ratePanel->isVisible());
    f.editor->startAdding();
    f.entryDate->setDate(QDate(2010, 6, 1));
    click(f.saveEntryLink);
    QVERIFY(note->isHidden());
    // "Да": the table takes them, the user's entry of 2010 kept, and the
    // claim of November 2024 is no longer stale.
    f.periodEnd->setDate(QDate(2024, 11, 30));
    QVERIFY(note->isVisible());
    env_.boxes.answers = {true};
    click(note);
    QVERIFY(note->isHidden());
    QVERIFY(env_.boxes.shown.last().text.contains(QStringLiteral("известными программе")));
    QCOMPARE(f.table().line(0), QStringLiteral("с 27 июля 2026 г.=14"));
    QVERIFY(f.table().lines().contains(QStringLiteral("с 01 июня 2010 г.=8,75")));
}

QTEST_MAIN(TestRatePanel)
#include "tst_ratepanel.moc"
