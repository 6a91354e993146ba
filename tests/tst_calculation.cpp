// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/courtfee.h"
#include "calc/inputfield.h"
#include "calc/numtext.h"
#include "calc/penalty.h"
#include "calc/periodinterest.h"
#include "common/apperror.h"
#include "workedexample.h"

#include <QTest>

using namespace calc;

Q_DECLARE_METATYPE(calc::CalcInput)
Q_DECLARE_METATYPE(calc::Court)
Q_DECLARE_METATYPE(calc::FeeScale)

namespace {

CalcInput statutoryInput() {
    CalcInput in;
    in.debtText = normalisedAmount(QStringLiteral("100000"));
    in.refinancingText = QStringLiteral("8,75");
    in.contractText = QStringLiteral("0,1");
    in.start = QDate(2010, 1, 1);
    in.end = QDate(2010, 1, 30);
    in.taxPercent = 18;
    in.divisorText = QStringLiteral("360");
    in.statutory = true;
    in.court = Court::GeneralJurisdiction;
    in.filed = kWorkedExamplesFiled;
    return in;
}

} // namespace

class TestCalculation : public QObject {
    Q_OBJECT
private slots:
    void dayCounts_data();
    void dayCounts();
    void stateDuty_data();
    void stateDuty();
    void feeScale2024_data();
    void feeScale2024();
    void feeInKopecks_data();
    void feeInKopecks();
    void feeScaleFollowsTheFilingDate();
    void statutoryExample();
    void contractualExample();
    void reportVariants_data();
    void reportVariants();
    void badRateText();
    void amountsTooLarge_data();
    void amountsTooLarge();
};

void TestCalculation::dayCounts_data() {
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<int>("days");
    QTest::newRow("same day") << QDate(2010, 3, 5) << QDate(2010, 3, 5) << 1;
    QTest::newRow("end a day before, same month") << QDate(2010, 3, 5) << QDate(2010, 3, 4) << 0;
    QTest::newRow("end a month before") << QDate(2010, 3, 5) << QDate(2010, 2, 5) << 0;
    QTest::newRow("end years before") << QDate(2010, 3, 5) << QDate(1990, 1, 1) << 0;
    QTest::newRow("31st counts 31") << QDate(2010, 1, 31) << QDate(2010, 2, 1) << 1;
    QTest::newRow("end of February") << QDate(2010, 2, 28) << QDate(2010, 3, 1) << 4;
    QTest::newRow("whole year") << QDate(2010, 1, 1) << QDate(2010, 12, 31) << 361;
    QTest::newRow("end before start, later day") << QDate(2010, 2, 1) << QDate(2010, 1, 31) << 1;
    QTest::newRow("worked example") << QDate(2010, 1, 1) << QDate(2010, 1, 30) << 30;
    QTest::newRow("the 31st before a 1st") << QDate(2010, 1, 1) << QDate(2009, 12, 31) << 1;
    QTest::newRow("across years") << QDate(2009, 12, 28) << QDate(2010, 1, 3) << 6;
}

void TestCalculation::dayCounts() {
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(int, days);
    QCOMPARE(dayCount(decodeDates(start, end)), days);
}

void TestCalculation::stateDuty_data() {
    QTest::addColumn<double>("total");
    QTest::addColumn<double>("arbitration");
    QTest::addColumn<double>("general");
    QTest::newRow("0") << 0.0 << 2000.0 << 400.0;
    QTest::newRow("10 000") << 10000.0 << 2000.0 << 400.0;
    QTest::newRow("20 000") << 20000.0 << 2000.0 << 800.0;
    QTest::newRow("50 000") << 50000.0 << 2000.0 << 1700.0;
    QTest::newRow("75 000") << 75000.0 << 3000.0 << 2450.0;
    QTest::newRow("100 000") << 100000.0 << 4000.0 << 3200.0;
    QTest::newRow("150 000") << 150000.0 << 5500.0 << 4200.0;
    QTest::newRow("200 000") << 200000.0 << 7000.0 << 5200.0;
    QTest::newRow("1 000 000") << 1000000.0 << 23000.0 << 13200.0;
    QTest::newRow("2 000 000") << 2000000.0 << 33000.0 << 18200.0;
    QTest::newRow("general maximum reached") << 10360000.0 << 74800.0 << 60000.0;
    QTest::newRow("arbitration maximum reached") << 35400000.0 << 200000.0 << 60000.0;
    QTest::newRow("40 000 000") << 40000000.0 << 200000.0 << 60000.0;
}

