// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/numtext.h"
#include "calc/periodinterest.h"
#include "common/apperror.h"
#include "periodtest.h"

#include <QTest>

using namespace calc;

class TestPeriodInterest : public QObject {
    Q_OBJECT
private slots:
    void pieces_data();
    void pieces();
    void refused_data();
    void refused();
    void feeAndTotals();
    void depositRateSpan_data();
    void depositRateSpan();
    void kopecks_data();
    void kopecks();
};

void TestPeriodInterest::pieces_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<QStringList>("paid");
    QTest::addColumn<bool>("moratorium");
    QTest::addColumn<QStringList>("lines"); // all but the fee line
    QTest::newRow("inside one piece")
        << "01.03.2021"
        << "31.03.2021" << QStringList{} << true
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 01.03.2021 по 31.03.2021 = 31 дн.",
                       "с 01.03.2021 по 31.03.2021: 100000,00 * 31 дн. * 4,25% / 365 = 360,96 руб.",
                       "Сумма процентов: 360,96 руб.",
                       "ИТОГО: 100000,00 + 360,96 = 100360,96 руб."};
    QTest::newRow("rate change on the first day")
        << "27.07.2020"
        << "31.07.2020" << QStringList{} << true
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 27.07.2020 по 31.07.2020 = 5 дн.",
                       "с 27.07.2020 по 31.07.2020: 100000,00 * 5 дн. * 4,25% / 366 = 58,06 руб.",
                       "Сумма процентов: 58,06 руб.", "ИТОГО: 100000,00 + 58,06 = 100058,06 руб."};
    QTest::newRow("rate change on the last day")
        << "20.07.2020"
        << "27.07.2020" << QStringList{} << true
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 20.07.2020 по 27.07.2020 = 8 дн.",
                       "с 20.07.2020 по 26.07.2020: 100000,00 * 7 дн. * 6% / 366 = 114,75 руб.",
                       "с 27.07.2020 по 27.07.2020: 100000,00 * 1 дн. * 4,25% / 366 = 11,61 руб.",
                       "Сумма процентов: 126,36 руб.",
                       "ИТОГО: 100000,00 + 126,36 = 100126,36 руб."};
    QTest::newRow("a year end, leap year to common year")
        << "30.12.2020"
        << "02.01.2021" << QStringList{} << true
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 30.12.2020 по 02.01.2021 = 4 дн.",
                       "с 30.12.2020 по 31.12.2020: 100000,00 * 2 дн. * 4,25% / 366 = 23,22 руб.",
                       "с 01.01.2021 по 02.01.2021: 100000,00 * 2 дн. * 4,25% / 365 = 23,29 руб.",
                       "Сумма процентов: 46,51 руб.", "ИТОГО: 100000,00 + 46,51 = 100046,51 руб."};
    QTest::newRow("29 February")
        << "01.02.2024"
        << "29.02.2024" << QStringList{} << true
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 01.02.2024 по 29.02.2024 = 29 дн.",
                       "с 01.02.2024 по 29.02.2024: 100000,00 * 29 дн. * 12% / 366 = 950,82 руб.",
                       "Сумма процентов: 950,82 руб.",
                       "ИТОГО: 100000,00 + 950,82 = 100950,82 руб."};
    QTest::newRow("before the oldest entry")
        << "01.06.2019"
        << "10.06.2019" << QStringList{} << true
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 01.06.2019 по 10.06.2019 = 10 дн.",
                       "с 01.06.2019 по 10.06.2019: 100000,00 * 10 дн. * 6% / 365 = 164,38 руб.",
                       "Сумма процентов: 164,38 руб.",
                       "ИТОГО: 100000,00 + 164,38 = 100164,38 руб."};
    QTest::newRow("a payment on the first day")
        << "01.03.2021"
        << "10.03.2021" << QStringList{"01.03.2021=50000"} << true
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 01.03.2021 по 10.03.2021 = 10 дн.",
                       "с 01.03.2021 по 01.03.2021: 100000,00 * 1 дн. * 4,25% / 365 = 11,64 руб.",
                       "оплата 01.03.2021: 50000,00 руб., остаток долга 50000,00 руб.",
                       "с 02.03.2021 по 10.03.2021: 50000,00 * 9 дн. * 4,25% / 365 = 52,40 руб.",
                       "Сумма процентов: 64,04 руб.",
                       "ИТОГО: 50000,00 + 64,04 = 50064,04 руб."};
    QTest::newRow("a payment on the last day")
        << "01.03.2021"
        << "10.03.2021" << QStringList{"10.03.2021=30000,5"} << true
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 01.03.2021 по 10.03.2021 = 10 дн.",
                       "с 01.03.2021 по 10.03.2021: 100000,00 * 10 дн. * 4,25% / 365 = 116,44 руб.",
                       "оплата 10.03.2021: 30000,50 руб., остаток долга 69999,50 руб.",
                       "Сумма процентов: 116,44 руб.", "ИТОГО: 69999,50 + 116,44 = 70115,94 руб."};
    QTest::newRow("a payment that clears the debt")
        << "01.03.2021"
        << "10.03.2021" << QStringList{"05.03.2021=150000", "08.03.2021=100.00"} << true
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 01.03.2021 по 10.03.2021 = 10 дн.",
                       "с 01.03.2021 по 05.03.2021: 100000,00 * 5 дн. * 4,25% / 365 = 58,22 руб.",
                       "оплата 05.03.2021: 150000,00 руб., остаток долга 0,00 руб., "
                       "переплата 50000,00 руб.",
                       "оплата 08.03.2021: 100,00 руб., остаток долга 0,00 руб., переплата "
                       "100,00 руб.",
                       "Сумма процентов: 58,22 руб.",
                       "ИТОГО: 58,22 руб."};
    QTest::newRow("a payment inside the moratorium")
        << "01.03.2022"
        << "31.10.2022" << QStringList{"10.06.2022=5000"} << true
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 01.03.2022 по 31.10.2022 = 245 дн.",
                       "с 01.03.2022 по 31.03.2022: 100000,00 * 31 дн. * 20% / 365 = 1698,63 руб.",
                       "с 01.04.2022 по 10.06.2022: мораторий, проценты не начисляются",
                       "оплата 10.06.2022: 5000,00 руб., остаток долга 95000,00 руб.",
                       "с 11.06.2022 по 01.10.2022: мораторий, проценты не начисляются",
                       "с 02.10.2022 по 31.10.2022: 95000,00 * 30 дн. * 7,5% / 365 = 585,62 руб.",
                       "Сумма процентов: 2284,25 руб.",
                       "ИТОГО: 95000,00 + 2284,25 = 97284,25 руб."};
    // The moratorium covers debts that arose before it began, and nothing later.
    QTest::newRow("starts on the moratorium's first day: covered")
        << "01.04.2022"
        << "10.04.2022" << QStringList{} << true
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 01.04.2022 по 10.04.2022 = 10 дн.",
                       "с 01.04.2022 по 10.04.2022: мораторий, проценты не начисляются",
                       "Сумма процентов: 0,00 руб.", "ИТОГО: 100000,00 + 0,00 = 100000,00 руб."};
    QTest::newRow("starts inside the moratorium: not covered")
        << "15.09.2022"
        << "15.10.2022" << QStringList{} << true
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 15.09.2022 по 15.10.2022 = 31 дн.",
                       "с 15.09.2022 по 18.09.2022: 100000,00 * 4 дн. * 9,5% / 365 = 104,11 руб.",
                       "с 19.09.2022 по 15.10.2022: 100000,00 * 27 дн. * 7,5% / 365 = 554,79 руб.",
                       "Сумма процентов: 658,90 руб.",
                       "ИТОГО: 100000,00 + 658,90 = 100658,90 руб."};
    QTest::newRow("ends inside the moratorium")
        << "25.03.2022"
        << "05.04.2022" << QStringList{} << true
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 25.03.2022 по 05.04.2022 = 12 дн.",
                       "с 25.03.2022 по 31.03.2022: 100000,00 * 7 дн. * 20% / 365 = 383,56 руб.",
                       "с 01.04.2022 по 05.04.2022: мораторий, проценты не начисляются",
                       "Сумма процентов: 383,56 руб.",
                       "ИТОГО: 100000,00 + 383,56 = 100383,56 руб."};
    // The moratorium's last day, 01.10.2022, is free of interest too, also
    // when a piece starts on it (a payment the day before).
    QTest::newRow("spans the moratorium")
        << "25.03.2022"
        << "05.10.2022" << QStringList{"30.09.2022=10000"} << true
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 25.03.2022 по 05.10.2022 = 195 дн.",
                       "с 25.03.2022 по 31.03.2022: 100000,00 * 7 дн. * 20% / 365 = 383,56 руб.",
                       "с 01.04.2022 по 30.09.2022: мораторий, проценты не начисляются",
                       "оплата 30.09.2022: 10000,00 руб., остаток долга 90000,00 руб.",
                       "с 01.10.2022 по 01.10.2022: мораторий, проценты не начисляются",
                       "с 02.10.2022 по 05.10.2022: 90000,00 * 4 дн. * 7,5% / 365 = 73,97 руб.",
                       "Сумма процентов: 457,53 руб.",
                       "ИТОГО: 90000,00 + 457,53 = 90457,53 руб."};
    QTest::newRow("a rate below one percent")
        << "01.03.2025"
        << "10.03.2025" << QStringList{} << true
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 01.03.2025 по 10.03.2025 = 10 дн.",
                       "с 01.03.2025 по 10.03.2025: 100000,00 * 10 дн. * 0,5% / 365 = 13,70 руб.",
                       "Сумма процентов: 13,70 руб.", "ИТОГО: 100000,00 + 13,70 = 100013,70 руб."};
    QTest::newRow("the moratorium not applied")
        << "10.04.2022"
        << "14.06.2022" << QStringList{} << false
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 10.04.2022 по 14.06.2022 = 66 дн.",
                       "с 10.04.2022 по 10.04.2022: 100000,00 * 1 дн. * 20% / 365 = 54,79 руб.",
                       "с 11.04.2022 по 13.06.2022: 100000,00 * 64 дн. * 17% / 365 = 2980,82 руб.",
                       "с 14.06.2022 по 14.06.2022: 100000,00 * 1 дн. * 9,5% / 365 = 26,03 руб.",
                       "Сумма процентов: 3061,64 руб.",
                       "ИТОГО: 100000,00 + 3061,64 = 103061,64 руб."};
}

