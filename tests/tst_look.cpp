// SPDX-License-Identifier: GPL-3.0-or-later
// How the window looks to those who must see it clearly: under a dark
// palette every text reads and every edge shows; wherever the keyboard is,
// a mark shows it.
#include "ui/periods/periodentries.h"
#include "ui/periods/periodsdialog.h"
#include "ui/widgets/lookandfeel.h"
#include "windowtest.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>
#include <QTableView>
#include <QTableWidget>
#include <QTextEdit>
#include <QTextFrame>
#include <QTextTable>

namespace {

// What `w` and the three pixels round it look like in its window.
QImage around(QWidget *w) {
    const QPoint at = w->mapTo(w->window(), QPoint(-3, -3));
    return w->window()->grab(QRect(at, w->size() + QSize(6, 6))).toImage();
}

// The most any pixel of `image` in `area` stands out from `background`.
double standsOut(const QImage &image, const QRect &area, const QColor &background) {
    double most = 1;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            most = std::max(most, ui::contrastRatio(image.pixelColor(x, y), background));
    return most;
}

} // namespace

class TestLook : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { font_ = QApplication::font(); }
    void init() { env_.start(); }
    void cleanup() {
        env_.stop();
        QApplication::setPalette(QPalette());
        QApplication::setFont(font_);
        QApplication::setFont(font_, "QHeaderView");
    }
    void palettes_data();
    void palettes();
    void focusShows_data();
    void focusShows();
    void headersUnderALargeFont();

private:
    WindowEnv env_;
    QFont font_;
};

void TestLook::palettes_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
}

// Under a dark palette every fixed colour reads (4.5:1 at least against what
// it is drawn on); under a light one every colour stays as it always was.
void TestLook::palettes() {
    QFETCH(bool, dark);
    if (dark) {
        QPalette p;
        p.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
        p.setColor(QPalette::WindowText, QColor(0xe0, 0xe0, 0xe0));
        p.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
        p.setColor(QPalette::Text, QColor(0xe0, 0xe0, 0xe0));
        p.setColor(QPalette::Button, QColor(0x3c, 0x3c, 0x3c));
        p.setColor(QPalette::ButtonText, QColor(0xf0, 0xf0, 0xf0));
        QApplication::setPalette(p);
    }
    Window &f = env_.open();
    f.modes->chooseStatutory(); // the contractual link turns grey
    f.editor->startAdding();
    const QColor window = f.window.palette().color(QPalette::Window);
    int links = 0;
    for (ui::LinkLabel *link : f.window.findChildren<ui::LinkLabel *>()) {
        const QColor text = link->palette().color(QPalette::WindowText);
        const QColor behind = link->parentWidget()->palette().color(QPalette::Window);
        if (dark) QVERIFY2(ui::contrastRatio(text, behind) >= 4.5, qPrintable(link->objectName()));
        ++links;
    }
    QVERIFY(links >= 12);
    if (!dark) {
        QCOMPARE(f.calculateLink->palette().color(QPalette::WindowText), ui::kTeal);
        QCOMPARE(f.printLink->palette().color(QPalette::WindowText), ui::kMaroon);
        QCOMPARE(f.updateLink->palette().color(QPalette::WindowText), ui::kBlue);
        QCOMPARE(f.contractualLink->palette().color(QPalette::WindowText), ui::kGrey);
        QCOMPARE(f.rateGrid->headerBackground(), QColor(240, 240, 240));
        QCOMPARE(f.rateGrid->litRow(), QColor(212, 208, 200));
    } else {
        QVERIFY(ui::contrastRatio(f.rateGrid->headerText(), f.rateGrid->headerBackground()) >= 4.5);
        QVERIFY(ui::contrastRatio(f.rateGrid->litRowText(), f.rateGrid->litRow()) >= 4.5);
        // The periods report's grid lines stand out from its background (3:1).
        f.debtField->setText(QStringLiteral("100000"));
        f.window.openPeriods();
        auto *d = f.periods();
        auto *report = named<QTableView>(d, "periodsReport");
        QStyleOptionViewItem cell;
        cell.initFrom(report);
        const QColor lines = QColor::fromRgba(
            QRgb(report->style()->styleHint(QStyle::SH_Table_GridLineColor, &cell, report)));
        QVERIFY(ui::contrastRatio(lines, report->palette().color(QPalette::Base)) >= 3);
        d->reject();
        // The unchecked court's circle and the grey rate field's frame stand out too.
        f.window.openRatePanel();
        QVERIFY(!f.rateField->isEnabled());
        const QImage court = around(f.generalCourt);
        const int circle = f.generalCourt->style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth);
        QVERIFY(standsOut(court, QRect(3, 3, circle, court.height() - 6), window) >= 3);
        QVERIFY(standsOut(around(f.rateField), QRect(3, 3, f.rateField->width(), 1), window) >= 3);
        // The editor's "Х" turns grey under the mouse, readable too.
        auto *x = f.window.findChild<ui::LinkLabel *>(QStringLiteral("editorCloseLink"));
        hover(x);
        QVERIFY(ui::contrastRatio(x->palette().color(QPalette::WindowText), window) >= 4.5);
    }
}

