// SPDX-License-Identifier: GPL-3.0-or-later
// The penalty on housing and utility bills, with amounts worked out by hand
// from the small rate table below.
#include "calc/claimfields.h"
#include "calc/engine.h"
#include "calc/housing.h"
#include "calc/presets.h"
#include "common/apperror.h"
#include "law/calendar.h"
#include "rates/knownrates.h"

#include <QTest>

using namespace calc;

namespace {

QDate day(const QString &text) {
    return QDate::fromString(text, QStringLiteral("dd.MM.yyyy"));
}

QList<RatePoint> smallTable() {
    return {{QDate(2015, 1, 1), "11"},
            {QDate(2020, 1, 1), "6"},
            {QDate(2023, 1, 1), "16"},
            {QDate(2027, 1, 1), "12"},
            {QDate(2027, 6, 1), "10"}};
}

const QString kHeading = QStringLiteral("Расчет пеней за ЖКУ (ч. 14 ст. 155 ЖК РФ) на ");
// What the report says where the 9,5 % rule cut a rate, and of a due date past the calendar.
// (Made when a row is, not before the program's resources are there.)
QString capNote() {
    return QString::fromUtf8(calc::presetNamed(u"housing")->capNote) + u'.';
}
QString calendarNote() {
    return law::calendarEndsNote() + u'.';
}

} // namespace

class TestHousing : public QObject {
    Q_OBJECT
private slots:
    void bills_data();
    void bills();
    void dueDates_data();
    void dueDates();
    void calendarFile();
    void byTheLawsRates_data();
    void byTheLawsRates();
    void refused();
    void totalCapped();
};

