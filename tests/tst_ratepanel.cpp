#include "rategrid.h"
#include "rates/ratefile.h"
#include "rates/settings.h"
#include "windowtest.h"

#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QStringEncoder>

namespace {

const QString kCheckInput =
    QStringLiteral("Возможно допущена ошибка в при вводе. Исправите, пожалуйста.");

// A left click on a cell of the grid (row counted from 1, column 0 the key).
void clickCell(ui::RateGrid *grid, int row, int column) {
    const QModelIndex idx = grid->model()->index(row - 1, column);
    grid->scrollTo(idx);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                      grid->visualRect(idx).center());
}

QByteArray cp1251(const QStringList &lines) {
    return rates::encodeRateFile(lines);
}

QStringList history() {
    return rates::RateTable::builtIn().lines();
}

} // namespace

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
    void addShowsTodayAndTheNewestRate();
    void addEntry();
    void addExistingKey();
    void changeEntry();
    void deleteEntries();
    void rateField_data();
    void rateField();
    void unreadableRows_data();
    void unreadableRows();
    void saveFailureIsTold();
    void rightClickKeepsTheSelection();
    void lookupTakesTheNormalisedRate();
    void rowsWithoutARate_data();
    void rowsWithoutARate();
    void refusedFileIsToldOnce();

private:
    Window &openPanel() {
        Window &f = env_.open();
        f.window.openRatePanel();
        return f;
    }
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
    rates::writeSetting(rates::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
    Window &f = env_.open();
    QCOMPARE(f.rateField->text(), QStringLiteral("8,75")); // the lookup only selects the entry
    QCOMPARE(f.rateGrid->rowCount(), 1);
    clickCell(f.rateGrid, 1, 1);
    QCOMPARE(f.rateField->text(), QStringLiteral("7,5"));
    QCOMPARE(fileBytes(env_.rateFile()), cp1251({QStringLiteral("с 1 января 2010 г.=7,5")}));
}

