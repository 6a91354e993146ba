// SPDX-License-Identifier: GPL-3.0-or-later
// Debt increases and the penalties counted by periods, with amounts worked out
// by hand from the small rate table below.
#include "calc/periodinterest.h"
#include "common/apperror.h"
#include "periodtest.h"

#include <QTest>

using namespace calc;

class TestPenalties : public QObject {
    Q_OBJECT
private slots:
    void countsAndIncreases_data();
    void countsAndIncreases();
    void penaltiesRefused();
    void beforeTheTable_data();
    void beforeTheTable();
};

Q_DECLARE_METATYPE(calc::PeriodInput)

void TestPenalties::countsAndIncreases_data() {
    QTest::addColumn<PeriodInput>("input");
    QTest::addColumn<QStringList>("lines"); // all but the fee line
    const auto claim = [](const char *debt, const char *start, const char *end) {
        PeriodInput in;
        in.debt = QString::fromLatin1(debt);
        in.start = day(start);
        in.end = day(end);
        in.rates = table();
        return in;
    };
    PeriodInput in = claim("0,00", "01.03.2021", "10.03.2021");
    in.increases = payments({"01.03.2021=100000"});
    QTest::newRow("an increase on the first day")
        << in
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 01.03.2021 по 10.03.2021 = 10 дн.",
                       "долг увеличен 01.03.2021: 100000,00 руб., долг 100000,00 руб.",
                       "с 01.03.2021 по 10.03.2021: 100000,00 * 10 дн. * 4,25% / 365 = 116,44 руб.",
                       "Сумма процентов: 116,44 руб.",
                       "ИТОГО: 100000,00 + 116,44 = 100116,44 руб."};
    in = claim("1000,00", "01.03.2021", "10.03.2021");
    in.payments = payments({"02.03.2021=1000"});
    in.increases = payments({"05.03.2021=2000"});
    QTest::newRow("an increase after a payment that cleared the debt")
        << in
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 01.03.2021 по 10.03.2021 = 10 дн.",
                       "с 01.03.2021 по 02.03.2021: 1000,00 * 2 дн. * 4,25% / 365 = 0,23 руб.",
                       "оплата 02.03.2021: 1000,00 руб., остаток долга 0,00 руб.",
                       "долг увеличен 05.03.2021: 2000,00 руб., долг 2000,00 руб.",
                       "с 05.03.2021 по 10.03.2021: 2000,00 * 6 дн. * 4,25% / 365 = 1,40 руб.",
                       "Сумма процентов: 1,63 руб.",
                       "ИТОГО: 2000,00 + 1,63 = 2001,63 руб."};
    // What a payment brought beyond the debt pays a later invoice the day it
    // arises: the creditor already holds it.
    in = claim("1000,00", "10.01.2023", "20.01.2023");
    in.payments = payments({"12.01.2023=5000"});
    in.increases = payments({"15.01.2023=3000"});
    QTest::newRow("an overpayment paid ahead of a later invoice")
        << in
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 10.01.2023 по 20.01.2023 = 11 дн.",
                       "с 10.01.2023 по 12.01.2023: 1000,00 * 3 дн. * 7,5% / 365 = 0,62 руб.",
                       "оплата 12.01.2023: 5000,00 руб., остаток долга 0,00 руб., переплата "
                       "4000,00 руб.",
                       "долг увеличен 15.01.2023: 3000,00 руб., зачтено из переплаты 3000,00 "
                       "руб., долг 0,00 руб.",
                       "Сумма процентов: 0,62 руб.",
                       "ИТОГО: 0,62 руб."};
    // The moratorium goes by the day a claim arose, not by its first overdue
    // day: goods of March 2022 paid for by April are covered.
    in = claim("100000,00", "20.03.2022", "20.04.2022");
    in.increases = payments({"15.04.2022=50000"});
    in.increases[0].arose = day("20.03.2022");
    QTest::newRow("an invoice that arose in March, due in April")
        << in
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 20.03.2022 по 20.04.2022 = 32 дн.",
                       "с 20.03.2022 по 31.03.2022: 100000,00 * 12 дн. * 20% / 365 = 657,53 руб.",
                       "с 01.04.2022 по 14.04.2022: мораторий, проценты не начисляются",
                       "долг увеличен 15.04.2022: 50000,00 руб., долг 150000,00 руб.",
                       "с 15.04.2022 по 20.04.2022: мораторий, проценты не начисляются",
                       "Сумма процентов: 657,53 руб.",
                       "ИТОГО: 150000,00 + 657,53 = 150657,53 руб."};
    in = claim("100000,00", "16.04.2022", "20.04.2022");
    in.arose = day("20.03.2022");
    QTest::newRow("a debt that arose in March, overdue from April")
        << in
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 16.04.2022 по 20.04.2022 = 5 дн.",
                       "с 16.04.2022 по 20.04.2022: мораторий, проценты не начисляются",
                       "Сумма процентов: 0,00 руб.", "ИТОГО: 100000,00 + 0,00 = 100000,00 руб."};
    // The table's oldest rate stands in before it: its first day is no split.
    in = claim("100000,00", "20.12.2019", "05.01.2020");
    in.count = PeriodCount::KeyFraction;
    QTest::newRow("1/300 from before the oldest entry: no split")
        << in
        << QStringList{"Расчет пеней по периодам (1/300 ключевой ставки): с 20.12.2019 по "
                       "05.01.2020 = 17 дн.",
                       "с 20.12.2019 по 05.01.2020: 100000,00 * 17 дн. * 6% / 300 = 340,00 руб.",
                       "Сумма пеней: 340,00 руб.", "ИТОГО: 100000,00 + 340,00 = 100340,00 руб."};
    // The moratorium holds the debts that arose by its first day; a later
    // invoice accrues through it, and payments go to the oldest debt first.
    in = claim("100000,00", "25.03.2022", "05.04.2022");
    in.increases = payments({"01.04.2022=20000", "02.04.2022=10000"});
    QTest::newRow("invoices on the moratorium's first day and the next")
        << in
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 25.03.2022 по 05.04.2022 = 12 дн.",
                       "с 25.03.2022 по 31.03.2022: 100000,00 * 7 дн. * 20% / 365 = 383,56 руб.",
                       "долг увеличен 01.04.2022: 20000,00 руб., долг 120000,00 руб.",
                       "с 01.04.2022 по 01.04.2022: мораторий, проценты не начисляются",
                       "долг увеличен 02.04.2022: 10000,00 руб., долг 130000,00 руб.",
                       "с 02.04.2022 по 05.04.2022: мораторий, проценты на 120000,00 руб. не "
                       "начисляются",
                       "с 02.04.2022 по 05.04.2022: 10000,00 * 4 дн. * 20% / 365 = 21,92 руб.",
                       "Сумма процентов: 405,48 руб.",
                       "ИТОГО: 130000,00 + 405,48 = 130405,48 руб."};
    in = claim("100000,00", "25.03.2022", "05.10.2022");
    in.increases = payments({"15.05.2022=20000"});
    in.payments = payments({"10.06.2022=5000"});
    QTest::newRow("an invoice inside the moratorium, a payment to the older debt")
        << in
        << QStringList{"Расчет по периодам (ст. 395 ГК РФ): с 25.03.2022 по 05.10.2022 = 195 дн.",
                       "с 25.03.2022 по 31.03.2022: 100000,00 * 7 дн. * 20% / 365 = 383,56 руб.",
                       "с 01.04.2022 по 14.05.2022: мораторий, проценты не начисляются",
                       "долг увеличен 15.05.2022: 20000,00 руб., долг 120000,00 руб.",
                       "с 15.05.2022 по 10.06.2022: мораторий, проценты на 100000,00 руб. не "
                       "начисляются",
                       "с 15.05.2022 по 10.06.2022: 20000,00 * 27 дн. * 17% / 365 = 251,51 руб.",
                       "оплата 10.06.2022: 5000,00 руб., остаток долга 115000,00 руб.",
                       "с 11.06.2022 по 13.06.2022: мораторий, проценты на 95000,00 руб. не "
                       "начисляются",
                       "с 11.06.2022 по 13.06.2022: 20000,00 * 3 дн. * 17% / 365 = 27,95 руб.",
                       "с 14.06.2022 по 18.09.2022: мораторий, проценты на 95000,00 руб. не "
                       "начисляются",
                       "с 14.06.2022 по 18.09.2022: 20000,00 * 97 дн. * 9,5% / 365 = 504,93 руб.",
                       "с 19.09.2022 по 01.10.2022: мораторий, проценты на 95000,00 руб. не "
                       "начисляются",
                       "с 19.09.2022 по 01.10.2022: 20000,00 * 13 дн. * 7,5% / 365 = 53,42 руб.",
                       "с 02.10.2022 по 05.10.2022: 115000,00 * 4 дн. * 7,5% / 365 = 94,52 руб.",
                       "Сумма процентов: 1315,89 руб.",
                       "ИТОГО: 115000,00 + 1315,89 = 116315,89 руб."};
    // A contractual penalty knows no rate changes and no year ends.
    in = claim("100000,00", "20.07.2020", "31.07.2020");
    in.count = PeriodCount::Contractual;
    in.dailyPercent = QStringLiteral("0,10");
    in.increases = payments({"27.07.2020=50000"});
    QTest::newRow("a contractual penalty, an increase on a rate change")
        << in
        << QStringList{"Расчет неустойки по периодам (0,1% в день): с 20.07.2020 по 31.07.2020 = "
                       "12 дн.",
                       "с 20.07.2020 по 26.07.2020: 100000,00 * 7 дн. * 0,1% = 700,00 руб.",
                       "долг увеличен 27.07.2020: 50000,00 руб., долг 150000,00 руб.",
                       "с 27.07.2020 по 31.07.2020: 150000,00 * 5 дн. * 0,1% = 750,00 руб.",
                       "Сумма неустойки: 1450,00 руб.",
                       "ИТОГО: 150000,00 + 1450,00 = 151450,00 руб."};
    in = claim("100000,00", "25.03.2022", "05.04.2022");
    in.count = PeriodCount::Contractual;
    in.dailyPercent = QStringLiteral("0,1");
    QTest::newRow("a contractual penalty into the moratorium")
        << in
        << QStringList{"Расчет неустойки по периодам (0,1% в день): с 25.03.2022 по 05.04.2022 = "
                       "12 дн.",
                       "с 25.03.2022 по 31.03.2022: 100000,00 * 7 дн. * 0,1% = 700,00 руб.",
                       "с 01.04.2022 по 05.04.2022: мораторий, неустойка не начисляется",
                       "Сумма неустойки: 700,00 руб.",
                       "ИТОГО: 100000,00 + 700,00 = 100700,00 руб."};
    in = claim("10000,00", "28.12.2020", "05.01.2021");
    in.count = PeriodCount::Contractual;
    in.dailyPercent = QStringLiteral("0,5");
    in.payments = payments({"02.01.2021=4000"});
    QTest::newRow("a contractual penalty over a year end, a payment")
        << in
        << QStringList{"Расчет неустойки по периодам (0,5% в день): с 28.12.2020 по 05.01.2021 = "
                       "9 дн.",
                       "с 28.12.2020 по 02.01.2021: 10000,00 * 6 дн. * 0,5% = 300,00 руб.",
                       "оплата 02.01.2021: 4000,00 руб., остаток долга 6000,00 руб.",
                       "с 03.01.2021 по 05.01.2021: 6000,00 * 3 дн. * 0,5% = 90,00 руб.",
                       "Сумма неустойки: 390,00 руб.",
                       "ИТОГО: 6000,00 + 390,00 = 6390,00 руб."};
    in = claim("100000,00", "20.03.2022", "05.04.2022");
    in.count = PeriodCount::KeyFraction;
    in.payments = payments({"25.03.2022=40000"});
    QTest::newRow("1/300 into the moratorium, a payment")
        << in
        << QStringList{"Расчет пеней по периодам (1/300 ключевой ставки): с 20.03.2022 по "
                       "05.04.2022 = 17 дн.",
                       "с 20.03.2022 по 25.03.2022: 100000,00 * 6 дн. * 20% / 300 = 400,00 руб.",
                       "оплата 25.03.2022: 40000,00 руб., остаток долга 60000,00 руб.",
                       "с 26.03.2022 по 31.03.2022: 60000,00 * 6 дн. * 20% / 300 = 240,00 руб.",
                       "с 01.04.2022 по 05.04.2022: мораторий, пени не начисляются",
                       "Сумма пеней: 640,00 руб.",
                       "ИТОГО: 60000,00 + 640,00 = 60640,00 руб."};
    in = claim("100000,00", "20.07.2020", "31.07.2020");
    in.count = PeriodCount::KeyFraction;
    QTest::newRow("1/300 of each piece's rate, over a rate change")
        << in
        << QStringList{"Расчет пеней по периодам (1/300 ключевой ставки): с 20.07.2020 по "
                       "31.07.2020 = 12 дн.",
                       "с 20.07.2020 по 26.07.2020: 100000,00 * 7 дн. * 6% / 300 = 140,00 руб.",
                       "с 27.07.2020 по 31.07.2020: 100000,00 * 5 дн. * 4,25% / 300 = 70,83 руб.",
                       "Сумма пеней: 210,83 руб.", "ИТОГО: 100000,00 + 210,83 = 100210,83 руб."};
    in = claim("100000,00", "01.03.2021", "10.03.2021");
    in.count = PeriodCount::KeyFraction;
    in.fraction = 1000;
    QTest::newRow("1/1000") << in
                            << QStringList{"Расчет пеней по периодам (1/1000 ключевой ставки): с "
                                           "01.03.2021 по 10.03.2021 = 10 дн.",
                                           "с 01.03.2021 по 10.03.2021: 100000,00 * 10 дн. * "
                                           "4,25% / 1000 = 42,50 руб.",
                                           "Сумма пеней: 42,50 руб.",
                                           "ИТОГО: 100000,00 + 42,50 = 100042,50 руб."};
    in = claim("100000,00", "25.12.2022", "05.01.2023");
    in.count = PeriodCount::KeyFraction;
    in.fraction = 150;
    in.rateDate = day("01.01.2023");
    QTest::newRow("1/150 of one date's rate, over a year end")
        << in
        << QStringList{"Расчет пеней по периодам (1/150 ключевой ставки): с 25.12.2022 по "
                       "05.01.2023 = 12 дн.",
                       "с 25.12.2022 по 05.01.2023: 100000,00 * 12 дн. * 7,5% / 150 = 600,00 руб.",
                       "Сумма пеней: 600,00 руб.", "ИТОГО: 100000,00 + 600,00 = 100600,00 руб."};
    in = claim("100,00", "01.03.2021", "02.03.2021");
    in.count = PeriodCount::KeyFraction;
    in.fraction = 1;
    in.rateDate = day("01.01.2000");
    QTest::newRow("1/1 of a date before the oldest entry: the oldest rate")
        << in
        << QStringList{"Расчет пеней по периодам (1/1 ставки рефинансирования): с 01.03.2021 по "
                       "02.03.2021 = 2 дн.",
                       "с 01.03.2021 по 02.03.2021: 100,00 * 2 дн. * 6% / 1 = 12,00 руб.",
                       "Сумма пеней: 12,00 руб.", "ИТОГО: 100,00 + 12,00 = 112,00 руб."};
}