void TestHousing::bills_data() {
    QTest::addColumn<QStringList>("charges");  // "MM.yyyy=AMOUNT"
    QTest::addColumn<QStringList>("payments"); // "dd.MM.yyyy=AMOUNT[@MM.yyyy]"
    QTest::addColumn<QString>("calculated");
    QTest::addColumn<int>("rateDay");      // RateDay
    QTest::addColumn<QStringList>("body"); // the lines between the heading and the totals
    QTest::addColumn<QString>("penalty");
    const int payment = int(RateDay::Payment);
    // A bill of March 2024, due 10.04.2024, paid on day 30, 31, 90 and 91 of
    // its delay: nothing, then 1/300, then 1/130 of the rate, held at 9,5 %.
    const QString march =
        QStringLiteral("Начислено за 03.2024: 1000,00 руб., срок оплаты 10.04.2024");
    QTest::newRow("paid on day 30")
        << QStringList{"03.2024=1000"} << QStringList{"10.05.2024=1000"} << "15.07.2024" << payment
        << QStringList{march, "оплата 10.05.2024: 1000,00 руб.", "Пени за 03.2024: 0,00 руб."}
        << "0,00";
    QTest::newRow("paid on day 31")
        << QStringList{"03.2024=1000"} << QStringList{"11.05.2024=1000"} << "15.07.2024" << payment
        << QStringList{march, "оплата 11.05.2024: 1000,00 руб.",
                       "с 11.05.2024 по 11.05.2024: 1000,00 * 1 дн. * 9,5% / 300 = 0,32 руб.",
                       "Пени за 03.2024: 0,32 руб.", capNote()}
        << "0,32";
    QTest::newRow("paid on day 90")
        << QStringList{"03.2024=1000"} << QStringList{"09.07.2024=1000"} << "15.07.2024" << payment
        << QStringList{march, "оплата 09.07.2024: 1000,00 руб.",
                       "с 11.05.2024 по 09.07.2024: 1000,00 * 60 дн. * 9,5% / 300 = 19,00 руб.",
                       "Пени за 03.2024: 19,00 руб.", capNote()}
        << "19,00";
    QTest::newRow("paid on day 91")
        << QStringList{"03.2024=1000"} << QStringList{"10.07.2024=1000"} << "15.07.2024" << payment
        << QStringList{march,
                       "оплата 10.07.2024: 1000,00 руб.",
                       "с 11.05.2024 по 09.07.2024: 1000,00 * 60 дн. * 9,5% / 300 = 19,00 руб.",
                       "с 10.07.2024 по 10.07.2024: 1000,00 * 1 дн. * 9,5% / 130 = 0,73 руб.",
                       "Пени за 03.2024: 19,73 руб.",
                       capNote()}
        << "19,73";
    QTest::newRow("a bill and a payment after the calculation date left out")
        << QStringList{"03.2024=1000", "06.2024=500"} << QStringList{"20.06.2024=100"}
        << "15.06.2024" << payment
        << QStringList{march,
                       "с 11.05.2024 по 15.06.2024: 1000,00 * 36 дн. * 9,5% / 300 = 11,40 руб.",
                       "Пени за 03.2024: 11,40 руб.",
                       "Не учтено: начисление за 06.2024: 500,00 руб. (счет позже даты расчета)",
                       "Не учтено: оплата 20.06.2024: 100,00 руб. (позже даты расчета)",
                       capNote()}
        << "11,40";
    // Due on the 15th from the March 2026 bill; each part at the rate of the
    // day it was paid, what is unpaid at the calculation date's.
    const QString january =
        QStringLiteral("Начислено за 01.2027: 1000,00 руб., срок оплаты 15.02.2027");
    QTest::newRow("paid in two parts at two rates")
        << QStringList{"01.2027=1000"} << QStringList{"17.05.2027=500"} << "30.06.2027" << payment
        << QStringList{january,
                       "оплата 17.05.2027: 500,00 руб.",
                       "с 18.03.2027 по 16.05.2027: 500,00 * 60 дн. * 12% / 300 = 12,00 руб.",
                       "с 17.05.2027 по 17.05.2027: 500,00 * 1 дн. * 12% / 130 = 0,46 руб.",
                       "с 18.03.2027 по 16.05.2027: 500,00 * 60 дн. * 10% / 300 = 10,00 руб.",
                       "с 17.05.2027 по 30.06.2027: 500,00 * 45 дн. * 10% / 130 = 17,31 руб.",
                       "Пени за 01.2027: 39,77 руб."}
        << "39,77";
    QTest::newRow("the same at one date's rate, the calculation date's")
        << QStringList{"01.2027=1000"} << QStringList{"17.05.2027=500"} << "30.06.2027"
        << int(RateDay::OneDate)
        << QStringList{january,
                       "оплата 17.05.2027: 500,00 руб.",
                       "с 18.03.2027 по 16.05.2027: 1000,00 * 60 дн. * 10% / 300 = 20,00 руб.",
                       "с 17.05.2027 по 17.05.2027: 1000,00 * 1 дн. * 10% / 130 = 0,77 руб.",
                       "с 18.05.2027 по 30.06.2027: 500,00 * 44 дн. * 10% / 130 = 16,92 руб.",
                       "Пени за 01.2027: 37,69 руб."}
        << "37,69";
    const QString february =
        QStringLiteral("Начислено за 02.2027: 1000,00 руб., срок оплаты 15.03.2027");
    QTest::newRow("a payment naming a month, its excess to the oldest")
        << QStringList{"01.2027=1000", "02.2027=1000"} << QStringList{"20.03.2027=1500@02.2027"}
        << "20.03.2027" << payment
        << QStringList{january,
                       "оплата 20.03.2027: 500,00 руб.",
                       "с 18.03.2027 по 20.03.2027: 500,00 * 3 дн. * 12% / 300 = 0,60 руб.",
                       "с 18.03.2027 по 20.03.2027: 500,00 * 3 дн. * 12% / 300 = 0,60 руб.",
                       "Пени за 01.2027: 1,20 руб.",
                       february,
                       "оплата 20.03.2027: 1000,00 руб.",
                       "Пени за 02.2027: 0,00 руб."}
        << "1,20";
    QTest::newRow("an advance pays a later bill the day it arises")
        << QStringList{"01.2027=1000", "02.2027=1000"} << QStringList{"10.02.2027=1500"}
        << "30.04.2027" << payment
        << QStringList{january,
                       "оплата 10.02.2027: 1000,00 руб.",
                       "Пени за 01.2027: 0,00 руб.",
                       february,
                       "зачтено из переплаты 01.03.2027: 500,00 руб.",
                       "с 15.04.2027 по 30.04.2027: 500,00 * 16 дн. * 12% / 300 = 3,20 руб.",
                       "Пени за 02.2027: 3,20 руб."}
        << "3,20";
    // The windows: 2020 for every bill, 2022 for bills up to March 2022; the
    // days in them still count toward the steps, and are told where a
    // penalty would run.
    QTest::newRow("the 2020 window across a delay")
        << QStringList{"01.2020=1000"} << QStringList{} << "31.01.2021" << payment
        << QStringList{"Начислено за 01.2020: 1000,00 руб., срок оплаты 10.02.2020",
                       "с 12.03.2020 по 05.04.2020: 1000,00 * 25 дн. * 6% / 300 = 5,00 руб.",
                       "с 06.04.2020 по 31.12.2020: мораторий, пени не начисляются",
                       "с 01.01.2021 по 31.01.2021: 1000,00 * 31 дн. * 6% / 130 = 14,31 руб.",
                       "Пени за 01.2020: 19,31 руб."}
        << "19,31";
    QTest::newRow("March 2022 in the 2022 window, April 2022 outside it")
        << QStringList{"03.2022=1000", "04.2022=1000"} << QStringList{} << "31.10.2022" << payment
        << QStringList{"Начислено за 03.2022: 1000,00 руб., срок оплаты 11.04.2022",
                       "с 12.05.2022 по 01.10.2022: мораторий, пени не начисляются",
                       "с 02.10.2022 по 31.10.2022: 1000,00 * 30 дн. * 6% / 130 = 13,85 руб.",
                       "Пени за 03.2022: 13,85 руб.",
                       "Начислено за 04.2022: 1000,00 руб., срок оплаты 11.05.2022",
                       "с 11.06.2022 по 09.08.2022: 1000,00 * 60 дн. * 6% / 300 = 12,00 руб.",
                       "с 10.08.2022 по 31.10.2022: 1000,00 * 83 дн. * 6% / 130 = 38,31 руб.",
                       "Пени за 04.2022: 50,31 руб."}
        << "64,16";
    QTest::newRow("each day's rate, the 9,5 % cap ending on 31.12.2026")
        << QStringList{"09.2026=1000"} << QStringList{} << "31.01.2027" << int(RateDay::EachDay)
        << QStringList{"Начислено за 09.2026: 1000,00 руб., срок оплаты 15.10.2026",
                       "с 15.11.2026 по 31.12.2026: 1000,00 * 47 дн. * 9,5% / 300 = 14,88 руб.",
                       "с 01.01.2027 по 13.01.2027: 1000,00 * 13 дн. * 12% / 300 = 5,20 руб.",
                       "с 14.01.2027 по 31.01.2027: 1000,00 * 18 дн. * 12% / 130 = 16,62 руб.",
                       "Пени за 09.2026: 36,70 руб.",
                       capNote()}
        << "36,70";
    QTest::newRow("a bill due before 2016: 1/300 from the first day")
        << QStringList{"11.2015=1000"} << QStringList{} << "20.12.2015" << payment
        << QStringList{"Начислено за 11.2015: 1000,00 руб., срок оплаты 10.12.2015",
                       "с 11.12.2015 по 20.12.2015: 1000,00 * 10 дн. * 11% / 300 = 3,67 руб.",
                       "Пени за 11.2015: 3,67 руб.", calendarNote()}
        << "3,67";
}

