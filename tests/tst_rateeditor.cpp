// SPDX-License-Identifier: GPL-3.0-or-later
// The entry editor: adding, changing and deleting rate entries, what the
// rate field accepts, and a save that fails.
#include "storage/ratefile.h"
#include "storagetest.h"
#include "windowtest.h"

#include <optional>

#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

class TestRateEditor : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.start(); }
    void cleanup() { env_.stop(); }
    void addShowsTodayAndTheNewestRate();
    void addEntry();
    void enterInEitherFieldSaves_data();
    void enterInEitherFieldSaves();
    void unchargeableRateRefused_data();
    void unchargeableRateRefused();
    void addExistingKey();
    void changeEntry();
    void deleteEntries();
    void rateField_data();
    void rateField();
    void unsavedChangeIsNotDroppedSilently();
    void editsKeepOtherProgramsLines();
    void saveFailureIsTold_data();
    void saveFailureIsTold();

private:
    Window &openPanel() { return env_.openPanel(); }
    WindowEnv env_;
};

void TestRateEditor::addShowsTodayAndTheNewestRate() {
    Window &f = openPanel();
    named<QAction>(&f.window, "addRate")->trigger();
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

void TestRateEditor::addEntry() {
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
    f.entryRate->setText(QStringLiteral("7,25"));
    click(f.saveEntryLink);
    QCOMPARE(f.table().line(0), QStringLiteral("с 05 июня 2009 г.=7,25"));
    QVERIFY(env_.boxes.shown.isEmpty());
}

// The editor opens on its first field; Enter in either field saves as the
// link of its mode would.
void TestRateEditor::enterInEitherFieldSaves_data() {
    QTest::addColumn<bool>("adding");
    QTest::addColumn<bool>("inRate");
    QTest::newRow("adding, Enter in the date") << true << false;
    QTest::newRow("adding, Enter in the rate") << true << true;
    QTest::newRow("changing, Enter in the date") << false << false;
    QTest::newRow("changing, Enter in the rate") << false << true;
}

void TestRateEditor::enterInEitherFieldSaves() {
    QFETCH(bool, adding);
    QFETCH(bool, inRate);
    Window &f = openPanel();
    clickCell(f.rateGrid, 3, 1);
    adding ? f.editor->startAdding() : f.editor->startEditing();
    QVERIFY(f.entryDate->isAncestorOf(QApplication::focusWidget()) || f.entryDate->hasFocus());
    f.entryDate->setDate(QDate(2010, 3, 1));
    f.entryRate->setText(QStringLiteral("7,25"));
    QWidget *field = inRate ? static_cast<QWidget *>(f.entryRate) : f.entryDate;
    field->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(f.table().line(adding ? 0 : 2), QStringLiteral("с 01 марта 2010 г.=7,25"));
    QVERIFY(f.rateEditor->isHidden());
    QVERIFY(env_.boxes.shown.isEmpty());
}

// A rate that could never be charged (0 once was saved and charged) is
// refused in both modes: nothing saved, the editor open on the rate.
void TestRateEditor::unchargeableRateRefused_data() {
    QTest::addColumn<bool>("adding");
    QTest::addColumn<QString>("typed");
    QTest::newRow("adding, emptied to 0") << true << ",";
    QTest::newRow("adding, 101") << true << "101";
    QTest::newRow("changing, 0") << false << "0";
    QTest::newRow("changing, 100,01") << false << "100,01";
}

void TestRateEditor::unchargeableRateRefused() {
    QFETCH(bool, adding);
    QFETCH(QString, typed);
    Window &f = openPanel();
    clickCell(f.rateGrid, 3, 1);
    const QByteArray before = fileBytes(f.rateFilePath());
    const QStringList lines = f.table().lines();
    adding ? f.editor->startAdding() : f.editor->startEditing();
    f.entryDate->setDate(QDate(2010, 3, 1));
    f.entryRate->setText(typed);
    click(adding ? f.saveEntryLink : f.saveChangesLink);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text, QStringLiteral("Введите ставку больше 0 и не больше 100%."));
    QCOMPARE(f.table().lines(), lines);
    QCOMPARE(fileBytes(f.rateFilePath()), before);
    QVERIFY(f.rateEditor->isVisible());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(f.entryRate));
}

void TestRateEditor::addExistingKey() {
    Window &f = openPanel();
    const QByteArray before = fileBytes(f.rateFilePath());
    f.editor->startAdding();
    f.entryDate->setDate(QDate(2009, 12, 28));
    click(f.saveEntryLink);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text,
             QStringLiteral("Запись с этой датой уже есть в таблице. Дата введения ставки "
                            "должна быть уникальной."));
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка ввода"));
    QCOMPARE(f.table().lines(), history());
    QCOMPARE(fileBytes(f.rateFilePath()), before);
    QVERIFY(f.rateEditor->isHidden());
}