void TestPeriodInterest::pieces() {
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QStringList, paid);
    QFETCH(bool, moratorium);
    QFETCH(QStringList, lines);
    PeriodInput in;
    in.debt = QStringLiteral("100000,00");
    in.start = day(start.toLatin1());
    in.end = day(end.toLatin1());
    in.rates = table();
    in.payments = payments(paid);
    in.moratorium = moratorium;
    in.continuing = false; // the pieces alone: the line after them has its own table
    const PeriodResult r = calculatePeriods(in);
    QCOMPARE(r.lines.mid(0, r.lines.size() - 1), lines);
    QVERIFY(r.lines.last().startsWith(QStringLiteral("Государственная пошлина: ")));
    // The interest is the sum of the rounded pieces.
    qint64 sum = 0;
    for (const PeriodRow &row : r.rows)
        if (row.kind == PeriodRow::Piece) sum += row.amount;
    QCOMPARE(r.interest, sum);
}

void TestPeriodInterest::refused_data() {
    QTest::addColumn<QString>("debt");
    QTest::addColumn<QString>("period"); // empty: 01.03.2021-10.03.2021
    QTest::addColumn<QStringList>("paid");
    QTest::addColumn<QStringList>("raised");
    QTest::addColumn<QString>("daily"); // a contractual penalty, % a day
    QTest::addColumn<bool>("emptyTable");
    QTest::addColumn<QString>("message"); // a part of it
    const QStringList none;
    QTest::newRow("a payment before the period") << "100000,00"
                                                 << "" << QStringList{"28.02.2021=5"} << none << ""
                                                 << false << "Оплата 28.02.2021 лежит вне периода";
    QTest::newRow("a payment after the period") << "100000,00"
                                                << "" << QStringList{"11.03.2021=5"} << none << ""
                                                << false << "Оплата 11.03.2021 лежит вне периода";
    QTest::newRow("a payment of nothing") << "100000,00"
                                          << "" << QStringList{"05.03.2021=0"} << none << ""
                                          << false << "Сумма оплаты 05.03.2021 \"0\"";
    QTest::newRow("a payment with three decimals")
        << "100000,00"
        << "" << QStringList{"05.03.2021=1,005"} << none << "" << false << "Сумма оплаты";
    QTest::newRow("a payment naming a month, which only housing bills have")
        << "100000,00"
        << "" << QStringList{"05.03.2021=5@02.2021"} << none << "" << false
        << "месяц, за который она внесена, указывается только в пенях за ЖКУ";
    QTest::newRow("an empty table")
        << "100000,00"
        << "" << none << none << "" << true << "В таблице ставок нет ни одной ставки";
    QTest::newRow("a debt in exponent form")
        << "1E20"
        << "" << none << none << "" << false << "Сумма долга \"1E20\"";
    QTest::newRow("a negative debt") << "-5,00"
                                     << "" << none << none << "" << false << "Сумма долга";
    QTest::newRow("an end before the start")
        << "100000,00"
        << "10.03.2021-09.03.2021" << none << none << "" << false
        << "Конец периода раньше начала: с 10.03.2021 по 09.03.2021";
    QTest::newRow("no debt and no increases")
        << "0,00"
        << "" << none << none << "" << false << "Долг 0,00 руб. и увеличений долга нет";
    QTest::newRow("10,001 payments and increases")
        << "100000,00"
        << "" << QStringList(5000, "05.03.2021=1") << QStringList(5001, "06.03.2021=1") << ""
        << false << "В расчете оплат и увеличений долга 10001, а в одном расчете их может быть";
    // Each below once wrapped around 64 bits and came out wrong or negative.
    QTest::newRow("9300 increases of 10^13 roubles on one day")
        << "0,00"
        << "" << none << QStringList(9300, "05.03.2021=9999999999999") << "" << false
        << "Долг с увеличениями больше 10^15 руб.";
    QTest::newRow("a penalty past 10^15 roubles")
        << "9999999999999"
        << "01.01.2000-31.12.2020" << none << none << "1000" << false
        << "Сумма за период больше 10^15 руб.";
    QTest::newRow("pieces that add up past 10^15 roubles")
        << "9999999999999"
        << "01.01.2000-31.12.2020"
        << QStringList{"01.01.2005=0,01", "01.01.2010=0,01", "01.01.2015=0,01"} << none << "1,5"
        << false << "Сумма процентов больше 10^15 руб.";
}

