// SPDX-License-Identifier: GPL-3.0-or-later
// A batch of 100,000 claims in the six-line mode against 100,000 bare
// calculations of the same claims: the batch should cost at most twice as much.
#include "bulk/batch.h"
#include "bulk/claimrequest.h"
#include "calc/penalty.h"

#include <QBuffer>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRows = 100000;

QByteArray claims() {
    QByteArray csv = "debt,from,to,tax,court,mode,rate,divisor\r\n";
    for (int i = 0; i < kRows; ++i)
        csv += QByteArray::number(1000 + i) + ",01.01.2010,30.01.2010,18," +
               (i % 2 ? "general" : "arbitration") + ",statutory,\"8,75\",360\r\n";
    return csv;
}

bulk::Defaults defaults() {
    bulk::Defaults d;
    d.today = QDate(2010, 1, 30);
    d.table = rates::RateTable::builtIn();
    return d;
}

} // namespace

static void BM_Batch100k(benchmark::State &state) {
    const QByteArray csv = claims();
    const bulk::Defaults d = defaults();
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        benchmark::DoNotOptimize(bulk::runBatch(csv, out, d));
    }
}
BENCHMARK(BM_Batch100k)->Unit(benchmark::kMillisecond);

static void BM_BareCalculations100k(benchmark::State &state) {
    for (auto _ : state) {
        for (int i = 0; i < kRows; ++i) {
            calc::CalcInput in;
            in.debtText = QString::number(1000 + i) + QStringLiteral(",00");
            in.refinancingText = QStringLiteral("8,75");
            in.contractText = QStringLiteral("0,1");
            in.start = QDate(2010, 1, 1);
            in.end = QDate(2010, 1, 30);
            in.divisorText = QStringLiteral("360");
            in.court = i % 2 ? calc::Court::GeneralJurisdiction : calc::Court::Arbitration;
            benchmark::DoNotOptimize(calc::calculate(in));
        }
    }
}
BENCHMARK(BM_BareCalculations100k)->Unit(benchmark::kMillisecond);

// A million claims, on one thread and on two: the output is the same.
static void BM_Batch1M(benchmark::State &state) {
    QByteArray csv = "debt,from,to,tax,court,mode,rate,divisor\r\n";
    for (int i = 0; i < 10 * kRows; ++i)
        csv += QByteArray::number(1000 + i) + ",01.01.2010,30.01.2010,18," +
               (i % 2 ? "general" : "arbitration") + ",statutory,\"8,75\",360\r\n";
    const bulk::Defaults d = defaults();
    for (auto _ : state) {
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        benchmark::DoNotOptimize(
            bulk::runBatch(csv, out, d, nullptr, nullptr, nullptr, int(state.range(0))));
    }
}
BENCHMARK(BM_Batch1M)->Arg(1)->Arg(2)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

BENCHMARK_MAIN();