// A kopeck either side of a total gives the same fee in kopecks: the scales
// are continuous at their bounds and caps, and the fee never falls as the
// total grows. Counted in kopecks, the fee is the same.
void checkContinuity(double total, FeeScale scale) {
    for (Court c : {Court::Arbitration, Court::GeneralJurisdiction}) {
        const double below = courtFee(total - 0.01, c, scale);
        const double atBound = courtFee(total, c, scale);
        const double above = courtFee(total + 0.01, c, scale);
        QVERIFY(below <= atBound && atBound <= above);
        QVERIFY(above - below < 0.0011); // two kopecks at 5 % at most
        QCOMPARE(amountForm(below), amountForm(atBound));
        QCOMPARE(amountForm(above), amountForm(atBound));
        QCOMPARE(kopecksText(courtFeeKopecks(qRound64(total * 100), c, scale)),
                 amountForm(atBound));
    }
}

void TestCalculation::stateDuty() {
    QFETCH(double, total);
    QFETCH(double, arbitration);
    QFETCH(double, general);
    QCOMPARE(courtFee(total, Court::Arbitration, FeeScale::Until2024), arbitration);
    QCOMPARE(courtFee(total, Court::GeneralJurisdiction, FeeScale::Until2024), general);
    if (total > 0) checkContinuity(total, FeeScale::Until2024);
}

void TestCalculation::feeScale2024_data() {
    QTest::addColumn<double>("total");
    QTest::addColumn<double>("arbitration");
    QTest::addColumn<double>("general");
    QTest::newRow("0") << 0.0 << 10000.0 << 4000.0;
    QTest::newRow("50 000") << 50000.0 << 10000.0 << 4000.0;
    QTest::newRow("100 000") << 100000.0 << 10000.0 << 4000.0;
    QTest::newRow("200 000") << 200000.0 << 15000.0 << 7000.0;
    QTest::newRow("300 000") << 300000.0 << 20000.0 << 10000.0;
    QTest::newRow("500 000") << 500000.0 << 30000.0 << 15000.0;
    QTest::newRow("1 000 000") << 1000000.0 << 55000.0 << 25000.0;
    QTest::newRow("3 000 000") << 3000000.0 << 115000.0 << 45000.0;
    QTest::newRow("8 000 000") << 8000000.0 << 265000.0 << 80000.0;
    QTest::newRow("10 000 000") << 10000000.0 << 325000.0 << 87000.0;
    QTest::newRow("24 000 000") << 24000000.0 << 465000.0 << 136000.0;
    QTest::newRow("50 000 000") << 50000000.0 << 725000.0 << 214000.0;
    QTest::newRow("100 000 000") << 100000000.0 << 975000.0 << 314000.0;
    QTest::newRow("general cap reached") << 490666666.67 << 2928333.33335 << 900000.0;
    QTest::newRow("500 000 000") << 500000000.0 << 2975000.0 << 900000.0;
    QTest::newRow("arbitration cap reached") << 1905000000.0 << 10000000.0 << 900000.0;
    QTest::newRow("2 000 000 000") << 2000000000.0 << 10000000.0 << 900000.0;
}

void TestCalculation::feeScale2024() {
    QFETCH(double, total);
    QFETCH(double, arbitration);
    QFETCH(double, general);
    QCOMPARE(courtFee(total, Court::Arbitration, FeeScale::Since2024), arbitration);
    QCOMPARE(courtFee(total, Court::GeneralJurisdiction, FeeScale::Since2024), general);
    if (total > 0) checkContinuity(total, FeeScale::Since2024);
}

