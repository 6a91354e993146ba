// SPDX-License-Identifier: GPL-3.0-or-later
// The window at the scale of the run (QT_SCALE_FACTOR: CTest runs this at 1,
// 1.5 and 2): every text fits its box, and the pictures are drawn from
// pixels of the screen's density.
#include "ui/periods/periodsdialog.h"
#include "windowtest.h"

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
// within the screen's free area; its content scrolls if it must.
void TestScale::periodsDialogWithinTheScreen() {
    Window &f = env_.open();
    f.window.openPeriods();
    ui::PeriodsDialog *d = f.periods();
    QVERIFY(d && d->isVisible());
    const QRect free = d->screen()->availableGeometry();
    QVERIFY2(free.contains(d->frameGeometry()), qPrintable(QStringLiteral("%1x%2 at %3,%4 in %5x%6")
                                                               .arg(d->frameGeometry().width())
                                                               .arg(d->frameGeometry().height())
                                                               .arg(d->frameGeometry().x())
                                                               .arg(d->frameGeometry().y())
                                                               .arg(free.width())
                                                               .arg(free.height())));
}

QTEST_MAIN(TestScale)
#include "tst_scale.moc"
