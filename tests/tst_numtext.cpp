// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/inputfield.h"
#include "calc/numtext.h"

#include <QRandomGenerator>
#include <QTest>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <locale.h>

using namespace calc;

Q_DECLARE_METATYPE(long double)

class TestNumText : public QObject {
    Q_OBJECT
private slots:
    void readingNumbers_data();
    void readingNumbers();
    void readNumberMatchesStrtold();
    void readNumberError();
    void generalForms_data();
    void generalForms();
    void amountForms_data();
    void amountForms();
    void typedKeys_data();
    void typedKeys();
    void numberPrefixes_data();
    void numberPrefixes();
    void numberPrefixOfHugeTexts();
    void normalisedNumbers_data();
    void normalisedNumbers();
    void normalisedAmounts_data();
    void normalisedAmounts();
    void plainAmountsTakeTheShortWay();
};

void TestNumText::readingNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<long double>("value");
    auto row = [](const char *name, const char *text, bool ok, long double v) {
        QTest::newRow(name) << QString::fromUtf8(text) << ok << v;
    };
    row("comma decimal", "12,5", true, 12.5L);
    row("trailing comma", "12,", true, 12.0L);
    row("leading comma", ",5", true, 0.5L);
    row("lone comma", ",", true, 0.0L);
    row("tenth is the nearest extended", "0,1", true, 0.1L);
    row("blanks and sign", "  -3,25E2  ", true, -325.0L);
    row("plus sign", "+7", true, 7.0L);
    row("small exponent", "1E-5", true, 1e-5L);
    row("lower-case exponent", "2,5e+3", true, 2500.0L);
    row("comma before exponent", ",E5", true, 0.0L);
    row("leading zeros", "007", true, 7.0L);
    row("many digits", "123456789012345678901234", true, 123456789012345678901234.0L);
    row("long fraction", "0,1234567890123456789012345", true, 0.1234567890123456789012345L);
    row("underflow is zero", "1E-5000", true, 0.0L);
    row("empty", "", false, 0);
    row("blanks only", "   ", false, 0);
    row("two commas", "1,2,5", false, 0);
    row("letter", "12a", false, 0);
    row("point", "12.5", false, 0);
    row("sign only", "-", false, 0);
    row("exponent only", "E5", false, 0);
    row("exponent without digits", "1E", false, 0);
    row("exponent sign without digits", "1E+", false, 0);
    row("inner blank", "1 2", false, 0);
    row("overflow", "1E5000", false, 0);
    row("non-ASCII digits", "١٢", false, 0);
    row("tab is not a blank", "\t1", false, 0);
}

void TestNumText::readingNumbers() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(long double, value);
    long double v = -1;
    QCOMPARE(tryReadNumber(text, v), ok);
    if (ok) QVERIFY2(v == value, qPrintable(QStringLiteral("%1").arg(double(v), 0, 'g', 20)));
}

// Short numbers take an exact route of their own; it must agree with the C
// library's correctly rounded conversion bit for bit.
void TestNumText::readNumberMatchesStrtold() {
    const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    QRandomGenerator rng(12345);
    for (int i = 0; i < 20000; ++i) {
        QString digits;
        const int n = rng.bounded(1, 22);
        for (int k = 0; k < n; ++k)
            digits += QChar(u'0' + rng.bounded(10));
        const int point = rng.bounded(0, n + 1);
        const int exp = rng.bounded(-40, 41);
        QString text = digits.left(point) + u',' + digits.mid(point) + u'E' + QString::number(exp);
        QByteArray ascii = text.toLatin1().replace(',', '.');
        if (ascii.startsWith('.')) ascii.prepend('0');
        long double v = 0;
        QVERIFY(tryReadNumber(text, v));
        const long double expected = strtold_l(ascii.constData(), nullptr, c);
        QVERIFY2(std::memcmp(&v, &expected, 10) == 0, qPrintable(text));
    }
    freelocale(c);
}

void TestNumText::readNumberError() {
    try {
        readNumber(u"9,5x");
        QFAIL("no error");
    } catch (const std::exception &e) {
        QCOMPARE(QString::fromUtf8(e.what()),
                 QStringLiteral("'9,5x' is not a valid floating point value"));
    }
}