// In kopecks the fee is exact: where the six-line report's long double lands
// just below half a kopeck, the exact count rounds the half away from zero.
void TestCalculation::feeInKopecks_data() {
    QTest::addColumn<qint64>("total");
    QTest::addColumn<Court>("court");
    QTest::addColumn<FeeScale>("scale");
    QTest::addColumn<qint64>("fee");
    QTest::newRow("half a kopeck")
        << qint64(10000050) << Court::GeneralJurisdiction << FeeScale::Since2024 << qint64(400002);
    QTest::newRow("a bound is the lower tier's")
        << qint64(30000000) << Court::GeneralJurisdiction << FeeScale::Since2024 << qint64(1000000);
    QTest::newRow("a kopeck above it")
        << qint64(30000001) << Court::GeneralJurisdiction << FeeScale::Since2024 << qint64(1000000);
    QTest::newRow("the minimum") << qint64(1000000) << Court::Arbitration << FeeScale::Until2024
                                 << qint64(200000);
    QTest::newRow("the largest debt, capped") << qint64(99999999999999999) << Court::Arbitration
                                              << FeeScale::Since2024 << qint64(1000000000);
}

void TestCalculation::feeInKopecks() {
    QFETCH(qint64, total);
    QFETCH(Court, court);
    QFETCH(FeeScale, scale);
    QFETCH(qint64, fee);
    QCOMPARE(courtFeeKopecks(total, court, scale), fee);
}

// The scale is the one in force on the day the claim is filed, whatever
// period it covers: a claim for August 2024 filed today pays by the new one.
void TestCalculation::feeScaleFollowsTheFilingDate() {
    CalcInput in = statutoryInput();
    in.start = QDate(2024, 8, 1);
    in.end = QDate(2024, 8, 31);
    const struct {
        QDate filed;
        FeeScale scale;
        const char *line;
    } cases[] = {
        {QDate(2024, 9, 1), FeeScale::Until2024, "Государственная пошлина: 3215,07 руб."},
        {QDate(2024, 9, 8), FeeScale::Until2024, "Государственная пошлина: 3215,07 руб."},
        {QDate(2024, 9, 9), FeeScale::Since2024, "Государственная пошлина: 4022,60 руб."},
        {QDate(2026, 12, 7), FeeScale::Since2024, "Государственная пошлина: 4022,60 руб."}};
    for (const auto &c : cases) {
        in.filed = c.filed;
        const CalcResult r = calculate(in);
        QCOMPARE(r.fee, courtFee(r.total, in.court, c.scale));
        QCOMPARE(r.lines.value(5), QString::fromUtf8(c.line));
    }
}

void TestCalculation::statutoryExample() {
    const CalcResult r = calculate(statutoryInput());
    QCOMPARE(r.days, 30);
    QCOMPARE(r.tax, double(100000.0L * 18 / 118));
    QCOMPARE(r.lines, kWorkedExample);
    // The Latin letters the report has always carried.
    QCOMPARE(r.lines[0].toUtf8().mid(int(strlen("Период просрочки: ")), 2), QByteArray("c "));
    QCOMPARE(r.lines[2].toUtf8().at(0), 'C');
}

void TestCalculation::contractualExample() {
    CalcInput in = statutoryInput();
    in.debtText = normalisedAmount(QStringLiteral("50000"));
    in.statutory = false;
    in.contractText = normalisedNumber(QStringLiteral("0,1"), QStringLiteral("0"));
    in.start = QDate(2010, 3, 1);
    in.end = QDate(2010, 3, 31);
    const CalcResult r = calculate(in);
    QCOMPARE(r.days, 31);
    QCOMPARE(r.lines[1], QStringLiteral("Размер договорной пени: 0,1%"));
    QCOMPARE(r.lines[3],
             QStringLiteral("Сумма процентов: 50000,00 * 31 * 0,1 / 100 = 1550,00 руб."));
    QCOMPARE(r.lines[4], QStringLiteral("ИТОГО: 50000,00 + 1550,00 = 51550,00 руб."));
}

