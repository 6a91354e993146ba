// SPDX-License-Identifier: GPL-3.0-or-later
// Every action by keyboard and by screen reader: a whole claim with key
// presses alone, the shortcuts, and the names an assistive tool reads.
#include "rates/knownrates.h"
#include "ui/guide/help.h"
#include "ui/periods/periodsdialog.h"
#include "windowtest.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolButton>

namespace {

bool focused(QWidget *w) {
    QWidget *focus = QApplication::focusWidget();
    return focus && (focus == w || w->isAncestorOf(focus));
}

// Presses Tab until `w` has the focus; false when it never comes.
bool tabTo(QWidget *w) {
    for (int i = 0; i < 40 && !focused(w); ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    return focused(w);
}

void keys(const QString &typed) {
    QTest::keyClicks(QApplication::focusWidget(), typed);
}

void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), k, modifiers);
}

// Every object of the accessible tree under `root`, depth first.
void walk(QAccessibleInterface *root, QList<QAccessibleInterface *> &all) {
    all.append(root);
    for (int i = 0; i < root->childCount(); ++i)
        if (QAccessibleInterface *child = root->child(i)) walk(child, all);
}

} // namespace

class TestAccess : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.start(); }
    void cleanup() { env_.stop(); }
    void wholeClaimByKeyboard();
    void shortcuts();
    void linksByKeyboard();
    void periodsLinkBesideTheOpenTable();
    void namesForAScreenReader();
    void dateSectionTypedAfterAClick_data();
    void dateSectionTypedAfterAClick();
    void rateTableActionsByKeyboard();
    void periodsDialogKeys();
    void helpByKey();

private:
    WindowEnv env_;
};

// Debt, dates, mode, the rate from the table, the calculation and a copy of
// the report, with key presses alone.
void TestAccess::wholeClaimByKeyboard() {
    Window &f = env_.open();
    QVERIFY(focused(f.debtField));
    keys(QStringLiteral("100000"));
    QVERIFY(tabTo(f.periodStart));
    keys(QStringLiteral("01012010"));
    QVERIFY(tabTo(f.periodEnd));
    keys(QStringLiteral("30012010"));
    QCOMPARE(f.periodStart->date(), QDate(2010, 1, 1));
    QCOMPARE(f.periodEnd->date(), QDate(2010, 1, 30));
    // The statutory mode: its rate field takes the focus and opens the table.
    QVERIFY(tabTo(f.statutoryLink));
    key(Qt::Key_Space);
    QVERIFY(f.ratePanel->isVisible());
    QVERIFY(focused(f.rateGrid));
    key(Qt::Key_Down); // an older entry, then back to the one in force
    QCOMPARE(f.rateField->text(), QStringLiteral("9"));
    key(Qt::Key_Up);
    key(Qt::Key_Return);
    QVERIFY(f.ratePanel->isHidden());
    QCOMPARE(f.rateField->text(), QStringLiteral("8,75"));
    // The keyboard is back on the field that opened the table, which stays
    // shut; Esc brings it back there too.
    QVERIFY(focused(f.rateField) && f.ratePanel->isHidden());
    f.window.openRatePanel();
    QVERIFY(focused(f.rateGrid));
    key(Qt::Key_Escape);
    QVERIFY(focused(f.rateField) && f.ratePanel->isHidden());
    // The courts are one stop, the checked one; an arrow key moves the choice.
    QVERIFY(tabTo(f.window.findChild<QWidget *>(QStringLiteral("arbitrationCourt"))));
    key(Qt::Key_Down);
    QVERIFY(f.generalCourt->isChecked());
    key(Qt::Key_F9);
    const QStringList report = f.reportBox->toPlainText().split(u'\n');
    QCOMPARE(report, kWorkedExample);
    QVERIFY(tabTo(f.reportBox));
    key(Qt::Key_A, Qt::ControlModifier);
    key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text().split(u'\n'), report);
    QVERIFY(env_.boxes.shown.isEmpty());
}

void TestAccess::shortcuts() {
    Window &f = env_.open();
    f.debtField->setText(QStringLiteral("1000"));
    for (const QKeyCombination keys :
         {QKeyCombination(Qt::Key_F9), QKeyCombination(Qt::ControlModifier, Qt::Key_Return),
          QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter)}) {
        f.reportBox->clear();
        f.taxSlider->setFocus();
        QTest::keyClick(f.taxSlider, keys.key(), keys.keyboardModifiers());
        QCOMPARE(f.reportBox->toPlainText().split(u'\n').size(), 6);
    }
    // Esc closes the open rate table or entry editor, and elsewhere does nothing.
    f.window.openRatePanel();
    f.editor->startAdding();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(f.ratePanel->isHidden() && f.rateEditor->isHidden());
    QVERIFY(f.rateField->isEnabled());
    QTest::keyClick(f.debtField, Qt::Key_Escape);
    QVERIFY(f.window.isVisible());
    // Each action's tooltip tells its keys.
    QVERIFY(f.calculateLink->toolTip().contains(QStringLiteral("F9")));
    QVERIFY(f.printLink->toolTip().contains(QStringLiteral("Ctrl+P")));
}

