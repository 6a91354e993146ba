// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyratefixture.h"
#include "rates/periodkey.h"
#include "rates/ratelookup.h"
#include "rates/ratetable.h"
#include "rates/tablefile.h"
#include "rates/userrates.h"
#include "storage/ratefile.h"
#include "update/htmldoc.h"
#include "update/keyratepage.h"
#include "update/pagereading.h"
#include "update/ratepage.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <gumbo.h>

using namespace rates;
using namespace update;

namespace {

// A table of n distinct, well-formed entries, newest first.
RateTable makeTable(int n) {
    if (n == 33) return RateTable::builtIn();
    QStringList lines;
    QDate d(2030, 1, 1);
    for (int i = 0; i < n; ++i, d = d.addDays(-1))
        lines << convertPeriodKey(d.toString(QStringLiteral("dd.MM.yyyy"))) +
                     QStringLiteral("=8,75");
    RateTable t;
    t.setLines(lines);
    return t;
}

QTemporaryDir &dir() {
    static QTemporaryDir d;
    return d;
}

} // namespace

static void BM_SaveRateFile(benchmark::State &state) {
    const RateTable t = makeTable(int(state.range(0)));
    const QString path = dir().path() + QStringLiteral("/save.txt");
    for (auto _ : state)
        saveRateFile(path, t);
}
BENCHMARK(BM_SaveRateFile)->Arg(33)->Arg(10000)->Unit(benchmark::kMicrosecond);

// What the window does after an edit: the file is read back and compared
// with what was last written (another program may have changed it), then the
// table is written.
static void BM_SaveEditChecked(benchmark::State &state) {
    UserRates opened;
    opened.table = makeTable(int(state.range(0)));
    opened.path = dir().path() + QStringLiteral("/checked.txt");
    saveRateFile(opened.path, opened.table);
    opened.fileBytes = storage::encodeRateFile(opened.table.lines());
    TableFile file;
    file.open(opened);
    int n = 0;
    for (auto _ : state) {
        RateTable &t = file.table();
        const TableEdit edit{TableEdit::Replace, t.line(0),
                             t.key(0) + (n++ % 2 ? QStringLiteral("=7") : QStringLiteral("=8"))};
        edit.applyTo(t);
        file.record(edit);
        file.save();
    }
}
BENCHMARK(BM_SaveEditChecked)->Arg(33)->Arg(10000)->Unit(benchmark::kMicrosecond);

static void BM_LoadRateFile(benchmark::State &state) {
    const QString path = dir().path() + QStringLiteral("/load.txt");
    saveRateFile(path, makeTable(int(state.range(0))));
    RateTable t;
    for (auto _ : state)
        loadRateFile(path, t);
}
BENCHMARK(BM_LoadRateFile)->Arg(33)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The worst case: an end date before every entry walks the whole table.
static void BM_RateLookup(benchmark::State &state) {
    const RateTable t = makeTable(int(state.range(0)));
    const QDate end(1900, 1, 1);
    for (auto _ : state)
        benchmark::DoNotOptimize(planRateLookup(t, end));
}
BENCHMARK(BM_RateLookup)->Arg(33)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The window's stale-table check at every change of the period's end.
static void BM_StaleTableCheck(benchmark::State &state) {
    const RateTable t = makeTable(int(state.range(0)));
    const QDate end(2026, 12, 7);
    for (auto _ : state)
        benchmark::DoNotOptimize(mayBeStale(newestEntry(t), end));
}
BENCHMARK(BM_StaleTableCheck)->Arg(33)->Arg(10000)->Unit(benchmark::kMicrosecond);

static void BM_ConvertPeriodKey(benchmark::State &state) {
    const QString key = QStringLiteral("с 28 декабря 2009 г.");
    for (auto _ : state)
        benchmark::DoNotOptimize(convertPeriodKey(key));
}
BENCHMARK(BM_ConvertPeriodKey);

// The key rate page parsed, read, checked and collapsed, as the update's
// thread does it: 3,000 working days, and the longest page the loader takes
// (the days listed over and over up to 5 MB), which once kept the window
// waiting for seconds.
static void BM_KeyRatePage(benchmark::State &state) {
    const QList<KeyRateRow> days = keyRateDays(QDate(2028, 1, 1)).mid(0, 3000);
    QList<KeyRateRow> rows = days;
    while (state.range(0) > 3000 && keyRatePage(rows + days).size() <= 5 * 1024 * 1024)
        rows += days;
    const QByteArray page = keyRatePage(rows);
    size_t changes = 0;
    for (auto _ : state)
        changes = size_t(update::readPage(page, QStringLiteral("utf-8"), update::PageKind::KeyRate,
                                          QDate(2028, 1, 1))
                             .changes.size());
    state.counters["rows"] = double(rows.size());
    state.counters["changes"] = double(changes);
    state.counters["page_kb"] = double(page.size()) / 1024;
}
BENCHMARK(BM_KeyRatePage)->Arg(3000)->Arg(5 << 20)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();

// A bank-like page of about a megabyte: rows of date and rate cells.
static QByteArray bankLikePage() {
    QByteArray page = "<html><head><title>Банк России</title></head><body><table>";
    QDate d(2030, 1, 1);
    while (page.size() < 1024 * 1024) {
        page += "<tr><td valign=\"top\" nowrap>" +
                rates::convertPeriodKey(d.toString(QStringLiteral("dd.MM.yyyy"))).toUtf8() +
                "</td><td>8,75</td></tr>\n";
        d = d.addDays(-1);
    }
    return page + "</table></body></html>";
}

static void BM_ParseRatePage(benchmark::State &state) {
    const QByteArray page = bankLikePage();
    size_t pairs = 0;
    for (auto _ : state) {
        const update::HtmlDocument doc = update::HtmlDocument::parse(page, QStringLiteral("utf-8"));
        pairs = size_t(update::readRatePairs(update::ratePageCells(doc)).size());
    }
    state.counters["pairs"] = double(pairs);
}
BENCHMARK(BM_ParseRatePage)->Unit(benchmark::kMillisecond);

// The parser alone on the same page, for comparison: the floor under the above.
static void BM_GumboAlone(benchmark::State &state) {
    const QByteArray page = bankLikePage();
    for (auto _ : state) {
        GumboOutput *out =
            gumbo_parse_with_options(&kGumboDefaultOptions, page.constData(), size_t(page.size()));
        gumbo_destroy_output(&kGumboDefaultOptions, out);
    }
}
BENCHMARK(BM_GumboAlone)->Unit(benchmark::kMillisecond);
