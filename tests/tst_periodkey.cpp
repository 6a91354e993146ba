// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/apperror.h"
#include "common/dates.h"
#include "rates/periodkey.h"

#include <QRandomGenerator>
#include <QTest>

using namespace rates;

class TestPeriodKey : public QObject {
    Q_OBJECT
private slots:
    void convert_data();
    void convert();
    void fewerThanThreeWords_data();
    void fewerThanThreeWords();
    void dateTexts_data();
    void dateTexts();
    void keyDates_data();
    void keyDates();
    void keyDateAgreesWithConversion();
};

void TestPeriodKey::convert_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    // date text -> key
    QTest::newRow("date to key") << "28.12.2009"
                                 << "с 28 декабря 2009 г.";
    QTest::newRow("day gets two digits") << "5.06.2009"
                                         << "с 05 июня 2009 г.";
    QTest::newRow("9 April 2002") << "09.04.2002"
                                  << "с 09 апреля 2002 г.";
    QTest::newRow("one-digit month") << "1.1.2010"
                                     << "с 01 января 2010 г.";
    // key -> date text
    QTest::newRow("key to date") << "с 28 декабря 2009 г."
                                 << "28.12.2009";
    QTest::newRow("October, the tenth month") << "с 30 октября 2009 г."
                                              << "30.10.2009";
    QTest::newRow("December, the last month") << "с 1 декабря 2008 г."
                                              << "1.12.2008";
    QTest::newRow("one-digit day kept") << "с 5 июня 2009 г."
                                        << "5.06.2009";
    QTest::newRow("key ending in a blank") << "с 25 ноября 2009 г. "
                                           << "25.11.2009";
    QTest::newRow("without the year mark") << "с 10 июня 1999"
                                           << "10.06.1999";
    QTest::newRow("Latin c") << "c 10 июня 1999 г."
                             << "10.06.1999";
    QTest::newRow("capital month is unknown") << "с 10 Июня 1999 г."
                                              << "10.00.1999";
    QTest::newRow("unknown month") << "с 10 jun 1999 г."
                                   << "10.00.1999";
    QTest::newRow("commas separate words") << "10,июня,1999"
                                           << "10.06.1999";
    QTest::newRow("two commas give an empty word") << "10,,июня,1999"
                                                   << "10.00.июня";
    QTest::newRow("quoted word") << "\"1 0\" июня 1999"
                                 << "1 0.06.1999";
    QTest::newRow("words after the third ignored") << "с 10 июня 1999 г. и далее"
                                                   << "10.06.1999";
    QTest::newRow("tabs are blanks") << "\t10\tиюня\t1999\t"
                                     << "10.06.1999";
    QTest::newRow("December keeps two digits") << "с 1 декабря 2008 г."
                                               << "1.12.2008";
}

void TestPeriodKey::convert() {
    QFETCH(QString, text);
    QFETCH(QString, result);
    QCOMPARE(convertPeriodKey(text), result);
}

void TestPeriodKey::fewerThanThreeWords_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "   ";
    QTest::newRow("marks only") << "с г.";
    QTest::newRow("two words") << "с 28 декабря г.";
    QTest::newRow("NUL ends the text")
        << QStringLiteral("10 июня") + QChar(0) + QStringLiteral(" 1999");
}

void TestPeriodKey::fewerThanThreeWords() {
    QFETCH(QString, text);
    try {
        convertPeriodKey(text);
        QFAIL("no error");
    } catch (const AppError &e) {
        QVERIFY(e.message().contains(text));
    }
}

void TestPeriodKey::dateTexts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("date");
    QTest::newRow("two digits") << "28.12.2009" << QDate(2009, 12, 28);
    QTest::newRow("one digit") << "5.6.2009" << QDate(2009, 6, 5);
    QTest::newRow("leap day") << "29.02.2008" << QDate(2008, 2, 29);
    QTest::newRow("month 00") << "10.00.1999" << QDate();
    QTest::newRow("31 February") << "31.02.2009" << QDate();
    QTest::newRow("29 February, common year") << "29.02.2009" << QDate();
    QTest::newRow("two-digit year") << "10.06.99" << QDate();
    QTest::newRow("three-digit day") << "100.06.1999" << QDate();
    QTest::newRow("slashes") << "10/06/1999" << QDate();
    QTest::newRow("blank") << " 10.06.1999" << QDate();
    QTest::newRow("trailing text") << "10.06.1999x" << QDate();
    QTest::newRow("year zero") << "10.06.0000" << QDate();
    QTest::newRow("empty") << "" << QDate();
}

void TestPeriodKey::dateTexts() {
    QFETCH(QString, text);
    QFETCH(QDate, date);
    QDate parsed;
    QCOMPARE(parseDateText(text, parsed), date.isValid());
    QCOMPARE(parsed, date);
}

void TestPeriodKey::keyDates_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QDate>("date");
    QTest::newRow("written key") << "с 05 июня 2009 г." << QDate(2009, 6, 5);
    QTest::newRow("history key") << "с 5 июня 2009 г." << QDate(2009, 6, 5);
    QTest::newRow("impossible day") << "с 31 июня 2009 г." << QDate();
    QTest::newRow("too short") << "с июня" << QDate();
    // A date text converts forward, to a key, which is no date text.
    QTest::newRow("date text as key") << "05.06.2009" << QDate();
}

void TestPeriodKey::keyDates() {
    QFETCH(QString, key);
    QFETCH(QDate, date);
    QDate d;
    QCOMPARE(keyDate(key, d), date.isValid());
    if (date.isValid()) {
        QCOMPARE(d, date);
        // Converting twice normalises a key.
        QCOMPARE(convertPeriodKey(convertPeriodKey(key)),
                 convertPeriodKey(date.toString(QStringLiteral("dd.MM.yyyy"))));
    }
}

// The lookup reads key dates without building the date text; on keys pieced
// together from every kind of word it must agree with the long way round.
void TestPeriodKey::keyDateAgreesWithConversion() {
    // A key is put together slot by slot; each slot has good and bad fillings.
    const QList<QStringList> fillings = {
        {"", "с ", "c ", "С ", " ", "\"", ",", "сс "},
        {"5", "05", "31", "29", "123", "", "1.2", "\"1 0\"", "x"},
        {" ", ",", "  ", ",,", "\t", QString(QChar(0)), "г.", ""},
        {"июня", "февраля", "Июня", "июнь", "\"июня\"", ""},
        {" ", ",", " , ", "\"", "г."},
        {"2009", "2008", "20091", "09", "", "\"2009\""},
        {" г.", "г.", "", " ", ",", " и далее", "\""},
    };
    QRandomGenerator rng(2009);
    int dates = 0;
    for (int i = 0; i < 50000; ++i) {
        QString key;
        for (const QStringList &slot : fillings)
            key += slot[rng.bounded(int(slot.size()))];
        QDate viaText;
        bool converted = false;
        try {
            converted = parseDateText(convertPeriodKey(key), viaText);
        } catch (const AppError &) {
        }
        QDate direct;
        QCOMPARE(keyDate(key, direct), converted);
        if (converted) {
            QCOMPARE(direct, viaText);
            ++dates;
        }
    }
    QVERIFY(dates > 100);
}

QTEST_GUILESS_MAIN(TestPeriodKey)
#include "common/dates.h"
#include "tst_periodkey.moc"