// Enter and Space run a focused link; a click still does not take the focus.
void TestAccess::linksByKeyboard() {
    Window &f = env_.open();
    click(f.calculateLink);
    QVERIFY(!f.calculateLink->hasFocus());
    f.reportBox->clear();
    f.calculateLink->setFocus(Qt::TabFocusReason);
    QTest::keyClick(f.calculateLink, Qt::Key_Return);
    QCOMPARE(f.reportBox->toPlainText().split(u'\n').size(), 6);
    named<ui::LinkLabel>(&f.window, "periodsLink")->setFocus(Qt::TabFocusReason);
    QTest::keyClick(named<ui::LinkLabel>(&f.window, "periodsLink"), Qt::Key_Space);
    QVERIFY(f.periods()->isVisible());
    f.periods()->reject();
    QVERIFY(!f.window.isHidden());
}

// The open rate table leaves "По периодам..." in sight and clickable.
void TestAccess::periodsLinkBesideTheOpenTable() {
    Window &f = env_.open();
    f.window.openRatePanel();
    ui::LinkLabel *periods = named<ui::LinkLabel>(&f.window, "periodsLink");
    QCOMPARE(f.window.childAt(periods->geometry().center()), periods);
    QVERIFY(!f.ratePanel->geometry().intersects(periods->geometry()));
    click(periods);
    QVERIFY(f.periods()->isVisible());
}

// Every object a screen reader can reach by keyboard has a name; pictures
// are left out; the report's text can be read.
void TestAccess::namesForAScreenReader() {
    Window &f = env_.open();
    f.debtField->setText(QStringLiteral("100000"));
    f.periodStart->setDate(QDate(2009, 1, 1));
    f.periodEnd->setDate(QDate(2009, 3, 31));
    f.modes->chooseStatutory();
    f.modes->dailyRateField();
    f.window.openRatePanel();
    f.editor->startAdding();
    f.window.calculate();
    f.window.openRatePanel();
    f.window.openPeriods();
    named<QToolButton>(f.periods(), "partiesToggle")->setChecked(true); // its fields made
    for (QWidget *top : {static_cast<QWidget *>(&f.window), static_cast<QWidget *>(f.periods())}) {
        QList<QAccessibleInterface *> all;
        walk(QAccessible::queryAccessibleInterface(top), all);
        qInfo("%s: %lld accessible objects", top->metaObject()->className(), qlonglong(all.size()));
        QVERIFY(all.size() > 20);
        for (QAccessibleInterface *i : all) {
            const QAccessible::State s = i->state();
            if (!s.focusable || s.invisible) continue;
            QVERIFY2(!i->text(QAccessible::Name).trimmed().isEmpty(),
                     qPrintable(i->object() ? i->object()->objectName() + " " +
                                                  i->object()->metaObject()->className()
                                            : QStringLiteral("?")));
        }
    }
    for (QWidget *picture :
         {static_cast<QWidget *>(f.picture), static_cast<QWidget *>(f.calculateIcon),
          static_cast<QWidget *>(f.printIcon)})
        QVERIFY(QAccessible::queryAccessibleInterface(picture)->state().invisible);
    QAccessibleInterface *link = QAccessible::queryAccessibleInterface(f.calculateLink);
    QCOMPARE(link->role(), QAccessible::Button);
    QCOMPARE(link->text(QAccessible::Name), QStringLiteral("Рассчитать"));
    // The window is a frame; the periods report reads as a table, cell by
    // cell under its columns' titles; the entry kind's box is named by what
    // it is, its value by what is chosen.
    QCOMPARE(QAccessible::queryAccessibleInterface(&f.window)->role(), QAccessible::Window);
    ui::PeriodsDialog *d = f.periods();
    d->reportLines(); // its count come
    QAccessibleTableInterface *table =
        QAccessible::queryAccessibleInterface(named<QTableView>(d, "periodsReport"))
            ->tableInterface();
    QVERIFY(table && table->rowCount() == 1);
    QStringList titles;
    for (int c = 0; c < 5; ++c)
        titles << table->columnDescription(c);
    QCOMPARE(titles.join(u'\t'), QStringLiteral("Задолженность, руб.\tс\tпо\tДней\tСтавка"));
    QCOMPARE(table->cellAt(0, 0)->text(QAccessible::Name), QStringLiteral("100\u00a0000,00"));
    // A field's placeholder ("0,00", "без предела") is never read as what the field is for.
    for (QLineEdit *field : d->findChildren<QLineEdit *>())
        if (!field->placeholderText().isEmpty())
            QVERIFY2(QAccessible::queryAccessibleInterface(field)->text(QAccessible::Description) !=
                         field->placeholderText(),
                     qPrintable(field->objectName()));
    QCOMPARE(QAccessible::queryAccessibleInterface(named<QComboBox>(d, "entryKind"))
                 ->text(QAccessible::Name),
             QStringLiteral("Вид"));
    QAccessibleInterface *report = QAccessible::queryAccessibleInterface(f.reportBox);
    QVERIFY(report->textInterface());
    QVERIFY(report->textInterface()
                ->text(0, report->textInterface()->characterCount())
                .startsWith(QStringLiteral("Период просрочки: c ")));
}