void TestHousing::bills() {
    QFETCH(QStringList, charges);
    QFETCH(QStringList, payments);
    QFETCH(QString, calculated);
    QFETCH(int, rateDay);
    QFETCH(QStringList, body);
    QFETCH(QString, penalty);
    PeriodInput in;
    in.count = PeriodCount::Housing;
    for (const QString &c : charges)
        in.charges.append({QDate::fromString(c.section(u'=', 0, 0), QStringLiteral("MM.yyyy")),
                           c.section(u'=', 1)});
    for (const QString &p : payments) {
        const QString amount = p.section(u'=', 1).section(u'@', 0, 0);
        in.payments.append({day(p.section(u'=', 0, 0)),
                            amount,
                            {},
                            QDate::fromString(p.section(u'@', 1), QStringLiteral("MM.yyyy"))});
    }
    in.filed = day(calculated);
    in.rates = smallTable();
    in.rateDay = RateDay(rateDay);
    const HousingResult r = calculateHousing(in);
    QCOMPARE(r.lines.value(0), kHeading + calculated);
    QCOMPARE(r.lines.mid(1, body.size()), body);
    QCOMPARE(r.lines.value(body.size() + 2), QStringLiteral("Сумма пеней: ") + penalty + " руб.");
    qint64 sum = 0;
    for (const HousingBill &b : r.bills)
        for (const PeriodRow &p : b.rows)
            sum += p.amount;
    QCOMPARE(r.penalty, sum);
}