void TestRateEditor::changeEntry() {
    Window &f = openPanel();
    clickCell(f.rateGrid, 3, 1);
    named<QAction>(&f.window, "editRate")->trigger();
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

void TestRateEditor::deleteEntries() {
    Window &f = openPanel();
    QTest::keyClick(f.rateGrid, Qt::Key_End, Qt::ControlModifier);
    env_.boxes.answers = {false};
    named<QAction>(&f.window, "deleteRate")->trigger();
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

void TestRateEditor::rateField_data() {
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

void TestRateEditor::rateField() {
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

void TestRateEditor::saveFailureIsTold_data() {
    QTest::addColumn<bool>("fullDisk"); // else the file's folder is gone
    QTest::addColumn<QString>("told");
    QTest::newRow("folder gone") << false << "missing";
    QTest::newRow("full disk") << true << "stavki.txt";
}

void TestRateEditor::saveFailureIsTold() {
    QFETCH(bool, fullDisk);
    QFETCH(QString, told);
    Window &f = openPanel();
    const QString good = f.rateFilePath();
    const QByteArray before = fileBytes(good);
    if (!fullDisk) f.panel->setRateFilePath(env_.path(QStringLiteral("missing/stavki.txt")));
    f.editor->startAdding();
    f.entryDate->setDate(QDate(2010, 3, 1));
    {
        std::optional<FileSizeLimit> limit;
        if (fullDisk) limit.emplace(512);
        click(f.saveEntryLink);
    }
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка сохранения"));
    QVERIFY(env_.boxes.shown[0].text.contains(told));
    QCOMPARE(f.table().count(), 34); // the grid keeps the change
    QCOMPARE(fileBytes(good), before);
    // The next save that works makes file and grid agree.
    f.panel->setRateFilePath(good);
    clickCell(f.rateGrid, 2, 1);
    QCOMPARE(fileBytes(good), cp1251(f.table().lines()));
}

// A folder where nothing can be written: the deletion that could not be
// saved is told once, later choices of rows say nothing more, and closing
// asks before the change is lost.
void TestRateEditor::unsavedChangeIsNotDroppedSilently() {
    Window &f = openPanel();
    const QByteArray before = fileBytes(f.rateFilePath());
    FileSizeLimit full(512);
    clickCell(f.rateGrid, 1, 1);
    f.editor->deleteChosen();
    QCOMPARE(env_.boxes.shown.size(), 2); // the question, then the failure
    QCOMPARE(env_.boxes.shown[1].caption, QStringLiteral("Ошибка сохранения"));
    for (int row : {1, 4, 5}) // rates in their normal form: no change of their own
        clickCell(f.rateGrid, row, 1);
    QCOMPARE(env_.boxes.shown.size(), 2);
    QCOMPARE(fileBytes(f.rateFilePath()), before);

    env_.boxes.answers = {false};
    f.window.close();
    QCOMPARE(env_.boxes.shown.size(), 3);
    QVERIFY2(env_.boxes.shown[2].text.startsWith(
                 QStringLiteral("Изменения таблицы ставок не сохранены в файл")),
             qPrintable(env_.boxes.shown[2].text));
    QCOMPARE(env_.boxes.shown[2].buttons, MessageBoxes::Buttons::YesNo);
    QVERIFY(f.window.isVisible());
    env_.boxes.answers = {true};
    f.window.close();
    QVERIFY(!f.window.isVisible());
}

// Two windows on one data folder, and a line added by hand while a window is
// open: every edit is saved over the file as it is on disk, never over the
// table as it was read.
void TestRateEditor::editsKeepOtherProgramsLines() {
    Window &a = openPanel();
    ui::MainWindow second(&env_.boxes);
    Window b(second);
    b.window.openRatePanel();
    const auto add = [](Window &w, QDate date) {
        w.editor->startAdding();
        w.entryDate->setDate(date);
        click(w.saveEntryLink);
    };
    add(a, QDate(2010, 3, 1));
    add(b, QDate(2010, 4, 1));
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text,
             QStringLiteral("Файл ставок изменен другой программой; таблица перечитана, ваше "
                            "изменение внесено."));
    QCOMPARE(b.table().count(), 35);
    QCOMPARE(fileBytes(env_.rateFile()), cp1251(b.table().lines()));
    // The first window shows the file's table when it next needs the table.
    a.window.closePanels();
    a.window.openRatePanel();
    QCOMPARE(a.table().lines(), b.table().lines());

    // A line appended by hand survives the next edit.
    const QByteArray byHand = fileBytes(env_.rateFile()) + cp1251({"с 1 января 1999 г.=60"});
    writeFile(env_.rateFile(), byHand);
    add(a, QDate(2010, 5, 1));
    QCOMPARE(a.table().lines().last(), QStringLiteral("с 1 января 1999 г.=60"));
    QCOMPARE(a.table().key(0), QStringLiteral("с 01 мая 2010 г."));
    QCOMPARE(fileBytes(env_.rateFile()), cp1251(a.table().lines()));
}

QTEST_MAIN(TestRateEditor)
#include "tst_rateeditor.moc"