void TestPenalties::countsAndIncreases() {
    QFETCH(PeriodInput, input);
    QFETCH(QStringList, lines);
    input.continuing = false; // the pieces alone: the line after them has its own table
    const PeriodResult r = calculatePeriods(input);
    QCOMPARE(r.lines.mid(0, r.lines.size() - 1), lines);
    qint64 sum = 0;
    for (const PeriodRow &row : r.rows)
        if (row.kind == PeriodRow::Piece) sum += row.amount;
    QCOMPARE(r.interest, sum);
}

void TestPenalties::penaltiesRefused() {
    PeriodInput in;
    in.debt = QStringLiteral("100,00");
    in.start = QDate(2021, 3, 1);
    in.end = QDate(2021, 3, 10);
    in.rates = table();
    const auto refused = [&](const PeriodInput &bad, const QString &message) {
        try {
            calculatePeriods(bad);
            return false;
        } catch (const AppError &e) {
            return e.message().contains(message);
        }
    };
    PeriodInput bad = in;
    bad.arose = QDate(2021, 3, 2); // after the debt fell due
    QVERIFY(refused(bad, QStringLiteral("Основной долг: дата возникновения 02.03.2021")));
    bad = in;
    bad.increases = payments({"11.03.2021=5"});
    QVERIFY(refused(bad, QStringLiteral("Увеличение долга 11.03.2021 лежит вне периода")));
    bad = in;
    bad.count = PeriodCount::Contractual;
    bad.dailyPercent = QStringLiteral("-0,1");
    QVERIFY(refused(bad, QStringLiteral("Неустойка \"-0,1\"")));
    bad = in;
    bad.count = PeriodCount::KeyFraction;
    for (int n : {0, 1001}) {
        bad.fraction = n;
        QVERIFY(refused(bad, QStringLiteral("нужно целое число от 1 до 1000")));
    }
}