void TestPeriodInterest::refused() {
    QFETCH(QString, debt);
    QFETCH(QString, period);
    QFETCH(QStringList, paid);
    QFETCH(QStringList, raised);
    QFETCH(QString, daily);
    QFETCH(bool, emptyTable);
    QFETCH(QString, message);
    PeriodInput in;
    in.debt = debt;
    in.start = QDate(2021, 3, 1);
    in.end = QDate(2021, 3, 10);
    if (!period.isEmpty()) {
        in.start = day(period.section(u'-', 0, 0).toLatin1());
        in.end = day(period.section(u'-', 1, 1).toLatin1());
    }
    in.rates = emptyTable ? QList<RatePoint>{} : table();
    in.payments = payments(paid);
    in.increases = payments(raised);
    if (!daily.isEmpty()) {
        in.count = PeriodCount::Contractual;
        in.dailyPercent = daily;
    }
    try {
        calculatePeriods(in);
        QFAIL("no error");
    } catch (const AppError &e) {
        QVERIFY2(e.message().contains(message), qPrintable(e.message()));
    }
}

void TestPeriodInterest::feeAndTotals() {
    // Half a kopeck rounds away from zero: 1,00 × 73 days × 2,5 % / 365 = 0,005.
    PeriodInput in;
    in.debt = QStringLiteral("1,00");
    in.start = QDate(2021, 1, 1);
    in.end = QDate(2021, 3, 14);
    in.rates = {{QDate(2020, 1, 1), QStringLiteral("2,5")}};
    PeriodResult r = calculatePeriods(in);
    QCOMPARE(r.lines.value(1),
             QStringLiteral("с 01.01.2021 по 14.03.2021: 1,00 * 73 дн. * 2,5% / 365 = 0,01 руб."));
    // The fee is the scale in force on the filing date, on the remaining debt
    // plus interest: 100 000,00 + 500,00.
    in.debt = QStringLiteral("100000,00");
    in.court = Court::GeneralJurisdiction;
    in.filed = QDate(2024, 9, 8);
    r = calculatePeriods(in);
    QCOMPARE(r.lines.last(), QStringLiteral("Государственная пошлина: 3210,00 руб."));
    in.filed = QDate(2024, 9, 9);
    r = calculatePeriods(in);
    QCOMPARE(r.lines.last(), QStringLiteral("Государственная пошлина: 4015,00 руб."));
    // A large debt is counted exactly: no rounding of the product on the way
    // (the total stays below the limit of 10^15 roubles).
    in.debt = QStringLiteral("959999999999999,99");
    in.start = QDate(2021, 1, 1);
    in.end = QDate(2021, 12, 31);
    r = calculatePeriods(in);
    QCOMPARE(r.lines.value(1), QStringLiteral("с 01.01.2021 по 31.12.2021: 959999999999999,99 * "
                                              "365 дн. * 2,5% / 365 = 24000000000000,00 руб."));
}

