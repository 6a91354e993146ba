// SPDX-License-Identifier: GPL-3.0-or-later
// A calculation click: the handler and the report drawn.
#include "ui/guide/help.h"
#include "ui/widgets/numberfield.h"
#include "ui/window/mainwindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextEdit>
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
    for (auto _ : state) {
        auto *help = new ui::HelpWindow(&owner);
        help->showSection(QStringLiteral("moratoria"));
        help->show();
        help->findChild<QTextBrowser *>(QStringLiteral("helpText"))->viewport()->repaint();
        delete help;
    }
}
BENCHMARK(BM_OpenGuide)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