// A claim that reaches back before the table's oldest entry is told so.
void TestPenalties::beforeTheTable_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<PeriodCount>("count");
    QTest::addColumn<QString>("rateDate");
    QTest::addColumn<bool>("told");
    QTest::newRow("statutory from 2019") << "20.12.2019" << PeriodCount::Statutory << "" << true;
    QTest::newRow("statutory within") << "01.01.2020" << PeriodCount::Statutory << "" << false;
    QTest::newRow("one date's rate from 2019")
        << "01.03.2021" << PeriodCount::KeyFraction << "31.12.2019" << true;
    QTest::newRow("a contractual penalty, no table")
        << "20.12.2019" << PeriodCount::Contractual << "" << false;
}

void TestPenalties::beforeTheTable() {
    QFETCH(QString, start);
    QFETCH(PeriodCount, count);
    QFETCH(QString, rateDate);
    QFETCH(bool, told);
    PeriodInput in;
    in.debt = QStringLiteral("100,00");
    in.start = day(start.toLatin1());
    in.end = QDate(2021, 3, 10);
    in.rates = table();
    in.count = count;
    in.dailyPercent = QStringLiteral("0,1");
    in.rateDate = day(rateDate.toLatin1());
    const PeriodResult r = calculatePeriods(in);
    QCOMPARE(r.tableStart, told ? QDate(2020, 1, 1) : QDate());
    QCOMPARE(tableStartNote(QDate(1999, 6, 10)),
             QStringLiteral("Таблица ставок начинается с 10.06.1999; ставки на более ранние дни в "
                            "ней нет"));
}

QTEST_GUILESS_MAIN(TestPenalties)
#include "tst_penalties.moc"