void TestPeriodInterest::depositRateSpan_data() {
    QTest::addColumn<QDate>("start");
    QTest::addColumn<QDate>("end");
    QTest::addColumn<bool>("told");
    QTest::newRow("ends the day before") << QDate(2015, 1, 1) << QDate(2015, 5, 31) << false;
    QTest::newRow("ends on its first day") << QDate(2015, 1, 1) << QDate(2015, 6, 1) << true;
    QTest::newRow("starts on its last day") << QDate(2016, 7, 31) << QDate(2016, 9, 1) << true;
    QTest::newRow("starts the day after") << QDate(2016, 8, 1) << QDate(2016, 9, 1) << false;
}

void TestPeriodInterest::depositRateSpan() {
    QFETCH(QDate, start);
    QFETCH(QDate, end);
    QFETCH(bool, told);
    PeriodInput in;
    in.debt = QStringLiteral("1000,00");
    in.start = start;
    in.end = end;
    in.rates = table();
    QCOMPARE(calculatePeriods(in).depositRateSpan, told);
}

void TestPeriodInterest::kopecks_data() {
    QTest::addColumn<qint64>("kopecks");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << qint64(0) << "0,00";
    QTest::newRow("one kopeck") << qint64(1) << "0,01";
    QTest::newRow("roubles") << qint64(10000050) << "100000,50";
    QTest::newRow("negative") << qint64(-250) << "-2,50";
}

void TestPeriodInterest::kopecks() {
    QFETCH(qint64, kopecks);
    QFETCH(QString, text);
    QCOMPARE(kopecksText(kopecks), text);
}

QTEST_GUILESS_MAIN(TestPeriodInterest)
#include "tst_periodinterest.moc"
