// SPDX-License-Identifier: GPL-3.0-or-later
// The window at the scale of the run (QT_SCALE_FACTOR: CTest runs this at 1,
// 1.5 and 2): every text fits its box, and the pictures are drawn from
// pixels of the screen's density.
#include "ui/periods/periodsdialog.h"
#include "windowtest.h"

#include <QScrollArea>
#include <QScrollBar>

#include <QGuiApplication>

class TestScale : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.start(); }
    void cleanup() { env_.stop(); }
    void textsFitTheirBoxes();
    void picturesAsSharpAsTheScreen();
    void periodsDialogWithinTheScreen();

private:
    WindowEnv env_;
};

void TestScale::textsFitTheirBoxes() {
    Window &f = env_.open();
    // Every part made and shown in turn: the mode groups, the rate table, its
    // editor, a report.
    f.window.calculate();
    const auto check = [&] {
        int labels = 0;
        for (QLabel *label : f.window.findChildren<QLabel *>()) {
            if (!label->isVisible() || label->text().isEmpty() || label->wordWrap()) continue;
            const int needed = label->fontMetrics().horizontalAdvance(label->text());
            QVERIFY2(needed <= label->contentsRect().width(),
                     qPrintable(QStringLiteral("\"%1\": %2 pixels of text in %3")
                                    .arg(label->text())
                                    .arg(needed)
                                    .arg(label->contentsRect().width())));
            ++labels;
        }
        QVERIFY(labels > 5);
    };
    check();
    f.modes->chooseStatutory();
    check();
    f.modes->chooseContractual();
    check();
    f.window.openRatePanel();
    f.editor->startAdding();
    check();
    f.editor->startEditing();
    check();
}

void TestScale::picturesAsSharpAsTheScreen() {
    Window &f = env_.open();
    const qreal ratio = qApp->devicePixelRatio();
    const int expected = ratio > 1 ? 2 : 1;
    QCOMPARE(f.picture->pixmap().devicePixelRatio(), qreal(expected));
    QCOMPARE(f.calculateIcon->pixmap().devicePixelRatio(), qreal(expected));
    QCOMPARE(f.printIcon->pixmap().devicePixelRatio(), qreal(expected));
    // Shown at the same size in the window's own pixels.
    QCOMPARE(f.calculateIcon->pixmap().deviceIndependentSize().toSize(), QSize(24, 24));
}

// However large the scale and small the screen, the periods dialog opens
// within the screen's free area, over the main window; its content is never
// cut at the side (it scrolls down only, if it must).
void TestScale::periodsDialogWithinTheScreen() {
    Window &f = env_.open();
    ui::PeriodsDialog *d = f.openPeriods();
    const QRect free = d->screen()->availableGeometry(), placed = d->frameGeometry();
    qInfo("screen %dx%d, dialog %dx%d at %d,%d", free.width(), free.height(), placed.width(),
          placed.height(), placed.x(), placed.y());
    QVERIFY(free.contains(placed));
    // A screen of 960 pixels across (1920 at scale 2) holds it whole in width.
    auto *scroll = d->findChild<QScrollArea *>();
    if (free.width() >= 960) {
        QVERIFY(!scroll->horizontalScrollBar()->isVisible());
        QVERIFY(scroll->widget()->width() >= scroll->widget()->minimumSizeHint().width());
    }
    // Centred on the main window where the screen leaves room.
    const QPoint off = placed.center() - f.window.frameGeometry().center();
    if (placed.width() < free.width() - 100) QVERIFY(std::abs(off.x()) <= 2);
}

QTEST_MAIN(TestScale)
#include "tst_scale.moc"