void TestCalculation::reportVariants_data() {
    QTest::addColumn<CalcInput>("input");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");

    CalcInput in = statutoryInput();
    in.end = QDate(2009, 12, 30);
    QTest::newRow("no days: no interest")
        << in << 3 << "Сумма процентов: 100000,00 * 0 * 8,75 / 36000 = 0,00 руб.";
    QTest::newRow("no days: total is the debt")
        << in << 4 << "ИТОГО: 100000,00 + 0,00 = 100000,00 руб.";
    QTest::newRow("no days: duty on the debt")
        << in << 5 << "Государственная пошлина: 3200,00 руб.";

    in = statutoryInput();
    in.debtText = normalisedAmount(QString());
    in.court = Court::Arbitration;
    QTest::newRow("empty debt") << in << 4 << "ИТОГО: 0,00 + 0,00 = 0,00 руб.";
    QTest::newRow("empty debt: arbitration minimum")
        << in << 5 << "Государственная пошлина: 2000,00 руб.";
    in.court = Court::GeneralJurisdiction;
    QTest::newRow("empty debt: general minimum")
        << in << 5 << "Государственная пошлина: 400,00 руб.";

    in = statutoryInput();
    in.statutory = false;
    in.contractText = normalisedNumber(QString(), QStringLiteral("0"));
    QTest::newRow("zero contractual rate")
        << in << 3 << "Сумма процентов: 100000,00 * 30 * 0 / 100 = 0,00 руб.";

    in = statutoryInput();
    in.refinancingText = QStringLiteral("10  ");
    QTest::newRow("rate blanks kept, line 2") << in << 1 << "Ставка рефинансирования: 10  %";
    QTest::newRow("rate blanks kept, line 4")
        << in << 3 << "Сумма процентов: 100000,00 * 30 * 10   / 36000 = 833,33 руб.";

    in = statutoryInput();
    in.divisorText = QStringLiteral("1");
    QTest::newRow("divisor 1") << in << 3
                               << "Сумма процентов: 100000,00 * 30 * 8,75 / 100 = 262500,00 руб.";
    in.divisorText = QStringLiteral("365");
    QTest::newRow("divisor 365") << in << 3
                                 << "Сумма процентов: 100000,00 * 30 * 8,75 / 36500 = 719,18 руб.";

    in = statutoryInput();
    in.taxPercent = 0;
    QTest::newRow("no tax") << in << 2
                            << "Cумма долга: 100000,00 руб., в том числе налог 0%: 0,00 руб.";
    in.taxPercent = 35;
    in.debtText = normalisedAmount(QStringLiteral("1234,57"));
    // The debt is typed with its tax: 1234,57 × 35 / 135 = 320,0737.
    QTest::newRow("the largest tax, inside the debt")
        << in << 2 << "Cумма долга: 1234,57 руб., в том числе налог 35%: 320,07 руб.";
}

void TestCalculation::reportVariants() {
    QFETCH(CalcInput, input);
    QFETCH(int, line);
    QFETCH(QString, text);
    QCOMPARE(calculate(input).lines.value(line), text);
}

void TestCalculation::badRateText() {
    CalcInput in = statutoryInput();
    in.refinancingText = QStringLiteral("8,7,5");
    try {
        calculate(in);
        QFAIL("no error");
    } catch (const AppError &e) {
        QCOMPARE(e.message(), QStringLiteral("'8,7,5' is not a valid floating point value"));
    }
    // The contractual mode never reads the refinancing rate.
    in.statutory = false;
    QCOMPARE(calculate(in).lines.size(), 6);
}

void TestCalculation::amountsTooLarge_data() {
    QTest::addColumn<QString>("debt");
    QTest::addColumn<QString>("divisor");
    QTest::addColumn<bool>("refused");
    QTest::newRow("interest past a double") << "1E308"
                                            << "1" << true;
    QTest::newRow("debt past a double") << "9E999"
                                        << "360" << true;
    QTest::newRow("largest that fits") << "1E300"
                                       << "360" << false;
}

// A claim never shows "INF": what a double cannot hold is refused whole.
void TestCalculation::amountsTooLarge() {
    QFETCH(QString, debt);
    QFETCH(QString, divisor);
    QFETCH(bool, refused);
    CalcInput in = statutoryInput();
    in.debtText = debt;
    in.divisorText = divisor;
    try {
        const CalcResult r = calculate(in);
        QVERIFY(!refused);
        QVERIFY(!r.lines.join(u' ').contains(QStringLiteral("inf"), Qt::CaseInsensitive));
    } catch (const AppError &e) {
        QVERIFY(refused);
        QCOMPARE(e.message(), QStringLiteral("Сумма слишком велика для расчета"));
    }
}

QTEST_GUILESS_MAIN(TestCalculation)
#include "tst_calculation.moc"
