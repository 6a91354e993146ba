// SPDX-License-Identifier: GPL-3.0-or-later
// A calculation by periods of 200 table rows saved in each format, as
// "Сохранить как..." and --output save it (laid out, written, on disk).
#include "documents/claimdocument.h"
#include "documents/paper.h"

#include "calc/claimfields.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

documents::ClaimDocument claim200() {
    calc::PeriodInput c;
    c.debt = QStringLiteral("1234567,89");
    c.start = QDate(2016, 1, 1);
    c.end = QDate(2024, 12, 31);
    c.filed = c.end;
    for (int i = 0; i < 40; ++i)
        c.rates.append(
            {c.start.addDays(i * 91), QString::number(4 + i % 17) + QStringLiteral(",25")});
    for (int i = 0; i < 75; ++i)
        c.payments.append({c.start.addDays(20 + i * 43), QStringLiteral("1000,00")});
    return documents::makeDocument(c, c.end);
}

void BM_SaveDocument(benchmark::State &state) {
    static const documents::ClaimDocument doc = claim200();
    static QTemporaryDir dir;
    const char *names[] = {"claim.pdf", "claim.odt", "claim.xlsx", "claim.txt", "claim.docx"};
    const QString path = dir.filePath(QString::fromLatin1(names[state.range(0)]));
    for (auto _ : state)
        documents::saveDocument(path, doc);
    state.counters["rows"] = double(doc.result.rows.size());
    state.SetLabel(names[state.range(0)]);
}
BENCHMARK(BM_SaveDocument)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// The same claim as a court-order application: its template filled in, the
// calculation's pages counted for the list of attachments, the paper and the
// calculation laid out and saved (a ledger's run makes one per account).
void BM_SaveCourtOrder(benchmark::State &state) {
    static const documents::ClaimDocument doc = claim200();
    static QTemporaryDir dir;
    const char *names[] = {"order.pdf", "order.docx"};
    const QString path = dir.filePath(QString::fromLatin1(names[state.range(0)]));
    calc::PeriodInput claim = doc.claim;
    claim.parties = {"ООО Ромашка",
                     "",
                     "",
                     "ООО Лютик",
                     "г. Тула",
                     "",
                     "",
                     "договор",
                     "В Арбитражный суд Тульской области",
                     ""};
    claim.debt = QStringLiteral("123456,78"); // under the court order's limit
    for (auto _ : state)
        documents::saveDocument(
            path, documents::makePaper(claim, documents::PaperKind::CourtOrder, doc.claim.end));
    state.SetLabel(names[state.range(0)]);
}
BENCHMARK(BM_SaveCourtOrder)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// The largest claim the program takes: 10,000 payments and increases, one a
// day, over 27 years of rates; counted and saved in a child process, whose
// peak memory is the counter (the parent's pages at the fork included).
documents::ClaimDocument largestClaim() {
    calc::PeriodInput c;
    c.debt = QStringLiteral("1234567,89");
    c.start = QDate(1998, 1, 1);
    c.end = c.start.addDays(calc::kMaxEntries + 30);
    c.filed = c.end;
    for (int i = 0; i < 110; ++i)
        c.rates.append(
            {c.start.addDays(i * 91), QString::number(4 + i % 17) + QStringLiteral(",25")});
    for (int i = 0; i < calc::kMaxEntries; ++i)
        (i % 2 ? c.increases : c.payments)
            .append({c.start.addDays(10 + i), QStringLiteral("100,00")});
    return documents::makeDocument(c, c.end);
}

void BM_SaveLargestClaim(benchmark::State &state) {
    static QTemporaryDir dir;
    const char *names[] = {"largest.pdf", "largest.odt", "largest.xlsx", "largest.txt",
                           "largest.docx"};
    const QString path = dir.filePath(QString::fromLatin1(names[state.range(0)]));
    double peak = 0;
    for (auto _ : state) {
        const pid_t child = fork();
        if (child == 0) {
            try {
                documents::saveDocument(path, largestClaim());
                _exit(0);
            } catch (...) {
                _exit(1);
            }
        }
        int status = 0;
        rusage use{};
        if (wait4(child, &status, 0, &use) != child || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0)
            state.SkipWithError("the largest claim was not saved");
        peak = double(use.ru_maxrss) / 1024;
    }
    state.counters["peak_MiB"] = peak;
    state.SetLabel(names[state.range(0)]);
}
BENCHMARK(BM_SaveLargestClaim)
    ->DenseRange(0, 4)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts, for the layout
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