// The rate table's menu items are keys of its grid too; the menu opens from
// the keyboard under the chosen row, and a screen reader finds its actions.
void TestAccess::rateTableActionsByKeyboard() {
    Window &f = env_.open();
    f.window.openRatePanel();
    key(Qt::Key_Insert);
    QVERIFY(f.editor->isOpen() && !f.editor->isEditing());
    f.editor->close();
    f.rateGrid->setFocus();
    key(Qt::Key_F2);
    QVERIFY(f.editor->isEditing());
    f.editor->close();
    f.rateGrid->setFocus();
    env_.boxes.answers = {false};
    key(Qt::Key_Delete);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Подтверждение удаления"));
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QApplication::sendEvent(f.rateGrid, &menuKey);
    QWidget *menu = QApplication::activePopupWidget();
    QVERIFY(menu);
    const QRect row = f.rateGrid->visualRect(f.rateGrid->currentIndex());
    QCOMPARE(menu->pos().y(), f.rateGrid->viewport()->mapToGlobal(row.bottomLeft()).y());
    QAccessibleInterface *items = QAccessible::queryAccessibleInterface(menu);
    QStringList pressed;
    for (int i = 0; i < items->childCount(); ++i)
        if (QAccessibleActionInterface *a = items->child(i)->actionInterface())
            if (a->actionNames().contains(QAccessibleActionInterface::pressAction()))
                pressed << items->child(i)->text(QAccessible::Name);
    // Выбрать, Добавить, Редактировать, Удалить, and the rates the program knows.
    QCOMPARE(pressed.size(), 5);
    QCOMPARE(pressed.last(), rates::knownRatesTitle());
    menu->close();
}

