// SPDX-License-Identifier: GPL-3.0-or-later
// Each legal basis on one debt left unpaid, with amounts worked out by hand
// from the key rates of 2023–2025 below.
#include "calc/claimfields.h"
#include "calc/presets.h"
#include "common/apperror.h"
#include "periodtest.h"

#include <QTest>

using namespace calc;

namespace {

RatesByDay keyRates() {
    return ratesByDay({{day("14.06.2016"), "10,5"},
                       {day("19.09.2016"), "10"},
                       {day("18.12.2023"), "16"},
                       {day("29.07.2024"), "18"},
                       {day("16.09.2024"), "19"},
                       {day("28.10.2024"), "21"},
                       {day("09.06.2025"), "20"}});
}

} // namespace

class TestPresets : public QObject {
    Q_OBJECT
private slots:
    void theTable();
    void unpaidDebt_data();
    void unpaidDebt();
    void reports();
    void lawOfTheClaim_data();
    void lawOfTheClaim();
    void courtFees_data();
    void courtFees();
    void lastRateDay_data();
    void lastRateDay();
    void terms_data();
    void terms();
};

// Every basis has its article, its words and its steps from day 1 on, in
// order; its eras are dates, in order; its windows and caps are spans of
// real days, a cap a percent; a basis by monthly bills goes by payment days;
// each of the four counts has one row.
void TestPresets::theTable() {
    QSet<QString> names;
    for (const Preset &p : presets()) {
        const QString name = QString::fromLatin1(p.name);
        QVERIFY2(!names.contains(name), p.name);
        names.insert(name);
        QVERIFY2(*p.article && *p.title && QString::fromUtf8(p.total).startsWith("Сумма "), p.name);
        const CountRules rules = presetRules(p, day("01.01.2025"), true);
        QVERIFY2(!rules.steps.isEmpty() && rules.steps.front().fromDay == 1, p.name);
        for (qsizetype i = 1; i < rules.steps.size(); ++i)
            QVERIFY2(rules.steps[i].fromDay > rules.steps[i - 1].fromDay, p.name);
        for (qsizetype i = 0; i < rules.eras.size(); ++i) {
            QVERIFY2(rules.eras[i].from.isValid(), p.name);
            QVERIFY2(i == 0 || rules.eras[i].from > rules.eras[i - 1].from, p.name);
        }
        for (qsizetype i = 0; i < rules.windows.size(); ++i) {
            const Window &w = rules.windows[i];
            QVERIFY2(w.from.isValid() && w.to >= w.from, p.name);
            QVERIFY2(w.aroseBy.isValid() == (p.windows[i].scope != WindowScope::EveryDebt), p.name);
        }
        for (const RateCap &c : rules.caps)
            QVERIFY2(c.from.isValid() && c.to >= c.from && c.most.digits > 0, p.name);
        QCOMPARE(rules.windows.size(),
                 std::count_if(std::begin(p.windows), std::end(p.windows),
                               [](const PresetWindow &w) { return w.from != nullptr; }));
        QVERIFY2(!p.totalCapAmount || rules.totalCapKopecks > 0, p.name);
        for (const PresetFine &f : p.fines)
            QVERIFY2(!f.article || (f.percent > 0 && f.percent <= 100), p.name);
        QVERIFY2(!p.monthlyBills || p.rateDay == RateDay::Payment, p.name);
        QVERIFY2(!p.oldBills.dueBefore || !billSteps(p, QDate(1990, 1, 1)).isEmpty(), p.name);
        if (p.ownButton) QCOMPARE(countName(p.layout), name);
        QCOMPARE(presetNamed(name), &p);
    }
    QVERIFY(!presetNamed(u"395 "));
}

