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
    return rates::EncodeRateFile(lines);
}

QStringList history() {
    return rates::RateTable::BuiltIn().lines();
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

private:
    TForm1 &openPanel() {
        TForm1 &f = env_.open();
        f.Edit5Click();
        return f;
    }
    WindowEnv env_;
};

void TestRatePanel::clickingARowMakesItsRateCurrent() {
    TForm1 &f = openPanel();
    QVERIFY(f.Panel2->isVisible() && !f.Edit5->isEnabled());
    QCOMPARE(f.ValueListEditor1->selectedRow(), 1);
    clickCell(f.ValueListEditor1, 4, 1);
    QCOMPARE(f.ValueListEditor1->selectedRow(), 4);
    QCOMPARE(f.table.line(3), QStringLiteral("с 30 сентября 2009 г.=10"));
    QCOMPARE(f.Edit5->text(), QStringLiteral("10"));
    QCOMPARE(f.Edit2->text(), QStringLiteral("10"));
    QCOMPARE(f.DateTimePicker3->date(), QDate(2009, 9, 30));
    QStringList expected = history();
    expected[3] = QStringLiteral("с 30 сентября 2009 г.=10");
    QCOMPARE(fileBytes(f.RateFilePath), cp1251(expected));
    // A double click chooses and closes the panel.
    QTest::mouseDClick(
        f.ValueListEditor1->viewport(), Qt::LeftButton, Qt::NoModifier,
        f.ValueListEditor1->visualRect(f.ValueListEditor1->model()->index(3, 1)).center());
    QVERIFY(f.Panel2->isHidden() && f.Edit5->isEnabled());
    QVERIFY(env_.boxes.shown.isEmpty());
}

void TestRatePanel::keyCellClickKeepsTheSelection() {
    TForm1 &f = openPanel();
    clickCell(f.ValueListEditor1, 5, 0);
    QCOMPARE(f.Edit5->text(), QStringLiteral("10,5"));
    QCOMPARE(f.ValueListEditor1->selectedRow(), 1);
    // Clicking the selected row again runs the selection again.
    f.Edit5->setText(QStringLiteral("x"));
    clickCell(f.ValueListEditor1, 1, 1);
    QCOMPARE(f.Edit5->text(), QStringLiteral("8,75"));
}