// Due on the 10th, from the March 2026 bill on the 15th, or on the day the
// contract says (its month's last day at most); a day off of the production
// calendar moves it on, a working Saturday and a presidential day do not.
void TestHousing::dueDates_data() {
    QTest::addColumn<QDate>("month");
    QTest::addColumn<int>("dueDay");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QDate>("due");
    QTest::newRow("Sat 10.01") << QDate(2025, 12, 1) << 0 << true << QDate(2026, 1, 12);
    QTest::newRow("not moved") << QDate(2025, 12, 1) << 0 << false << QDate(2026, 1, 10);
    QTest::newRow("10th") << QDate(2026, 1, 1) << 0 << true << QDate(2026, 2, 10);
    // The February 2026 bill is due on Sunday 15.03.2026, moved to Monday.
    QTest::newRow("15th from 02.2026") << QDate(2026, 2, 1) << 0 << true << QDate(2026, 3, 16);
    QTest::newRow("15th after") << QDate(2026, 3, 1) << 0 << true << QDate(2026, 4, 15);
    QTest::newRow("Sat 28.02") << QDate(2026, 1, 1) << 31 << true << QDate(2026, 3, 2);
    // Days off moved by the government's decrees (No. 1314 of 2023 and others).
    QTest::newRow("10.05.2024 moved") << QDate(2024, 4, 1) << 0 << true << QDate(2024, 5, 13);
    QTest::newRow("10.05.2021 moved") << QDate(2021, 4, 1) << 0 << true << QDate(2021, 5, 11);
    QTest::newRow("30.12.2024 moved") << QDate(2024, 11, 1) << 30 << true << QDate(2025, 1, 9);
    QTest::newRow("8 January") << QDate(2024, 12, 1) << 8 << true << QDate(2025, 1, 9);
    QTest::newRow("a presidential day") << QDate(2020, 3, 1) << 0 << true << QDate(2020, 4, 10);
    QTest::newRow("a working Saturday") << QDate(2025, 10, 1) << 1 << true << QDate(2025, 11, 1);
    // Past the calendar: weekends and the fixed holidays alone.
    QTest::newRow("4.11.2030") << QDate(2030, 10, 1) << 4 << true << QDate(2030, 11, 5);
    // 12 June 2015 (a Friday) is a holiday of art. 112 before the calendar's years.
    QTest::newRow("12.06.2015") << QDate(2015, 5, 1) << 12 << true << QDate(2015, 6, 15);
}

void TestHousing::dueDates() {
    QFETCH(QDate, month);
    QFETCH(int, dueDay);
    QFETCH(bool, shift);
    QFETCH(QDate, due);
    QCOMPARE(billDueDate(month, dueDay, shift), due);
}

// The production calendar's reader names the first line it cannot take.
void TestHousing::calendarFile() {
    law::Calendar c;
    QString problem;
    QVERIFY(
        law::readCalendar(u"# a comment\n02.01.2029;holiday\n06.01.2029;working\n", c, problem));
    QCOMPARE(c.firstYear, 2029);
    QVERIFY(c.days.at(QDate(2029, 1, 6)) == law::DayKind::Working);
    QVERIFY(!law::readCalendar(u"01.01.2029;holiday\n02.01.2029;holday\n", c, problem));
    QVERIFY2(problem.startsWith(QStringLiteral("строка 2: «02.01.2029;holday»")),
             qPrintable(problem));
    QVERIFY(!law::readCalendar(u"01.01.2029;holiday\n31.02.2029;holiday\n", c, problem));
    QVERIFY2(problem.startsWith(QStringLiteral("строка 2:")), qPrintable(problem));
    QVERIFY(!law::readCalendar(u"01.01.2029\n", c, problem));
    QVERIFY(!law::readCalendar(u"01.01.2029;holiday\n01.01.2029;transfer\n", c, problem));
    // The program's calendar knows its years; a user's merged over it wins.
    const law::Calendar &program = law::builtInCalendar();
    QCOMPARE(program.firstYear, 2016);
    QVERIFY(program.lastYear >= 2027);
    QVERIFY(law::readCalendar(u"10.05.2024;working\n", c, problem));
    const law::Calendar merged = law::mergeCalendars(program, c);
    QVERIFY(merged.days.at(QDate(2024, 5, 10)) == law::DayKind::Working);
    QCOMPARE(merged.firstYear, 2016);
}

