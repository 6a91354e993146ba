// SPDX-License-Identifier: GPL-3.0-or-later
// A calculation click: the handler and the report drawn.
#include "calc/claimfields.h"
#include "ui/guide/help.h"
#include "ui/periods/periodsdialog.h"
#include "ui/widgets/datepicker.h"
#include "ui/widgets/dialogs.h"
#include "ui/widgets/numberfield.h"
#include "ui/window/mainwindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextEdit>
#include <QTimer>
#include <benchmark/benchmark.h>

static void BM_CalculationClick(benchmark::State &state) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", (home.path() + "/c").toUtf8());
    qputenv("XDG_DATA_HOME", (home.path() + "/d").toUtf8());
    ui::SilentMessageBoxes boxes;
    ui::MainWindow window(&boxes);
    window.show();
    QCoreApplication::processEvents();
    window.findChild<ui::NumberField *>(QStringLiteral("debtField"))
        ->setText(QStringLiteral("100000"));
    QTextEdit *report = window.findChild<QTextEdit *>(QStringLiteral("reportBox"));
    for (auto _ : state) {
        window.calculate();
        report->viewport()->repaint();
    }
}
BENCHMARK(BM_CalculationClick)->Unit(benchmark::kMicrosecond);

// The guide opened at a section and drawn, as F1 opens it (goal: under 200 ms).
static void BM_OpenGuide(benchmark::State &state) {
    QWidget owner;
    ui::SilentMessageBoxes boxes;
    const ui::Dialogs dialogs(&owner, &boxes);
    for (auto _ : state) {
        auto *help = new ui::HelpWindow(&owner, dialogs);
        help->showSection(QStringLiteral("moratoria"));
        help->show();
        help->findChild<QTextBrowser *>(QStringLiteral("helpText"))->viewport()->repaint();
        delete help;
    }
}
BENCHMARK(BM_OpenGuide)->Unit(benchmark::kMillisecond);

// A claim of 3,000 or 10,000 payments (art. 395, from 2016) shown in the
// periods dialog (goal: 300 ms), and recounted after a change of one input
// (goal: 150 ms after the pause in typing), the window's thread never busy
// longer than 50 ms at a time meanwhile.
calc::PeriodInput bigClaim(int payments) {
    calc::PeriodInput c;
    c.debt = QStringLiteral("5000000");
    c.start = QDate(2016, 1, 1);
    c.end = c.start.addDays(payments + 30);
    c.filed = c.end;
    for (int i = 0; i < 40; ++i)
        c.rates.append(
            {c.start.addDays(i * 80), QString::number(5 + i % 9) + QStringLiteral(",5")});
    for (int i = 0; i < payments; ++i)
        c.payments.append({c.start.addDays(1 + i), QStringLiteral("100,00")});
    return c;
}

// Until the dialog shows the count of the claim as it is now; the longest
// the window's thread was busy meanwhile, by the lateness of a 5 ms timer.
static qint64 waitForCount(ui::PeriodsDialog &dialog) {
    QElapsedTimer since;
    since.start();
    qint64 last = 0, busiest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        busiest = std::max(busiest, since.elapsed() - last);
        last = since.elapsed();
    });
    tick.start(5);
    while (dialog.isCounting())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return std::max(busiest, since.elapsed() - last) - 5;
}

static void BM_PeriodsBigClaim(benchmark::State &state) {
    ui::SilentMessageBoxes boxes;
    ui::Dialogs dialogs(nullptr, &boxes);
    ui::PeriodsDialog dialog(nullptr, dialogs);
    dialog.show();
    const calc::PeriodInput claim = bigClaim(int(state.range(1)));
    dialog.setClaim(claim); // the rate table
    dialog.showSaved(claim);
    auto *filed = dialog.findChild<ui::DatePicker *>(QStringLiteral("filingDate"));
    qint64 busiest = 0;
    for (auto _ : state) {
        if (state.range(0) == 0)
            dialog.showSaved(claim);
        else // one input changed, the whole claim recounted after the pause in typing
            filed->setDate(filed->date().addDays(1));
        busiest = std::max(busiest, waitForCount(dialog));
        dialog.repaint();
    }
    state.counters["gui_busy_max_ms"] = double(busiest);
    state.SetLabel((state.range(0) == 0 ? "shown " : "recounted (150 ms pause included) ") +
                   std::to_string(dialog.reportLines().size()));
}
BENCHMARK(BM_PeriodsBigClaim)
    ->Args({0, 3000})
    ->Args({1, 3000})
    ->Args({0, calc::kMaxEntries})
    ->Args({1, calc::kMaxEntries})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