void TestRatePanel::emptyTable() {
    writeFile(env_.rateFile(), QByteArray());
    rates::writeSetting(rates::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
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

void TestRatePanel::addShowsTodayAndTheNewestRate() {
    Window &f = openPanel();
    f.panel->addAction()->trigger();
    QVERIFY(f.rateEditor->isVisible());
    QCOMPARE(f.editorTitle->text(), QStringLiteral("Добавление записи"));
    QVERIFY(f.saveEntryLink->isVisible() && f.saveChangesLink->isHidden());
    QCOMPARE(f.entryDate->date(), QDate::currentDate());
    QCOMPARE(f.entryRate->text(), QStringLiteral("8,75"));
    QCOMPARE(f.entryRate->selectedText(), QStringLiteral("8,75"));
    QCOMPARE(f.window.outerHeight(), 284 + 20 + 49);
    hover(f.saveEntryLink);
    QVERIFY(f.saveEntryLink->font().bold() && f.saveEntryLink->font().underline());
    f.editor->close();
    QVERIFY(f.rateEditor->isHidden() && f.ratePanel->isVisible());
}

void TestRatePanel::addEntry() {
    Window &f = openPanel();
    clickCell(f.rateGrid, 5, 1);
    f.editor->startAdding();
    f.entryDate->setDate(QDate(2010, 3, 1));
    f.entryRate->setText(QStringLiteral("8,5"));
    QTest::mouseClick(f.saveEntryLink, Qt::LeftButton);
    QCOMPARE(f.table().count(), 34);
    QCOMPARE(f.table().line(0), QStringLiteral("с 01 марта 2010 г.=8,5"));
    QCOMPARE(f.rateGrid->selectedRow(), 1);
    QCOMPARE(f.rateField->text(), QStringLiteral("8,75")); // the former first row was selected
    QVERIFY(f.rateEditor->isHidden());
    QCOMPARE(fileBytes(f.rateFilePath()), cp1251(f.table().lines()));
    // The new entry's key writes the day with two digits, so it differs from
    // the history's "с 5 июня 2009 г." although both name one day.
    f.editor->startAdding();
    f.entryDate->setDate(QDate(2009, 6, 5));
    f.entryRate->setText(QStringLiteral(","));
    click(f.saveEntryLink);
    QCOMPARE(f.table().line(0), QStringLiteral("с 05 июня 2009 г.=0"));
    QVERIFY(env_.boxes.shown.isEmpty());
}

void TestRatePanel::addExistingKey() {
    Window &f = openPanel();
    const QByteArray before = fileBytes(f.rateFilePath());
    f.editor->startAdding();
    f.entryDate->setDate(QDate(2009, 12, 28));
    click(f.saveEntryLink);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text,
             QStringLiteral("Дата ставки уникальна. Ошибка в повторении даты введения ставки"));
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка ввода"));
    QCOMPARE(f.table().lines(), history());
    QCOMPARE(fileBytes(f.rateFilePath()), before);
    QVERIFY(f.rateEditor->isHidden());
}

void TestRatePanel::changeEntry() {
    Window &f = openPanel();
    clickCell(f.rateGrid, 3, 1);
    f.panel->editAction()->trigger();
    QVERIFY(f.saveChangesLink->isVisible() && f.saveEntryLink->isHidden());
    QCOMPARE(f.editorTitle->text(), QStringLiteral("Редактирование записи"));
    QCOMPARE(f.window.outerHeight(), 284 + 20 + 45);
    QCOMPARE(f.entryRate->text(), QStringLiteral("9,5"));
    f.entryRate->setText(QStringLiteral("9,75"));
    click(f.saveChangesLink);
    QCOMPARE(f.table().line(2), QStringLiteral("с 30 октября 2009 г.=9,75"));
    QCOMPARE(f.rateField->text(), QStringLiteral("9,5")); // no row selection ran
    QCOMPARE(fileBytes(f.rateFilePath()), cp1251(f.table().lines()));

    // Another entry's date is refused; the entry stays.
    f.editor->startEditing();
    f.entryDate->setDate(QDate(2009, 12, 28));
    click(f.saveChangesLink);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text, kCheckInput);
    QCOMPARE(f.table().line(2), QStringLiteral("с 30 октября 2009 г.=9,75"));

    // The last entry keeps its place.
    QTest::keyClick(f.rateGrid, Qt::Key_End, Qt::ControlModifier);
    f.editor->startEditing();
    f.entryRate->setText(QStringLiteral("56"));
    click(f.saveChangesLink);
    QCOMPARE(f.table().line(32), QStringLiteral("с 10 июня 1999 г.=56"));
}

void TestRatePanel::deleteEntries() {
    Window &f = openPanel();
    QTest::keyClick(f.rateGrid, Qt::Key_End, Qt::ControlModifier);
    env_.boxes.answers = {false};
    f.panel->deleteAction()->trigger();
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text,
             QStringLiteral("Выбранная ставка:\r\n\r\nс 10 июня 1999 г. = 55%\r\n\r\nПроизвести "
                            "удаление?"));
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Подтверждение удаления"));
    QCOMPARE(env_.boxes.shown[0].buttons, MessageBoxes::Buttons::OkCancel);
    QCOMPARE(f.table().count(), 33);

    f.editor->deleteChosen(); // OK this time: the last row goes, the selection moves up
    QCOMPARE(f.table().count(), 32);
    QCOMPARE(f.rateGrid->selectedRow(), 32);
    QCOMPARE(f.rateField->text(), QStringLiteral("45"));
    QCOMPARE(fileBytes(f.rateFilePath()), cp1251(f.table().lines()));

    clickCell(f.rateGrid, 2, 1);
    f.editor->deleteChosen(); // a middle row: the next entry takes its place, the rate stays
    QCOMPARE(f.rateGrid->selectedRow(), 2);
    QCOMPARE(f.table().key(1), QStringLiteral("с 30 октября 2009 г."));
    QCOMPARE(f.rateField->text(), QStringLiteral("9"));
}