void TestNumText::generalForms_data() {
    QTest::addColumn<long double>("value");
    QTest::addColumn<int>("precision");
    QTest::addColumn<QString>("text");
    QTest::newRow("fraction") << 12.5L << 15 << "12,5";
    QTest::newRow("whole") << 7.0L << 15 << "7";
    QTest::newRow("tenth") << 0.1L << 15 << "0,1";
    QTest::newRow("tenth from double") << (long double)0.1 << 15 << "0,1";
    QTest::newRow("zero") << 0.0L << 15 << "0";
    QTest::newRow("negative zero") << -0.0L << 15 << "0";
    QTest::newRow("negative") << -2.5L << 15 << "-2,5";
    QTest::newRow("smallest fixed") << 0.0001L << 15 << "0,0001";
    QTest::newRow("below 0.0001") << 0.00001L << 15 << "1E-5";
    QTest::newRow("small with digits") << 0.00001234L << 15 << "1,234E-5";
    QTest::newRow("third") << 1.0L / 3 << 15 << "0,333333333333333";
    QTest::newRow("two thirds rounds up") << 2.0L / 3 << 15 << "0,666666666666667";
    QTest::newRow("15 integer digits") << 123456789012345.0L << 15 << "123456789012345";
    QTest::newRow("16 integer digits") << 1234567890123456.0L << 15 << "1,23456789012346E15";
    QTest::newRow("big round") << 1e20L << 15 << "1E20";
    QTest::newRow("rounds into 16 digits") << 999999999999999.9L << 15 << "1E15";
    QTest::newRow("divisor times 100") << 36000.0L << 15 << "36000";
    QTest::newRow("4 digits") << 0.25L << 4 << "0,25";
    QTest::newRow("4 digits rounded") << 123.456L << 4 << "123,5";
    QTest::newRow("4 digits half away") << 0.12345L << 4 << "0,1235";
    QTest::newRow("4 digits exponent") << 12345.0L << 4 << "1,235E4";
    QTest::newRow("infinity") << (long double)HUGE_VAL << 15 << "INF";
}

void TestNumText::generalForms() {
    QFETCH(long double, value);
    QFETCH(int, precision);
    QFETCH(QString, text);
    QCOMPARE(generalForm(value, precision), text);
}

void TestNumText::amountForms_data() {
    QTest::addColumn<long double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 100000.0L << "100000,00";
    QTest::newRow("half") << 0.5L << "0,50";
    QTest::newRow("interest example") << (long double)(100000.0L * 30 * 8.75L / 36000) << "729,17";
    QTest::newRow("half away, not printf's even") << 0.125L << "0,13";
    QTest::newRow("half a kopeck") << 0.005L << "0,01";
    QTest::newRow("under half a kopeck") << 0.004L << "0,00";
    QTest::newRow("tiny negative is plain zero") << -0.001L << "0,00";
    QTest::newRow("negative") << -1.5L << "-1,50";
    QTest::newRow("zero") << 0.0L << "0,00";
    QTest::newRow("18 digits decide, not the binary value") << (long double)1.005 << "1,00";
    QTest::newRow("13 integer digits") << 9999999999999.99L << "9999999999999,99";
    QTest::newRow("14 integer digits") << 12345678901234.5L << "1,234567890123E13";
    QTest::newRow("round 14 digits") << 1e14L << "1E14";
    QTest::newRow("carry into the integer") << 9.999L << "10,00";
}

void TestNumText::amountForms() {
    QFETCH(long double, value);
    QFETCH(QString, text);
    QCOMPARE(amountForm(value), text);
}

void TestNumText::typedKeys_data() {
    QTest::addColumn<QChar>("typed");
    QTest::addColumn<QChar>("result");
    QTest::newRow("point becomes comma") << QChar(u'.') << QChar(u',');
    QTest::newRow("comma") << QChar(u',') << QChar(u',');
    QTest::newRow("digit") << QChar(u'7') << QChar(u'7');
    QTest::newRow("backspace") << QChar(8) << QChar(8);
    QTest::newRow("letter") << QChar(u'a') << QChar();
    QTest::newRow("exponent letter") << QChar(u'E') << QChar();
    QTest::newRow("minus") << QChar(u'-') << QChar();
    QTest::newRow("space") << QChar(u' ') << QChar();
    QTest::newRow("enter") << QChar(13) << QChar();
    QTest::newRow("ctrl+v") << QChar(22) << QChar();
    QTest::newRow("cyrillic") << QChar(u'б') << QChar();
}

void TestNumText::typedKeys() {
    QFETCH(QChar, typed);
    QFETCH(QChar, result);
    QCOMPARE(filterTypedKey(typed), result);
}