void TestRatePanel::keyboard() {
    TForm1 &f = openPanel();
    QTest::keyClick(f.ValueListEditor1, Qt::Key_Up);
    QCOMPARE(f.ValueListEditor1->selectedRow(), 1);
    QTest::keyClick(f.ValueListEditor1, Qt::Key_Down);
    QCOMPARE(f.ValueListEditor1->selectedRow(), 2);
    QCOMPARE(f.Edit5->text(), QStringLiteral("9"));
    QTest::keyClick(f.ValueListEditor1, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(f.ValueListEditor1->selectedRow(), 33);
    QCOMPARE(f.Edit5->text(), QStringLiteral("55"));
    QTest::keyClick(f.ValueListEditor1, Qt::Key_A);
    QVERIFY(f.Panel2->isVisible());
    QTest::keyClick(f.ValueListEditor1, Qt::Key_Return);
    QVERIFY(f.Panel2->isHidden() && f.Edit5->isEnabled());
}

void TestRatePanel::oneEntryTable() {
    writeFile(env_.rateFile(), cp1251({QStringLiteral("с 1 января 2010 г.=7.5 ")}));
    rates::SettingWrite(rates::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
    TForm1 &f = env_.open();
    QCOMPARE(f.Edit5->text(), QStringLiteral("8,75")); // the lookup only selects the entry
    QCOMPARE(f.ValueListEditor1->rowCount(), 1);
    clickCell(f.ValueListEditor1, 1, 1);
    QCOMPARE(f.Edit5->text(), QStringLiteral("7,5"));
    QCOMPARE(fileBytes(env_.rateFile()), cp1251({QStringLiteral("с 1 января 2010 г.=7,5")}));
}

void TestRatePanel::emptyTable() {
    writeFile(env_.rateFile(), QByteArray());
    rates::SettingWrite(rates::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
    TForm1 &f = openPanel();
    QCOMPARE(f.table.count(), 0);
    QCOMPARE(f.ValueListEditor1->rowCount(), 1);
    QCOMPARE(f.Edit5->text(), QStringLiteral("8,75"));
    clickCell(f.ValueListEditor1, 1, 1);
    f.N2Click(); // nothing to delete: no question, no error
    QVERIFY(env_.boxes.shown.isEmpty());
    // Adding into the empty table.
    f.addClick();
    QCOMPARE(f.Edit2->text(), QStringLiteral("0"));
    f.DateTimePicker3->setDate(QDate(2010, 6, 1));
    f.Edit2->setText(QStringLiteral("7,75"));
    f.Label16Click();
    QCOMPARE(f.table.lines(), QStringList{QStringLiteral("с 01 июня 2010 г.=7,75")});
    QCOMPARE(fileBytes(env_.rateFile()), cp1251(f.table.lines()));
}

void TestRatePanel::addShowsTodayAndTheNewestRate() {
    TForm1 &f = openPanel();
    f.add->trigger();
    QVERIFY(f.Panel1->isVisible());
    QCOMPARE(f.Label15->text(), QStringLiteral("Добавление записи"));
    QVERIFY(f.Label16->isVisible() && f.Label22->isHidden());
    QCOMPARE(f.DateTimePicker3->date(), QDate::currentDate());
    QCOMPARE(f.Edit2->text(), QStringLiteral("8,75"));
    QCOMPARE(f.Edit2->selectedText(), QStringLiteral("8,75"));
    QCOMPARE(f.outerHeight(), 284 + 20 + 50);
    hover(f.Label16);
    QVERIFY(f.Label16->font().bold() && f.Label16->font().underline());
    f.Label23Click();
    QVERIFY(f.Panel1->isHidden() && f.Panel2->isVisible());
}

void TestRatePanel::addEntry() {
    TForm1 &f = openPanel();
    clickCell(f.ValueListEditor1, 5, 1);
    f.addClick();
    f.DateTimePicker3->setDate(QDate(2010, 3, 1));
    f.Edit2->setText(QStringLiteral("8,5"));
    QTest::mouseClick(f.Label16, Qt::LeftButton);
    QCOMPARE(f.table.count(), 34);
    QCOMPARE(f.table.line(0), QStringLiteral("с 01 марта 2010 г.=8,5"));
    QCOMPARE(f.ValueListEditor1->selectedRow(), 1);
    QCOMPARE(f.Edit5->text(), QStringLiteral("8,75")); // the former first row was selected
    QVERIFY(f.Panel1->isHidden());
    QCOMPARE(fileBytes(f.RateFilePath), cp1251(f.table.lines()));
    // The new entry's key writes the day with two digits, so it differs from
    // the history's "с 5 июня 2009 г." although both name one day.
    f.addClick();
    f.DateTimePicker3->setDate(QDate(2009, 6, 5));
    f.Edit2->setText(QStringLiteral(","));
    f.Label16Click();
    QCOMPARE(f.table.line(0), QStringLiteral("с 05 июня 2009 г.=0"));
    QVERIFY(env_.boxes.shown.isEmpty());
}

void TestRatePanel::addExistingKey() {
    TForm1 &f = openPanel();
    const QByteArray before = fileBytes(f.RateFilePath);
    f.addClick();
    f.DateTimePicker3->setDate(QDate(2009, 12, 28));
    f.Label16Click();
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text,
             QStringLiteral("Дата ставки уникальна. Ошибка в повторении даты введения ставки"));
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка ввода"));
    QCOMPARE(f.table.lines(), history());
    QCOMPARE(fileBytes(f.RateFilePath), before);
    QVERIFY(f.Panel1->isHidden());
}

void TestRatePanel::changeEntry() {
    TForm1 &f = openPanel();
    clickCell(f.ValueListEditor1, 3, 1);
    f.N1->trigger();
    QVERIFY(f.Label22->isVisible() && f.Label16->isHidden());
    QCOMPARE(f.Label15->text(), QStringLiteral("Редактирование записи"));
    QCOMPARE(f.outerHeight(), 284 + 20 + 45);
    QCOMPARE(f.Edit2->text(), QStringLiteral("9,5"));
    f.Edit2->setText(QStringLiteral("9,75"));
    f.Label22Click();
    QCOMPARE(f.table.line(2), QStringLiteral("с 30 октября 2009 г.=9,75"));
    QCOMPARE(f.Edit5->text(), QStringLiteral("9,5")); // no row selection ran
    QCOMPARE(fileBytes(f.RateFilePath), cp1251(f.table.lines()));

    // Another entry's date is refused; the entry stays.
    f.N1Click();
    f.DateTimePicker3->setDate(QDate(2009, 12, 28));
    f.Label22Click();
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text, kCheckInput);
    QCOMPARE(f.table.line(2), QStringLiteral("с 30 октября 2009 г.=9,75"));

    // The last entry keeps its place.
    QTest::keyClick(f.ValueListEditor1, Qt::Key_End, Qt::ControlModifier);
    f.N1Click();
    f.Edit2->setText(QStringLiteral("56"));
    f.Label22Click();
    QCOMPARE(f.table.line(32), QStringLiteral("с 10 июня 1999 г.=56"));
}

void TestRatePanel::deleteEntries() {
    TForm1 &f = openPanel();
    QTest::keyClick(f.ValueListEditor1, Qt::Key_End, Qt::ControlModifier);
    env_.boxes.answers = {false};
    f.N2->trigger();
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text,
             QStringLiteral("Выбранная ставка:\r\n\r\nс 10 июня 1999 г. = 55%\r\n\r\nПроизвести "
                            "удаление?"));
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Подтверждение удаления"));
    QCOMPARE(env_.boxes.shown[0].buttons, MessageBoxes::Buttons::OkCancel);
    QCOMPARE(f.table.count(), 33);

    f.N2Click(); // OK this time: the last row goes, the selection moves up
    QCOMPARE(f.table.count(), 32);
    QCOMPARE(f.ValueListEditor1->selectedRow(), 32);
    QCOMPARE(f.Edit5->text(), QStringLiteral("45"));
    QCOMPARE(fileBytes(f.RateFilePath), cp1251(f.table.lines()));

    clickCell(f.ValueListEditor1, 2, 1);
    f.N2Click(); // a middle row: the next entry takes its place, Edit5 stays
    QCOMPARE(f.ValueListEditor1->selectedRow(), 2);
    QCOMPARE(f.table.key(1), QStringLiteral("с 30 октября 2009 г."));
    QCOMPARE(f.Edit5->text(), QStringLiteral("9"));
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
    TForm1 &f = openPanel();
    f.addClick();
    f.Edit2->setFocus();
    f.Edit2->selectAll();
    QTest::keyClick(f.Edit2, Qt::Key_Backspace);
    QCOMPARE(f.Edit2->text(), QStringLiteral("0")); // emptied, it shows 0, selected
    QCOMPARE(f.Edit2->selectedText(), QStringLiteral("0"));
    QTest::keyClicks(f.Edit2, keys);
    QCOMPARE(f.Edit2->text(), typed);
    f.DateTimePicker3->setFocus(Qt::TabFocusReason);
    QCOMPARE(f.Edit2->text(), left);
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
    rates::SettingWrite(rates::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
    TForm1 &f = env_.open();
    // The start-up lookup selected the bad last row first.
    QVERIFY(!env_.boxes.shown.isEmpty());
    QCOMPARE(env_.boxes.shown[0].text, kCheckInput);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка ввода"));
    f.Edit5Click();
    f.Label23Click();
    env_.boxes.shown.clear();
    clickCell(f.ValueListEditor1, 2, 1);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QVERIFY(f.Panel1->isVisible() && f.Label22->isVisible());
    QCOMPARE(f.table.line(1), stored);
    QCOMPARE(fileBytes(env_.rateFile()).contains(cp1251({stored})), true);
}

void TestRatePanel::saveFailureIsTold() {
    TForm1 &f = openPanel();
    const QString good = f.RateFilePath;
    const QByteArray before = fileBytes(good);
    f.RateFilePath = env_.path(QStringLiteral("missing/stavki.txt"));
    f.addClick();
    f.DateTimePicker3->setDate(QDate(2010, 3, 1));
    f.Label16Click();
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка сохранения"));
    QVERIFY(env_.boxes.shown[0].text.contains(QStringLiteral("missing")));
    QCOMPARE(f.table.count(), 34); // the grid keeps the change
    QCOMPARE(fileBytes(good), before);
    // The next save that works makes file and grid agree.
    f.RateFilePath = good;
    clickCell(f.ValueListEditor1, 2, 1);
    QCOMPARE(fileBytes(good), cp1251(f.table.lines()));
}

void TestRatePanel::rightClickKeepsTheSelection() {
    TForm1 &f = openPanel();
    const QModelIndex idx = f.ValueListEditor1->model()->index(4, 1);
    QTest::mousePress(f.ValueListEditor1->viewport(), Qt::RightButton, Qt::NoModifier,
                      f.ValueListEditor1->visualRect(idx).center());
    QCOMPARE(f.ValueListEditor1->selectedRow(), 1);
    QCOMPARE(f.Edit5->text(), QStringLiteral("8,75"));
}

QTEST_MAIN(TestRatePanel)
#include "tst_ratepanel.moc"
