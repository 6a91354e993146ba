// SPDX-License-Identifier: GPL-3.0-or-later
// A utility's ledger of 100,000 accounts × 36 months (about 6.7 million rows:
// a charge a month, a payment most months), its rows grouped by account or
// shuffled, counted on two threads; against reading the same file alone.
// Counter: rows a second. (Peak memory is the program's, measured apart: the
// file made here in memory would hide it.)
#include "bulk/ledger.h"
#include "bulk/ledgerrows.h"
#include "rates/ratelookup.h"
#include "rates/userrates.h"

#include <QTemporaryFile>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>

namespace {

constexpr int kAccounts = 100000, kMonths = 36;

// The ledger in a temporary file; `rows` gets how many rows it has.
QTemporaryFile *ledger(bool shuffled, qint64 &rows) {
    std::mt19937 random(11);
    std::vector<QByteArray> lines;
    lines.reserve(size_t(kAccounts) * kMonths * 2);
    for (int a = 0; a < kAccounts; ++a) {
        const QByteArray account = "ЛС-" + QByteArray::number(100000 + a);
        for (int m = 0; m < kMonths; ++m) {
            const int y = 2022 + m / 12, month = m % 12 + 1;
            lines.push_back(account + ";;начислено;" +
                            QByteArray::number(month).rightJustified(2, '0') + '.' +
                            QByteArray::number(y) + ';' +
                            QByteArray::number(1000 + int(random() % 5000)) + ",50");
            if (random() % 100 < 85)
                lines.push_back(account + ';' +
                                QByteArray::number(1 + int(random() % 28)).rightJustified(2, '0') +
                                '.' + QByteArray::number(month % 12 + 1).rightJustified(2, '0') +
                                '.' + QByteArray::number(y + month / 12) + ";оплачено;;" +
                                QByteArray::number(500 + int(random() % 5000)));
        }
    }
    if (shuffled) std::shuffle(lines.begin(), lines.end(), random);
    auto *file = new QTemporaryFile;
    file->open();
    QByteArray chunk = "лицевой_счет;дата;вид;месяц;сумма\n";
    for (const QByteArray &line : lines) {
        chunk += line;
        chunk += '\n';
        if (chunk.size() > (1 << 20)) {
            file->write(chunk);
            chunk.clear();
        }
    }
    file->write(chunk);
    file->flush();
    rows = qint64(lines.size());
    return file;
}

class NullDevice : public QIODevice {
protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 n) override { return n; }
};

void count(benchmark::State &state, bool shuffled) {
    qint64 rows = 0;
    const std::unique_ptr<QTemporaryFile> file(ledger(shuffled, rows));
    bulk::LedgerOptions options;
    options.base.count = calc::PeriodCount::Housing;
    options.base.court = calc::Court::GeneralJurisdiction;
    options.base.filed = QDate(2025, 6, 1);
    options.base.rates = rates::ratePoints(rates::RateTable::builtIn());
    options.jobs = 2;
    for (auto _ : state) {
        file->seek(0);
        NullDevice out;
        out.open(QIODevice::WriteOnly);
        benchmark::DoNotOptimize(bulk::runLedger(*file, out, options));
    }
    state.counters["rows_per_s"] =
        benchmark::Counter(double(rows), benchmark::Counter::kIsIterationInvariantRate);
}

} // namespace

static void BM_LedgerGrouped(benchmark::State &state) {
    count(state, false);
}
BENCHMARK(BM_LedgerGrouped)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

static void BM_LedgerShuffled(benchmark::State &state) {
    count(state, true);
}
BENCHMARK(BM_LedgerShuffled)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

// The file read alone, row by row, as the ledger reads it.
static void BM_LedgerReadOnly(benchmark::State &state) {
    qint64 rows = 0;
    const std::unique_ptr<QTemporaryFile> file(ledger(false, rows));
    for (auto _ : state) {
        file->seek(0);
        const auto reader = bulk::LedgerRows::open(*file);
        qint64 n = 0;
        while (reader->next())
            ++n;
        benchmark::DoNotOptimize(n);
    }
    state.counters["rows_per_s"] =
        benchmark::Counter(double(rows), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_LedgerReadOnly)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

BENCHMARK_MAIN();