void TestPresets::unpaidDebt_data() {
    QTest::addColumn<QString>("basis");
    QTest::addColumn<qint64>("debt"); // kopecks
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QList<qint64>>("pieces");
    const auto row = [](const char *basis, qint64 roubles, const char *from, const char *to,
                        QList<qint64> pieces) {
        QTest::newRow(basis) << basis << roubles * 100 << from << to << pieces;
    };
    // 50000,00 * 60 дн. * 16% / 150 = 3200,00.
    row("wages", 50000, "16.01.2024", "15.03.2024", {320000});
    // 1/300 of 10,5 % and 10 % to 02.10.2016, 1/150 from 03.10.2016: 630,00 +
    // 466,67 + 6000,00 = 7096,67.
    QTest::newRow("wages, the law of 03.10.2016")
        << "wages" << 10000000LL << "01.09.2016"
        << "31.12.2016" << QList<qint64>{63000, 46667, 600000};
    // 20000,00 * 40 дн. * 0,5% = 4000,00; 20000,00 * 22 дн. * 0,1% = 440,00.
    row("alimony", 20000, "01.07.2018", "31.08.2018", {400000, 44000});
    // 3 % a day for 90 days is 27000,00, capped at the price.
    row("consumer-28", 10000, "01.03.2024", "29.05.2024", {1000000});
    // 1 % a day, no cap: 10000,00 * 90 дн. * 1% = 9000,00.
    row("consumer-23", 10000, "01.03.2024", "29.05.2024", {900000});
    // Days 1–30 1/300, 31–90 1/150, from 91 1/300 again, at 21 %.
    row("tax-company", 100000, "01.02.2025", "01.06.2025", {210000, 840000, 217000});
    // 1/300 of each day's rate: 100000,00 * 31 дн. * 16% / 300 = 1653,33.
    row("tax-person", 100000, "01.01.2024", "31.01.2024", {165333});
    // 1/300 to day 60, 1/170 to day 90, 1/130 from day 91, at most 9,5 %.
    row("resources-managing", 100000, "01.02.2024", "31.05.2024", {190000, 167647, 226538});
    // 1/130 from the first day, at most 9,5 %: 100000,00 * 31 дн. * 9,5% / 130 = 2265,38.
    row("resources-other", 100000, "01.05.2024", "31.05.2024", {226538});
    // The statutory interest over the year's days: 100000,00 * 31 дн. * 16% / 366 = 1355,19.
    row("395", 100000, "01.01.2024", "31.01.2024", {135519});
    row("317.1", 100000, "01.02.2024", "29.02.2024", {126776});        // * 29 дн. * 16% / 366
    row("key-fraction", 100000, "01.08.2024", "31.08.2024", {186000}); // * 31 дн. * 18% / 300
    // 0,5 % a day: 100 days 5000,00; 250 days 12500,00, capped at the prepayment.
    row("consumer-23.1", 10000, "01.03.2024", "08.06.2024", {500000});
    QTest::newRow("consumer-23.1 capped") << "consumer-23.1" << 1000000LL << "01.01.2024"
                                          << "06.09.2024" << QList<qint64>{1000000};
    // Unpaid: the filing day's rate (19 %), 100000,00 * 61 дн. * 19% / 300 = 3863,33.
    row("procurement", 100000, "01.08.2024", "30.09.2024", {386333});
    // Nothing to day 30; 60 days at 1/300, 31 at 1/130; at most 9,5 %.
    row("resources-hoa", 100000, "01.02.2024", "31.05.2024", {190000, 226538});
}

void TestPresets::unpaidDebt() {
    QFETCH(QString, basis);
    QFETCH(qint64, debt);
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QList<qint64>, pieces);
    const Preset *preset = presetNamed(basis);
    QVERIFY(preset);
    const QDate first = day(from.toLatin1()), last = day(to.toLatin1());
    const CountRules rules = presetRules(*preset, last, true);
    const QList<Debt> debts = {{debt, first, first, first}};
    const Allocation none = allocate(debts, {});
    QList<PeriodRow> rows;
    qint64 total = 0;
    countAccount(rules, keyRates(), debts, none, {}, {0}, last, rows, total,
                 QStringLiteral("Сумма"));
    QList<qint64> got;
    for (const PeriodRow &r : rows)
        got << r.amount;
    QCOMPARE(got, pieces);
}