// The periods dialog's keys (Enter in the amount: see its payments test):
// F9 counts a penalty still being typed; Ctrl+P prints.
void TestAccess::periodsDialogKeys() {
    Window &f = env_.open();
    f.debtField->setText(QStringLiteral("100000"));
    ui::PeriodsDialog *d = f.openPeriods();
    click(named<QRadioButton>(d, "contractualCount"));
    named<ui::NumberField>(d, "penaltyDaily")->setFocus();
    named<ui::NumberField>(d, "penaltyDaily")->setText(QStringLiteral("0,5"));
    QTest::keyClick(named<ui::NumberField>(d, "penaltyDaily"), Qt::Key_F9);
    QVERIFY2(d->reportLines().value(0).contains(QStringLiteral("(0,5% в день)")),
             qPrintable(d->reportLines().value(0)));
    int printers = 0;
    d->printer().setPrinterFactory([&] {
        ++printers;
        return std::unique_ptr<ui::PrinterJob>();
    });
    env_.boxes.answers << true;
    QTest::keyClick(named<QTableView>(d, "periodsReport"), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(printers, 1);
}

// One click on a date's day, month or year, then digits: they replace it;
// a whole date typed after a click anywhere is the date, and one that is
// none is refused, the field keeping its date.
void TestAccess::dateSectionTypedAfterAClick_data() {
    QTest::addColumn<int>("section"); // 0 day, 1 month, 2 year
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");
    QTest::newRow("day") << 0 << "15" << QDate(2010, 1, 15);
    QTest::newRow("month") << 1 << "03" << QDate(2010, 3, 30);
    QTest::newRow("year") << 2 << "2009" << QDate(2009, 1, 30);
    for (int section : {0, 1, 2}) {
        QTest::newRow(qPrintable(QStringLiteral("eight digits, section %1").arg(section)))
            << section << "01032024" << QDate(2024, 3, 1);
        QTest::newRow(qPrintable(QStringLiteral("with dots, section %1").arg(section)))
            << section << "5.4.2023" << QDate(2023, 4, 5);
    }
    QTest::newRow("a date that is none") << 1 << "31022024" << QDate(2010, 1, 30);
}

void TestAccess::dateSectionTypedAfterAClick() {
    QFETCH(int, section);
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    Window &f = env_.open();
    f.periodEnd->setDate(QDate(2010, 1, 30));
    QLineEdit *text = f.periodEnd->findChild<QLineEdit *>();
    // The middle of "dd", "MM" or "yyyy" in "dd.MM.yyyy".
    const QFontMetrics m(text->font());
    const int x = 4 + m.horizontalAdvance(QStringLiteral("30.01.2010")
                                              .left(section == 0   ? 1
                                                    : section == 1 ? 4
                                                                   : 8));
    QTest::mouseClick(text, Qt::LeftButton, Qt::NoModifier,
                      QPoint(std::max(x, 2), text->height() / 2));
    QCoreApplication::processEvents();
    QStringList refused;
    connect(f.periodEnd, &ui::DatePicker::refused, [&](const QString &why) { refused << why; });
    QTest::keyClicks(text, typed);
    QCOMPARE(f.periodEnd->date(), date);
    QCOMPARE(refused, date == QDate(2010, 1, 30) && typed.size() == 8
                          ? QStringList{QStringLiteral("Такой даты нет: 31.02.2024")}
                          : QStringList());
    // Home and a whole date: the date, not a year of three digits.
    QTest::keyClick(text, Qt::Key_Home);
    QTest::keyClicks(text, QStringLiteral("08032005"));
    QCOMPARE(f.periodEnd->date(), QDate(2005, 3, 8));
}

// F1 opens the guide at the section of the control in use, over the window
// or the dialog where it was pressed; the guide has every section F1 can
// open, and finds a word (Enter in its search field).
void TestAccess::helpByKey() {
    QFile guide(QStringLiteral(":/guide/guide.html"));
    QVERIFY(guide.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(guide.readAll());
    for (const QString &anchor : ui::helpSections())
        QVERIFY2(html.contains(QStringLiteral("<a name=\"%1\">").arg(anchor)), qPrintable(anchor));
    Window &f = env_.open();
    f.debtField->setFocus();
    key(Qt::Key_F1);
    auto *help = f.window.findChild<ui::HelpWindow *>();
    QVERIFY(help && help->isVisible());
    named<QLineEdit>(help, "helpSearch")->setText(QStringLiteral("мораторий"));
    QVERIFY(help->findNext());
    QCOMPARE(named<QTextBrowser>(help, "helpText")->textCursor().selectedText().toLower(),
             QStringLiteral("мораторий"));
    // Nothing found: said, and the reader stays at the match they had.
    auto *notFound = help->findChild<QWidget *>(QStringLiteral("helpNotFound"));
    const int at = named<QTextBrowser>(help, "helpText")->textCursor().position();
    named<QLineEdit>(help, "helpSearch")->setText(QStringLiteral("нет такого слова"));
    QVERIFY(!help->findNext());
    QVERIFY(notFound->isVisible());
    QCOMPARE(named<QTextBrowser>(help, "helpText")->textCursor().position(), at);
    named<QLineEdit>(help, "helpSearch")->setText(QStringLiteral("мораторий"));
    QVERIFY(notFound->isHidden());
    help->close();
    f.window.openRatePanel();
    ui::PeriodsDialog *d = f.openPeriods();
    const std::pair<const QWidget *, const char *> sections[] = {
        {f.debtField, "start"},
        {f.rateGrid, "rates"},
        {d, "periods"},
        {named<QRadioButton>(d, "housingCount"), "bases"},
        {named<QComboBox>(d, "otherBasis"), "basis-317.1"}, // the basis chosen in it
        {d->findChild<QWidget *>(QStringLiteral("paymentAmount")), "payments"},
        {named<QCheckBox>(d, "moratorium"), "moratoria"},
        {named<QCheckBox>(d, "courtOrder"), "fee"},
        {d->findChild<QWidget *>(QStringLiteral("periodsReport")), "documents"}};
    for (const auto &[widget, anchor] : sections)
        QCOMPARE(ui::helpSectionFor(widget), QLatin1String(anchor));
    named<QCheckBox>(d, "moratorium")->setFocus();
    key(Qt::Key_F1);
    help = d->findChild<ui::HelpWindow *>();
    QVERIFY(help && help->isVisible());
}

QTEST_MAIN(TestAccess)
#include "tst_access.moc"