// Bills counted at the key rate's real history: the 9,5 % rule by the day
// whose rate is taken, the 2020 window by the basis, the old rule's end,
// what an advance and the fee come to.
void TestHousing::byTheLawsRates_data() {
    QTest::addColumn<QString>("basis");
    QTest::addColumn<QStringList>("charges");  // "MM.yyyy=AMOUNT"
    QTest::addColumn<QStringList>("payments"); // "dd.MM.yyyy=AMOUNT"
    QTest::addColumn<QString>("filed");
    QTest::addColumn<QStringList>("terms"); // "periods" (each day's rate), "court-order", "general"
    QTest::addColumn<QString>("penalty");
    QTest::addColumn<QString>("line"); // a line the report holds; empty: no 9,5 % rule
    const QStringList none;
    const QString cap = capNote();
    // Due 11.05.2021, unpaid on 01.12.2024 (21 %): 9,5 % for every day, the
    // 2022 window aside: 190,00 + 1710,00 + 5787,69.
    QTest::newRow("unpaid, filed in the cap's years")
        << "housing" << QStringList{"04.2021=10000"} << none << "01.12.2024" << none << "7687,69"
        << cap;
    // Paid on 20.01.2022, at 8,5 % that day: 170,00 + 1072,31.
    QTest::newRow("paid before the cap")
        << "housing" << QStringList{"04.2021=10000"} << QStringList{"20.01.2022=10000"}
        << "01.12.2024" << none << "1242,31"
        << "";
    // The cap's first day, 28.02.2022 (20 % that day, 9,5 % the day before):
    // due 10.11.2021, paid on day 110 or 111 of the delay: 1/300 for days
    // 31–90 (9,5 % → 190,00), 1/130 from day 91 (19 or 20 days: 138,85 or 146,15).
    QTest::newRow("paid on the cap's first day")
        << "housing" << QStringList{"10.2021=10000"} << QStringList{"28.02.2022=10000"}
        << "01.12.2024" << none << "336,15" << cap;
    QTest::newRow("paid the day before")
        << "housing" << QStringList{"10.2021=10000"} << QStringList{"27.02.2022=10000"}
        << "01.12.2024" << none << "328,85"
        << "";
    // Each day's rate, to 28.02.2022 (capped): 1/300 at 7,5 % and 8,5 % (22,50
    // + 144,50), 1/130 at 8,5 %, 9,5 % and 9,5 % for the last day (32,69 +
    // 102,31 + 7,31, which would be 15,38 at 20 %).
    QTest::newRow("each day's rate on the cap's first day")
        << "housing" << QStringList{"10.2021=10000"} << none << "28.02.2022"
        << QStringList{"periods"} << "309,31" << cap;
    // Due 10.06.2020, unpaid at 5 % on 01.06.2021: managing organisations and
    // associations accrue nothing 06.04–31.12.2020 (decree 424), then 1/130
    // for 2021's 152 days; other consumers 1/130 for all 356.
    QTest::newRow("managing organisation") << "resources-managing" << QStringList{"05.2020=10000"}
                                           << none << "01.06.2021" << none << "584,62"
                                           << "";
    QTest::newRow("homeowners' association") << "resources-hoa" << QStringList{"05.2020=10000"}
                                             << none << "01.06.2021" << none << "584,62"
                                             << "";
    QTest::newRow("other consumers: no window") << "resources-other" << QStringList{"05.2020=10000"}
                                                << none << "01.06.2021" << none << "1369,23"
                                                << "";
    // Capital-repair contributions: 1/300 from the day after the due day, no
    // grace, no 1/130, at most 9,5 %; unpaid at 01.07.2025 (20 %): 3000,00 *
    // 9,5% / 300 for 113 days (due 10.03.2025), 82 (10.04.2025) and 50 days
    // (10.05.2025, a Saturday of the May holidays, moved to 12.05.2025):
    // 107,35 + 77,90 + 47,50.
    QTest::newRow("capital repair: three bills")
        << "capital-repair" << QStringList{"02.2025=3000", "03.2025=3000", "04.2025=3000"} << none
        << "01.07.2025" << none << "232,75"
        << "Начислено за 04.2025: 3000,00 руб., срок оплаты 12.05.2025";
    // Decree 424's window holds for contributions: due 10.03.2020, unpaid at
    // 01.02.2021 (4,25 %): 26 days to 05.04.2020 and the 32 days of 2021:
    // 3000,00 * 4,25% / 300 * 26 = 11,05 and * 32 = 13,60.
    QTest::newRow("capital repair: the 2020 window")
        << "capital-repair" << QStringList{"02.2020=3000"} << none << "01.02.2021" << none
        << "24,65"
        << "";
    // Two payments of one day to one bill are one portion: due 13.05.2024,
    // paid on day 60 at 9,5 %: 1000,10 * 30 дн. * 9,5% / 300 = 9,50, where the
    // portions apart would round to 0,58 + 8,93.
    QTest::newRow("one day's payments, one portion")
        << "housing" << QStringList{"04.2024=1000,10"}
        << QStringList{"12.07.2024=60,53", "12.07.2024=939,57"} << "01.12.2024" << none << "9,50"
        << "оплата 12.07.2024: 1000,10 руб.";
    // Decree 474 read by the day whose rate is taken: a payment of 15.01.2027
    // takes 14 % for all 30 days (140,00); read by the days of accrual, the
    // 15 days of 2026 would go at 9,5 % (47,50 + 70,00).
    QTest::newRow("decree 474 by the days of accrual")
        << "housing" << QStringList{"10.2026=10000"} << QStringList{"15.01.2027=10000"}
        << "01.02.2027" << none << "117,50"
        << "";
    // The old rule (1/300 from day 1) is for bills due before 2016 only:
    // due 10.06.2016, 1/300 from day 31 and 1/130 from day 91 at 10 %: 20,00 + 64,62.
    QTest::newRow("the old rule ends with 2015")
        << "housing" << QStringList{"05.2016=1000"} << none << "01.12.2016" << none << "84,62"
        << "";
    // Two payments beyond the bill: the advance is both excesses.
    QTest::newRow("an advance adds up")
        << "housing" << QStringList{"01.2024=1000"}
        << QStringList{"05.02.2024=1500", "06.02.2024=1500"} << "01.12.2024" << none << "0,00"
        << "Начислено: 1000,00 руб., оплачено: 3000,00 руб., долг: 0,00 руб., переплата: "
           "2000,00 руб.";
    // A bill issued on the filing date counts (neither is 30 days overdue).
    QTest::newRow("a bill of the filing date")
        << "housing" << QStringList{"10.2025=1000", "11.2025=1000"} << none << "01.12.2025" << none
        << "0,00"
        << "Начислено: 2000,00 руб., оплачено: 0,00 руб., долг: 2000,00 руб.";
    // A court order pays half, in either court: 100000,00 + 22 дн. at 9,5 % /
    // 300 = 696,67; the fee 4020,90 or 3213,93 before 09.09.2024.
    QTest::newRow("a court order, arbitration")
        << "housing" << QStringList{"05.2024=100000"} << none << "01.08.2024"
        << QStringList{"court-order"} << "696,67"
        << "Государственная пошлина: 2010,45 руб.";
    QTest::newRow("a court order, general")
        << "housing" << QStringList{"05.2024=100000"} << none << "01.08.2024"
        << QStringList{"court-order", "general"} << "696,67"
        << "Государственная пошлина: 1606,97 руб.";
}