// A basis of its own on a claim by periods: its heading names the law, its
// total says what is summed, a piece a cap cut says so.
void TestPresets::reports() {
    PeriodInput in;
    in.basis = QStringLiteral("consumer-28");
    in.count = PeriodCount::Contractual;
    in.debt = QStringLiteral("10000,00");
    in.start = day("01.03.2024");
    in.end = in.filed = day("29.05.2024");
    in.payments = {{day("10.03.2024"), QStringLiteral("1000")}};
    QCOMPARE(
        calculatePeriods(in).lines,
        (QStringList{"Расчет неустойки по п. 5 ст. 28 Закона «О защите прав потребителей»: "
                     "с 01.03.2024 по 29.05.2024 = 90 дн.",
                     "с 01.03.2024 по 10.03.2024: 10000,00 * 10 дн. * 3% = 3000,00 руб.",
                     "оплата 10.03.2024: 1000,00 руб., остаток долга 9000,00 руб.",
                     "с 11.03.2024 по 29.05.2024: 9000,00 * 80 дн. * 3% = 21600,00 руб., с "
                     "учетом предела — 7000,00 руб.",
                     "Сумма неустойки: 10000,00 руб.", "ИТОГО: 9000,00 + 10000,00 = 19000,00 руб.",
                     "и далее неустойка не начисляется: достигнут предел",
                     "Государственная пошлина: не уплачивается (п. 3 ст. 333.36 НК РФ: цена "
                     "иска не более 1000000,00 руб.)",
                     "Штраф потребителя (присуждает суд): 50% — 9500,00 руб."}));
    // Each portion at its payment day's rate, the payment after the portion it paid.
    in.basis = QStringLiteral("procurement");
    in.count = PeriodCount::KeyFraction;
    in.start = day("01.08.2024");
    in.end = in.filed = day("30.09.2024");
    in.debt = QStringLiteral("100000");
    in.payments = {{day("15.08.2024"), QStringLiteral("40000")}};
    in.rates = {{day("29.07.2024"), "18"}, {day("16.09.2024"), "19"}};
    QCOMPARE(calculatePeriods(in).lines.mid(1, 4),
             (QStringList{"с 01.08.2024 по 15.08.2024: 40000,00 * 15 дн. * 18% / 300 = 360,00 руб.",
                          "оплата 15.08.2024: 40000,00 руб., остаток долга 60000,00 руб.",
                          "с 01.08.2024 по 30.09.2024: 60000,00 * 61 дн. * 19% / 300 = 2318,00 "
                          "руб.",
                          "Сумма пеней: 2678,00 руб."}));
    in.basis = QStringLiteral("no such");
    QVERIFY_THROWS_EXCEPTION(AppError, calculatePeriods(in));
}

// The fee as it is paid: a court order's half (at least 8 000 roubles in an
// arbitration court under the scale of 2024), whole roubles under that
// scale, kopecks under the older one.
void TestPresets::courtFees_data() {
    QTest::addColumn<qint64>("total"); // kopecks
    QTest::addColumn<bool>("arbitration");
    QTest::addColumn<bool>("since2024");
    QTest::addColumn<bool>("courtOrder");
    QTest::addColumn<qint64>("paid"); // kopecks
    const auto row = [](const char *name, qint64 total, bool arbitration, bool since2024,
                        bool courtOrder, qint64 paid) {
        QTest::newRow(name) << total << arbitration << since2024 << courtOrder << paid;
    };
    row("arbitration court order of 50 000: 5 000 raised to 8 000", 5000000, true, true, true,
        800000);
    // 55 000 + 3 % of 2 000 000 = 115 000, halved.
    row("arbitration court order of 3 000 000: half", 300000000, true, true, true, 5750000);
    row("general court order of 50 000: half, no minimum", 5000000, false, true, true, 200000);
    row("arbitration court order before 09.09.2024: half, no minimum", 5000000, true, false, true,
        100000);
    // 25 000 + 1 % of the part above a million.
    row("25000,49 down", 100004900, false, true, false, 2500000);
    row("25000,50 up", 100005000, false, true, false, 2500100);
    row("the old scale keeps kopecks: 13200,25", 100005000, false, false, false, 1320025);
    // 4 % of 50 289,75 = 2 011,59, halved: half a kopeck up.
    row("a half kopeck up", 5028975, true, false, true, 100580);
}

void TestPresets::courtFees() {
    QFETCH(qint64, total);
    QFETCH(bool, arbitration);
    QFETCH(bool, since2024);
    QFETCH(bool, courtOrder);
    QFETCH(qint64, paid);
    PeriodInput in;
    in.basis = QStringLiteral("395");
    in.court = arbitration ? Court::Arbitration : Court::GeneralJurisdiction;
    in.filed = since2024 ? kFeeScale2024 : kFeeScale2024.addDays(-1);
    in.courtOrder = courtOrder;
    QCOMPARE(claimFeeKopecks(in, total), paid);
}