void TestNumText::numberPrefixes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("kept");
    QTest::newRow("a number stays") << "12,5"
                                    << "12,5";
    QTest::newRow("second comma at the end") << "12,5,"
                                             << "12,5";
    QTest::newRow("second comma inside") << "1,2,5"
                                         << "1,2";
    QTest::newRow("pasted letters") << "12a"
                                    << "12";
    QTest::newRow("pasted letters inside") << "12a34"
                                           << "12";
    QTest::newRow("nothing numeric") << "abc"
                                     << "";
    QTest::newRow("empty stays empty") << ""
                                       << "";
    QTest::newRow("sign only") << "-"
                               << "";
    QTest::newRow("dangling exponent") << "1E-"
                                       << "1";
    QTest::newRow("overflowing exponent") << "1E5000"
                                          << "1E500";
    QTest::newRow("negative exponent") << "2E-99999"
                                       << "2E-99999";
    QTest::newRow("overflow then blanks") << "1E9999  x"
                                          << "1E999";
    QTest::newRow("4933 nines overflow") << QString(4933, u'9') << QString(4932, u'9');
}

void TestNumText::numberPrefixes() {
    QFETCH(QString, text);
    QFETCH(QString, kept);
    QCOMPARE(longestNumberPrefix(text), kept);
}

// Shortening must not be one conversion per removed character.
void TestNumText::numberPrefixOfHugeTexts() {
    QCOMPARE(longestNumberPrefix(QString(1000000, u'7')).size(), 4932);
    QCOMPARE(longestNumberPrefix(QStringLiteral("1E") + QString(1000000, u'1')),
             QStringLiteral("1E1111"));
    QCOMPARE(longestNumberPrefix(QString(1000000, u',')), QStringLiteral(","));
}

void TestNumText::normalisedNumbers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("cleaned");
    QTest::newRow("leading comma") << ",5"
                                   << "0,5";
    QTest::newRow("trailing comma") << "12,"
                                    << "12";
    QTest::newRow("empty") << ""
                           << "0";
    QTest::newRow("zero with decimals") << "0,0"
                                        << "0";
    QTest::newRow("zero") << "0"
                          << "0";
    QTest::newRow("trailing zero") << "0,10"
                                   << "0,1";
    QTest::newRow("leading zeros") << "007"
                                   << "7";
    QTest::newRow("tiny stays as typed") << "0,00001"
                                         << "0,00001";
    QTest::newRow("trailing zeros, long digits") << "0012,3400"
                                                 << "12,34";
    QTest::newRow("lone comma") << ","
                                << "0";
    QTest::newRow("unreadable after the comma goes") << "-,"
                                                     << "0";
}

void TestNumText::normalisedNumbers() {
    QFETCH(QString, text);
    QFETCH(QString, cleaned);
    QCOMPARE(normalisedNumber(text, QStringLiteral("0")), cleaned);
}

void TestNumText::normalisedAmounts_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("left");
    QTest::newRow("typed with a point") << "1,5"
                                        << "1,50";
    QTest::newRow("emptied") << ""
                             << "0,00";
    QTest::newRow("leading comma") << ",5"
                                   << "0,50";
    QTest::newRow("trailing comma") << "12,"
                                    << "12,00";
    QTest::newRow("whole") << "100000"
                           << "100000,00";
    QTest::newRow("zero") << "0"
                          << "0,00";
    QTest::newRow("half a kopeck up") << "0,125"
                                      << "0,13";
    QTest::newRow("exponent text") << "1E-5"
                                   << "0,00";
}

void TestNumText::normalisedAmounts() {
    QFETCH(QString, text);
    QFETCH(QString, left);
    QCOMPARE(normalisedAmount(text), left);
}

// The short way for plain texts gives what the long way gives.
void TestNumText::plainAmountsTakeTheShortWay() {
    QRandomGenerator rng(2026);
    for (int i = 0; i < 20000; ++i) {
        QString text;
        const int integers = int(rng.bounded(0, 16));
        for (int k = 0; k < integers; ++k)
            text += QChar(u'0' + int(rng.bounded(k == 0 && rng.bounded(4) ? 1 : 0, 10)));
        if (integers == 0 || rng.bounded(2)) {
            text += u',';
            const int decimals = int(rng.bounded(0, 4));
            for (int k = 0; k < decimals; ++k)
                text += QChar(u'0' + int(rng.bounded(10)));
        }
        long double v = 0;
        const QString cleaned = normalisedNumber(text, QStringLiteral("0"));
        if (!tryReadNumber(cleaned, v)) v = 0;
        QCOMPARE(normalisedAmount(text), amountForm(v));
    }
}

QTEST_GUILESS_MAIN(TestNumText)
#include "tst_numtext.moc"