void TestHousing::byTheLawsRates() {
    QFETCH(QString, basis);
    QFETCH(QStringList, charges);
    QFETCH(QStringList, payments);
    QFETCH(QString, filed);
    QFETCH(QStringList, terms);
    QFETCH(QString, penalty);
    QFETCH(QString, line);
    PeriodInput in;
    in.count = PeriodCount::Housing;
    if (basis != u"housing") in.basis = basis;
    for (const QString &c : charges)
        in.charges.append({QDate::fromString(c.section(u'=', 0, 0), QStringLiteral("MM.yyyy")),
                           c.section(u'=', 1)});
    for (const QString &p : payments)
        in.payments.append({day(p.section(u'=', 0, 0)), p.section(u'=', 1)});
    in.filed = day(filed);
    if (terms.contains(u"periods")) in.rateDay = RateDay::EachDay;
    in.courtOrder = terms.contains(u"court-order");
    in.court = terms.contains(u"general") ? Court::GeneralJurisdiction : Court::Arbitration;
    for (const rates::RateChange &c : rates::knownKeyRates().changes)
        in.rates.append({c.date, c.rate});
    const HousingResult r = calculateHousing(in);
    QEXPECT_FAIL("decree 474 by the days of accrual",
                 "the decree caps the rate by the day whose rate is taken (the payment's), as the "
                 "program reads it; a reading by the days of accrual would cap 2026's days too",
                 Abort);
    QCOMPARE(kopecksText(r.penalty), penalty);
    // No line expected: not even the 9,5 % rule's.
    QVERIFY2(line.isEmpty() ? !r.lines.contains(capNote()) : r.lines.contains(line),
             qPrintable(r.lines.join(u'\n')));
}