// The latest day whose rate a claim takes, which a table must reach or the
// user is told: the period's end or the filing date, one date's rate, the
// first day of "и далее".
void TestPresets::lastRateDay_data() {
    QTest::addColumn<QString>("basis");
    QTest::addColumn<QString>("terms"); // "rate-date=…", "no-continuing"
    QTest::addColumn<QDate>("last");
    QTest::newRow("the day after the period") << "395"
                                              << "" << QDate(2024, 4, 1);
    QTest::newRow("without и далее: the period's end") << "395"
                                                       << "no-continuing" << QDate(2024, 3, 31);
    QTest::newRow("what is unpaid at the filing date's rate") << "procurement"
                                                              << "" << QDate(2026, 12, 1);
    QTest::newRow("one date's rate") << "key-fraction"
                                     << "rate-date=10.10.2026" << QDate(2026, 10, 10);
    QTest::newRow("bills to the filing date, then и далее") << "housing"
                                                            << "" << QDate(2026, 12, 2);
    QTest::newRow("bills at one date's rate") << "housing"
                                              << "rate-date=15.12.2026" << QDate(2026, 12, 15);
}

void TestPresets::lastRateDay() {
    QFETCH(QString, basis);
    QFETCH(QString, terms);
    QFETCH(QDate, last);
    PeriodInput in;
    in.count = countOfBasis(basis, in.basis);
    in.start = day("01.01.2024");
    in.end = day("31.03.2024");
    in.filed = day("01.12.2026");
    in.continuing = terms != u"no-continuing";
    if (terms.startsWith(u"rate-date=")) {
        in.rateDate = day(terms.section(u'=', 1).toLatin1());
        in.rateDay = RateDay::OneDate;
    }
    QCOMPARE(calc::lastRateDay(in), last);
}

// The terms some bases take, and where they are refused: the contractual
// penalty's cap, the wages' share by contract, the supplier's part done.
// Who pays the court fee and in which court, and whose rate the unpaid
// procurement debt takes: a line of each claim's report.
void TestPresets::lawOfTheClaim_data() {
    QTest::addColumn<QString>("basis");
    QTest::addColumn<QString>("debt");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("filed");
    QTest::addColumn<QStringList>("terms"); // "court-order", "no-exemption", "arbitration"
    QTest::addColumn<QString>("line");
    const QString fee = QStringLiteral("Государственная пошлина: ");
    // 1500000,00 + 90 дн. * 1% = 2850000,00 in a general court: 43500 less 25000 on a million.
    QTest::newRow("a consumer above a million")
        << "consumer-23"
        << "1500000"
        << "29.05.2025"
        << "01.07.2025" << QStringList{}
        << fee + "18500,00 руб. (п. 3 ст. 333.36 НК РФ: за вычетом пошлины с 1000000,00 руб.)";
    QTest::newRow("half of it for a court order")
        << "consumer-23"
        << "1500000"
        << "29.05.2025"
        << "01.07.2025" << QStringList{"court-order"}
        << fee + "9250,00 руб. (п. 3 ст. 333.36 НК РФ: за вычетом пошлины с 1000000,00 руб.)";
    QTest::newRow("wages") << "wages"
                           << "100000"
                           << "29.05.2025"
                           << "01.07.2025" << QStringList{}
                           << fee + "не уплачивается (пп. 1 п. 1 ст. 333.36 НК РФ)";
    QTest::newRow("alimony") << "alimony"
                             << "100000"
                             << "29.05.2025"
                             << "01.07.2025" << QStringList{}
                             << fee + "не уплачивается (пп. 2 п. 1 ст. 333.36 НК РФ)";
    // 100000,00 * 90 дн. * 21% / 150 = 12600,00; 112600,00 in a general court: 4000 + 3% of 12600.
    QTest::newRow("wages claimed by an employer")
        << "wages"
        << "100000"
        << "29.05.2025"
        << "01.07.2025" << QStringList{"no-exemption"} << fee + "4378,00 руб.";
    QTest::newRow("the exemption in either court")
        << "wages"
        << "100000"
        << "29.05.2025"
        << "01.07.2025" << QStringList{"arbitration"}
        << fee + "не уплачивается (пп. 1 п. 1 ст. 333.36 НК РФ)";
    // What is unpaid goes at the filing day's rate (21 %), not at the period end's (19 %).
    QTest::newRow("procurement filed after the period")
        << "procurement"
        << "100000"
        << "30.09.2024"
        << "01.11.2024" << QStringList{}
        << "с 03.07.2024 по 30.09.2024: 100000,00 * 90 дн. * 21% / 300 = 6300,00 руб.";
}

