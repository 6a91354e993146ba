// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the window in its main states to PNG files for the documentation:
//   make screenshots   (runs this under Xvfb, writes docs/*.png)
#include "application.h"
#include "claiminputs.h"
#include "datepicker.h"
#include "mainwindow.h"
#include "numberfield.h"
#include "periodsdialog.h"
#include "printing.h"
#include "rateeditor.h"
#include "rategrid.h"
#include "ratemodes.h"
#include "ratepanel.h"
#include "reportview.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>

#include <QDateEdit>
#include <QEventLoop>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

namespace {

void settle() {
    QEventLoop loop;
    QTimer::singleShot(300, &loop, &QEventLoop::quit);
    loop.exec();
}

bool save(ui::MainWindow &form, const QString &path) {
    settle();
    return form.grab().save(path);
}

} // namespace

int main(int argc, char **argv) {
    ui::Application app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    ui::SilentMessageBoxes boxes;
    ui::MainWindow form(&boxes);
    form.show();
    bool ok = save(form, dir + QStringLiteral("/window-compact.png"));

    // The worked example: a claim of 2010, filed then.
    form.fileOn(QDate(2010, 2, 1));
    form.claimInputs()->debtField()->setText(QStringLiteral("100000"));
    form.claimInputs()->periodStart()->setDate(QDate(2010, 1, 1));
    form.claimInputs()->periodEnd()->setDate(QDate(2010, 1, 30));
    form.claimInputs()->generalCourt()->setChecked(true);
    form.calculate();
    ok = save(form, dir + QStringLiteral("/window-report.png")) && ok;
    {
        // The printout of this report, as the printer would get it.
        QPdfWriter pdf(dir + QStringLiteral("/printout.pdf"));
        pdf.setResolution(300);
        QPainter painter(&pdf);
        const QRect area = pdf.pageLayout().paintRectPixels(pdf.resolution());
        ui::drawReportPage(painter, area.width(), area.height(), form.reportView()->shownLines());
        ok = painter.end() && ok;
    }

    form.openRatePanel();
    form.ratePanel()->selectRow(4);
    form.rateEditor()->startAdding();
    ok = save(form, dir + QStringLiteral("/window-rate-panel.png")) && ok;

    form.closePanels();
    form.rateModes()->chooseStatutory();
    form.calculate();
    ok = save(form, dir + QStringLiteral("/window-statutory.png")) && ok;

    // The calculation by periods, with one payment, for a claim of 2022 filed today.
    form.fileOn(QDate());
    form.claimInputs()->periodStart()->setDate(QDate(2022, 3, 1));
    form.claimInputs()->periodEnd()->setDate(QDate(2022, 10, 31));
    form.openPeriods();
    ui::PeriodsDialog *periods = form.periodsDialog();
    periods->paymentDate()->setDate(QDate(2022, 6, 10));
    periods->paymentAmount()->setText(QStringLiteral("5000"));
    periods->addPayment();
    settle();
    ok = periods->grab().save(dir + QStringLiteral("/periods-dialog.png")) && ok;
    return ok ? 0 : 1;
}