// What cannot be counted is told, never counted as something else.
void TestHousing::refused() {
    PeriodInput in;
    in.count = PeriodCount::Housing;
    in.rates = smallTable();
    in.charges = {{QDate(2024, 1, 1), QStringLiteral("1000")}};
    const auto refusal = [&] {
        try {
            calculateHousing(in);
        } catch (const AppError &e) {
            return e.message();
        }
        return QString();
    };
    QCOMPARE(refusal(), QStringLiteral("Не задана дата расчета"));
    in.filed = QDate(2024, 6, 1);
    in.charges[0].amount = QStringLiteral("1E5");
    QVERIFY(refusal().startsWith(QStringLiteral("Начисление за 01.2024: \"1E5\"")));
    in.charges[0].amount = QStringLiteral("1000");
    in.payments = QList<Payment>(kMaxEntries, {QDate(2024, 3, 1), "1"});
    QVERIFY(refusal().startsWith(QStringLiteral("В расчете начислений и оплат 10001")));
    in.payments = {{QDate(1899, 12, 31), "1"}};
    QCOMPARE(refusal(), QStringLiteral("Оплата 31.12.1899 вне допустимого диапазона: не раньше "
                                       "01.01.1990"));
    in.payments.clear();
    in.filed = QDate(2024, 1, 31); // the January bill is issued on 01.02
    QVERIFY(refusal().startsWith(QStringLiteral("Все начисления")));
    in.charges.clear();
    QVERIFY(refusal().startsWith(QStringLiteral("Начислений нет")));
    in.charges = {{QDate(2024, 1, 1), QStringLiteral("1000")}};
    in.rates.clear();
    QVERIFY(refusal().contains(QStringLiteral("нет ни одной ставки")));
}

// A count whose total is capped at the debt: the pieces in order, the last
// that passes the cap cut to it; a named payment pays its debt first.
void TestHousing::totalCapped() {
    CountRules rules;
    rules.steps = {{1, Step::Daily}};
    rules.ownRate = Decimal{1, 0}; // 1 % a day
    rules.totalCap = Decimal{1, 0};
    const QList<Debt> debts = {{100000, day("01.01.2024"), day("01.01.2024"), day("01.01.2024")},
                               {50000, day("01.02.2024"), day("01.02.2024"), day("01.02.2024")}};
    const QList<Paid> payments = {{day("29.02.2024"), 50000}, {day("01.03.2024"), 10000, 1}};
    const Allocation paid = allocate(debts, payments);
    QCOMPARE(paid.unpaid, (QList<qint64>{50000, 40000}));
    QList<PeriodRow> rows;
    qint64 total = 0;
    countAccount(rules, {}, debts, paid, payments, {0}, day("19.07.2024"), rows, total,
                 QStringLiteral("Сумма"));
    // 1000,00 * 60 дн. * 1% = 600,00, then 500,00 * 141 дн. * 1% = 705,00 cut to 400,00.
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0].amount, 60000);
    QCOMPARE(rows[1].amount, 40000);
    QCOMPARE(total, 100000);
}

QTEST_GUILESS_MAIN(TestHousing)
#include "tst_housing.moc"