void TestPresets::lawOfTheClaim() {
    QFETCH(QString, basis);
    QFETCH(QString, debt);
    QFETCH(QString, to);
    QFETCH(QString, filed);
    QFETCH(QStringList, terms);
    QFETCH(QString, line);
    PeriodInput in;
    in.basis = basis;
    in.count = countOfBasis(basis, in.basis);
    in.debt = debt;
    in.end = day(to.toLatin1());
    in.start = in.end.addDays(-89);
    in.filed = day(filed.toLatin1());
    in.rates = {{day("18.12.2023"), "16"},
                {day("29.07.2024"), "18"},
                {day("16.09.2024"), "19"},
                {day("28.10.2024"), "21"}};
    in.courtOrder = terms.contains(u"court-order");
    in.feeExemption = !terms.contains(u"no-exemption");
    // An employee, a consumer, a parent: a general court; a customer: the arbitration court.
    in.court = courtFor(in);
    QCOMPARE(in.court, basis == u"procurement" ? Court::Arbitration : Court::GeneralJurisdiction);
    if (terms.contains(u"arbitration")) in.court = Court::Arbitration;
    const QStringList lines = calculatePeriods(in).lines;
    QVERIFY2(lines.contains(line), qPrintable(lines.join(u'\n')));
}

void TestPresets::terms_data() {
    QTest::addColumn<QString>("basis");
    QTest::addColumn<QStringList>("terms"); // cap%, cap, share, fulfilled
    QTest::addColumn<QString>("expected");  // a line of the report, or a part of the refusal
    // 50000,00 from 16.01.2024 to 15.03.2024 at 16 %, 60 days.
    QTest::newRow("wages, the contract's 1/100")
        << "wages" << QStringList{"", "", "100", ""} << "Сумма компенсации: 4800,00 руб.";
    QTest::newRow("wages, 1/150 is the law's")
        << "wages" << QStringList{"", "", "150", ""} << "нужно N от 1 до 149";
    QTest::newRow("a share for another basis")
        << "tax-person" << QStringList{"", "", "100", ""} << "только для компенсации";
    QTest::newRow("the supplier, 20000,00 fulfilled: 30000,00 * 60 дн. * 16% / 300")
        << "procurement-supplier" << QStringList{"", "", "", "20000"} << "ИТОГО: 960,00 руб.";
    QTest::newRow("more fulfilled than the price")
        << "procurement-supplier" << QStringList{"", "", "", "50000,01"}
        << "не больше цены контракта 50000,00 руб.";
    QTest::newRow("fulfilled for the customer's penalty")
        << "procurement" << QStringList{"", "", "", "1"} << "только для пеней поставщика";
    QTest::newRow("a penalty of 0,1 % a day, at most 5 %")
        << "" << QStringList{"5", "", "", ""} << "Сумма неустойки: 2500,00 руб.";
    QTest::newRow("at most 1000,00")
        << "" << QStringList{"", "1000", "", ""} << "Сумма неустойки: 1000,00 руб.";
    QTest::newRow("both caps") << "" << QStringList{"5", "1000", "", ""} << "а не оба";
    QTest::newRow("a cap of nothing") << "" << QStringList{"0", "", "", ""} << "больше нуля";
    QTest::newRow("a cap on a basis with its own")
        << "consumer-28" << QStringList{"5", "", "", ""} << "только для договорной неустойки";
}

void TestPresets::terms() {
    QFETCH(QString, basis);
    QFETCH(QStringList, terms);
    QFETCH(QString, expected);
    PeriodInput in;
    in.count = countOfBasis(basis.isEmpty() ? QStringLiteral("contract") : basis, in.basis);
    in.dailyPercent = QStringLiteral("0,1");
    in.debt = QStringLiteral("50000");
    in.start = day("16.01.2024");
    in.end = in.filed = day("15.03.2024");
    in.rates = {{day("18.12.2023"), "16"}};
    in.capPercent = terms[0];
    in.capAmount = terms[1];
    in.contractFraction = terms[2].toInt();
    in.fulfilled = terms[3];
    const QStringList said = countedOrRefused(in);
    QVERIFY2(says(said, expected), qPrintable(said.join(u'\n')));
}

QTEST_GUILESS_MAIN(TestPresets)
#include "tst_presets.moc"