// Where a widget's own look shows no focus (a slider's handle, a text
// without a caret, an empty grid, a grid whose focused row is its chosen
// one), a ring round it does, standing out from the window by 3:1.
void TestLook::focusShows_data() {
    QTest::addColumn<int>("which");
    QTest::newRow("tax slider") << 0;
    QTest::newRow("report") << 1;
    QTest::newRow("rate table") << 2;
    QTest::newRow("empty payments grid") << 3;
    QTest::newRow("periods report") << 4;
}

void TestLook::focusShows() {
    QFETCH(int, which);
    Window &f = env_.open();
    f.debtField->setText(QStringLiteral("1000"));
    f.window.calculate();
    if (which == 2) f.window.openRatePanel();
    if (which >= 3) f.window.openPeriods();
    auto *d = f.window.findChild<ui::PeriodsDialog *>(QStringLiteral("periodsDialog"));
    const QList<QWidget *> widgets{f.taxSlider, f.reportBox, f.rateGrid,
                                   d ? static_cast<QWidget *>(named<QTableWidget>(d, "entriesGrid"))
                                     : nullptr,
                                   d ? named<QTableView>(d, "periodsReport") : nullptr};
    QWidget *w = widgets[which];
    QVERIFY(QTest::qWaitForWindowExposed(w->window()));
    f.debtField->setFocus(); // away, wherever the opening put it
    if (which >= 3) d->activateWindow(), d->setFocus();
    const QImage before = around(w);
    w->setFocus(Qt::TabFocusReason);
    const QImage after = around(w);
    QVERIFY(after != before);
    const QColor window = w->parentWidget()->palette().color(QPalette::Window);
    QVERIFY(standsOut(after, QRect(3, 1, w->width(), 1), window) >= 3);
    if (which == 2) { // the dotted frame on the focused, chosen row
        const QRect row = f.rateGrid->visualRect(f.rateGrid->currentIndex());
        const QPoint at = f.rateGrid->viewport()->mapTo(f.rateGrid, row.topLeft());
        QVERIFY(standsOut(after, QRect(at + QPoint(3 + 8, 3 + 1), QSize(20, 1)),
                          f.rateGrid->litRow()) >= 3);
    }
}

// A larger desktop font never clips a grid's titles.
void TestLook::headersUnderALargeFont() {
    QFont large = QApplication::font();
    large.setPointSize(large.pointSize() * 2);
    QApplication::setFont(large);
    QApplication::setFont(large, "QHeaderView");
    Window &f = env_.open();
    f.window.show();
    f.window.openRatePanel();
    f.debtField->setText(QStringLiteral("1000"));
    f.window.openPeriods();
    auto *d = f.periods();
    QVERIFY(QTest::qWaitForWindowExposed(d));
    const QList<QHeaderView *> headers{f.rateGrid->horizontalHeader(),
                                       named<QTableWidget>(d, "entriesGrid")->horizontalHeader()};
    for (QHeaderView *h : headers) {
        const QFontMetrics m(h->font());
        QVERIFY(h->height() >= m.height());
        for (int i = 0; i < h->count(); ++i) {
            const QString text = h->model()->headerData(i, h->orientation()).toString();
            QVERIFY2(m.horizontalAdvance(text) + 4 <= h->sectionSize(i), qPrintable(text));
        }
    }
}

QTEST_MAIN(TestLook)
#include "tst_look.moc"