void TestRatePanel::rateField_data() {
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("left");
    QTest::newRow("point becomes comma") << "12.5"
                                         << "12,5"
                                         << "12,5";
    QTest::newRow("five characters at most") << "123456"
                                             << "12345"
                                             << "12345";
    QTest::newRow("a second comma") << "1,2,5"
                                    << "1,25"
                                    << "1,25";
    QTest::newRow("trailing comma") << "7,"
                                    << "7,"
                                    << "7";
}

void TestRatePanel::rateField() {
    QFETCH(QString, keys);
    QFETCH(QString, typed);
    QFETCH(QString, left);
    Window &f = openPanel();
    f.editor->startAdding();
    f.entryRate->setFocus();
    f.entryRate->selectAll();
    QTest::keyClick(f.entryRate, Qt::Key_Backspace);
    QCOMPARE(f.entryRate->text(), QStringLiteral("0")); // emptied, it shows 0, selected
    QCOMPARE(f.entryRate->selectedText(), QStringLiteral("0"));
    QTest::keyClicks(f.entryRate, keys);
    QCOMPARE(f.entryRate->text(), typed);
    f.entryDate->setFocus(Qt::TabFocusReason);
    QCOMPARE(f.entryRate->text(), left);
}

void TestRatePanel::unreadableRows_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("stored");
    QTest::newRow("rate not a number") << "с 1 мая 2009 г.=1,2,3"
                                       << "с 1 мая 2009 г.=1,2,3";
    QTest::newRow("impossible day") << "с 31 июня 2009 г.= 7.5"
                                    << "с 31 июня 2009 г.=7,5";
    QTest::newRow("key of one word") << "июнь=7"
                                     << "июнь=7";
}

void TestRatePanel::unreadableRows() {
    QFETCH(QString, line);
    QFETCH(QString, stored);
    writeFile(env_.rateFile(), cp1251({QStringLiteral("с 1 января 2010 г.=8"), line}));
    rates::writeSetting(rates::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
    Window &f = env_.open();
    // The start-up lookup selected the bad last row first.
    QVERIFY(!env_.boxes.shown.isEmpty());
    QCOMPARE(env_.boxes.shown[0].text, kCheckInput);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка ввода"));
    f.window.openRatePanel();
    f.editor->close();
    env_.boxes.shown.clear();
    clickCell(f.rateGrid, 2, 1);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QVERIFY(f.rateEditor->isVisible() && f.saveChangesLink->isVisible());
    QCOMPARE(f.table().line(1), stored);
    QCOMPARE(fileBytes(env_.rateFile()).contains(cp1251({stored})), true);
}

void TestRatePanel::saveFailureIsTold() {
    Window &f = openPanel();
    const QString good = f.rateFilePath();
    const QByteArray before = fileBytes(good);
    f.panel->setRateFilePath(env_.path(QStringLiteral("missing/stavki.txt")));
    f.editor->startAdding();
    f.entryDate->setDate(QDate(2010, 3, 1));
    click(f.saveEntryLink);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка сохранения"));
    QVERIFY(env_.boxes.shown[0].text.contains(QStringLiteral("missing")));
    QCOMPARE(f.table().count(), 34); // the grid keeps the change
    QCOMPARE(fileBytes(good), before);
    // The next save that works makes file and grid agree.
    f.panel->setRateFilePath(good);
    clickCell(f.rateGrid, 2, 1);
    QCOMPARE(fileBytes(good), cp1251(f.table().lines()));
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
    rates::writeSetting(rates::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
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
    rates::writeSetting(rates::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
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
// serves quietly, and an edit that cannot be saved is told in one box.
void TestRatePanel::refusedFileIsToldOnce() {
    writeFile(env_.rateFile(), QByteArray("с 1 января 2010 г.=8\r\n"));
    QFile big(env_.rateFile());
    QVERIFY(big.open(QIODevice::ReadWrite) && big.resize(65 * 1024 * 1024));
    big.close();
    rates::writeSetting(rates::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
    Window &f = env_.open();
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(f.rateFilePath(), QString());
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
    QCOMPARE(QFileInfo(env_.rateFile()).size(), 65 * 1024 * 1024);
}

QTEST_MAIN(TestRatePanel)
#include "tst_ratepanel.moc"
