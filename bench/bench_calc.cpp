// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/housing.h"
#include "calc/inputfield.h"
#include "calc/numtext.h"
#include "calc/penalty.h"
#include "calc/periodinterest.h"

#include <benchmark/benchmark.h>

using namespace calc;

static void BM_ReadNumber(benchmark::State &state) {
    const QString text = QStringLiteral("100000,00");
    long double v = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tryReadNumber(text, v));
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_ReadNumber);

static void BM_ReadNumberLong(benchmark::State &state) {
    const QString text = QStringLiteral("123456789,123456789012345E-3");
    long double v = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(tryReadNumber(text, v));
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_ReadNumberLong);

static void BM_AmountForm(benchmark::State &state) {
    const long double v = 100729.16666666666666L;
    for (auto _ : state)
        benchmark::DoNotOptimize(amountForm(v));
}
BENCHMARK(BM_AmountForm);

static void BM_GeneralForm(benchmark::State &state) {
    const long double v = 0.1L;
    for (auto _ : state)
        benchmark::DoNotOptimize(generalForm(v));
}
BENCHMARK(BM_GeneralForm);

static void BM_LongestNumberPrefix(benchmark::State &state) {
    const QString text = QStringLiteral("1,2,5");
    for (auto _ : state)
        benchmark::DoNotOptimize(longestNumberPrefix(text));
}
BENCHMARK(BM_LongestNumberPrefix);

static void BM_Calculation(benchmark::State &state) {
    CalcInput in;
    in.debtText = QStringLiteral("100000,00");
    in.refinancingText = QStringLiteral("8,75");
    in.contractText = QStringLiteral("0,1");
    in.start = QDate(2010, 1, 1);
    in.end = QDate(2010, 1, 30);
    in.divisorText = QStringLiteral("360");
    in.court = Court::GeneralJurisdiction;
    for (auto _ : state)
        benchmark::DoNotOptimize(calculate(in));
}
BENCHMARK(BM_Calculation);

// Interest by periods over ten years with 40 rate changes and 20 payments;
// with 20 increases too, for each kind of count (0: the statutory interest,
// 1: a penalty of 0.1 % a day, 2: 1/300 of each piece's rate, 3: of one date's).
static void BM_PeriodInterest(benchmark::State &state) {
    calc::PeriodInput in;
    in.debt = QStringLiteral("1234567,89");
    in.start = QDate(2015, 1, 1);
    in.end = QDate(2024, 12, 31);
    for (int i = 0; i < 40; ++i)
        in.rates.append(
            {in.start.addDays(i * 91), QString::number(4 + i % 17) + QStringLiteral(",25")});
    for (int i = 0; i < 20; ++i)
        in.payments.append({in.start.addDays(90 + i * 180), QStringLiteral("10000,00")});
    if (state.range(0) >= 0) {
        for (int i = 0; i < 20; ++i)
            in.increases.append({in.start.addDays(45 + i * 180), QStringLiteral("5000,00")});
        const int kind = int(state.range(0));
        in.count = kind == 0   ? calc::PeriodCount::Statutory
                   : kind == 1 ? calc::PeriodCount::Contractual
                               : calc::PeriodCount::KeyFraction;
        in.dailyPercent = QStringLiteral("0,1");
        if (kind == 3) in.rateDate = QDate(2024, 12, 31);
    }
    size_t lines = 0;
    for (auto _ : state)
        lines = size_t(calc::calculatePeriods(in).lines.size());
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_PeriodInterest)
    ->Arg(-1)
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Arg(3)
    ->Unit(benchmark::kMicrosecond);

// The housing penalty: 36 monthly bills of 2022–2024 and 40 payments, at
// each portion's payment-day rate (the default); goal: under 100 µs.
static void BM_HousingPenalty(benchmark::State &state) {
    calc::PeriodInput in;
    in.count = calc::PeriodCount::Housing;
    in.filed = QDate(2025, 6, 30);
    for (int i = 0; i < 40; ++i)
        in.rates.append({QDate(2015, 1, 1).addDays(i * 91),
                         QString::number(4 + i % 17) + QStringLiteral(",25")});
    for (int i = 0; i < 36; ++i)
        in.charges.append({QDate(2022, 1, 1).addMonths(i), QStringLiteral("3456,78")});
    for (int i = 0; i < 40; ++i)
        in.payments.append({QDate(2022, 2, 20).addDays(i * 29), QStringLiteral("3000,00")});
    size_t lines = 0;
    for (auto _ : state)
        lines = size_t(calc::calculatePeriods(in).lines.size());
    state.counters["lines"] = double(lines);
}
BENCHMARK(BM_HousingPenalty)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
