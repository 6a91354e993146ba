// SPDX-License-Identifier: GPL-3.0-or-later
// A utility's ledger counted account by account: the accounts' figures worked
// out by hand, in any row order, in either header's language and encoding,
// a bad row its account's error alone, and the same bytes on any number of
// threads, as a batch of claims gives.
#include "bulk/batch.h"
#include "bulk/claimrequest.h"
#include "bulk/ledger.h"
#include "bulk/orderedwork.h"
#include "common/apperror.h"
#include "rates/ratelookup.h"
#include "rates/userrates.h"

#include <QBuffer>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>
#include <QTest>
#include <random>

namespace {

// Bills of 2024 with the built-in table's 8,75 %, counted on 01.12.2024.
const QStringList kRows = {
    // Jan and Feb 3000,00 each; 3500,00 on 20.03.2024 pays February first:
    // January's 500,00 on days 31–37 (1,02), its 2500,00 on days 31–90
    // (43,75) and from day 91 to 01.12.2024 (203 days at 1/130: 341,59).
    "ЛС-1;;начислено;01.2024;3000",
    "ЛС-1;;начислено;02.2024;3 000,00",
    "ЛС-1;2024-03-20;оплачено;2024-02;3500.00",
    // March's 1000,00 due 10.04.2024, paid on day 91: 17,50 + 0,67.
    "ЛС-2;;начислено;03.2024;1000",
    "ЛС-2;10.07.2024;оплачено;;1000",
    // Paid ahead: nothing is owed, 200,00 is left as an advance.
    "ЛС-3;05.01.2024;оплачено;;1200",
    "ЛС-3;;начислено;12.2023;1000",
};

QByteArray ledgerText(const QStringList &rows, const QString &header = {}) {
    return (QStringList{header.isEmpty() ? QStringLiteral("лицевой_счет;дата;вид;месяц;сумма")
                                         : header} +
            rows)
               .join(u'\n')
               .toUtf8() +
           '\n';
}

// The ledger counted on `jobs` threads, its output as text.
QByteArray count(const QByteArray &ledger, int jobs = 1, int *failed = nullptr,
                 const QString &basis = {}) {
    QTemporaryFile in;
    if (!in.open() || in.write(ledger) != ledger.size() || !in.seek(0)) return {};
    bulk::LedgerOptions options;
    options.base.count = calc::PeriodCount::Housing;
    options.base.court = calc::Court::GeneralJurisdiction;
    options.base.filed = QDate(2024, 12, 1);
    options.base.rates = rates::ratePoints(rates::RateTable::builtIn());
    options.jobs = jobs;
    options.base.basis = basis;
    options.base.dueDay = basis.isEmpty() ? 0 : 15;
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    const int f = bulk::runLedger(in, out, options);
    if (failed) *failed = f;
    return out.data();
}

} // namespace

class TestLedger : public QObject {
    Q_OBJECT
private slots:
    void accounts_data();
    void accounts();
    void sameOnEveryCore();
    void batchOnEveryCore();
    void resourceBills();
    void refused();
    void changedWhileCounted();
    void workThatThrows();
};

void TestLedger::accounts_data() {
    QTest::addColumn<QByteArray>("ledger");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<int>("failed");
    const QStringList figures = {
        "лицевой_счет;начислено;оплачено;долг;аванс;пени;госпошлина;ошибка",
        "ЛС-1;6000,00;3500,00;2500,00;0,00;386,36;4000,00;",
        "ЛС-2;1000,00;1000,00;0,00;0,00;18,17;4000,00;",
        // An advance and no penalty: nothing to claim, no fee.
        "ЛС-3;1000,00;1200,00;0,00;200,00;0,00;0,00;"};
    QTest::newRow("grouped") << ledgerText(kRows) << figures << 0;
    QStringList shuffled = kRows;
    std::swap(shuffled[1], shuffled[4]); // ЛС-1, ЛС-1, ЛС-2, ЛС-2, ЛС-1, …
    std::swap(shuffled[5], shuffled[2]);
    QTest::newRow("accounts apart") << ledgerText(shuffled) << figures << 0;
    QStringList quoted = kRows;
    quoted[4] = QStringLiteral("\"ЛС-2\";10.07.2024;оплачено;;\"1000\"");
    QTest::newRow("quoted fields") << ledgerText(quoted) << figures << 0;
    QStringList english = figures;
    english[0] = QStringLiteral("account,charged,paid,debt,advance,penalty,fee,error");
    for (qsizetype i = 1; i < english.size(); ++i)
        english[i] =
            QStringLiteral("\"%1\"").arg(english[i]).replace(u';', QStringLiteral("\",\""));
    QStringList commas;
    for (QString row : kRows)
        commas << row.replace(u';', u',')
                      .replace(QStringLiteral("3 000,00"), QStringLiteral("3000"))
                      .replace(QStringLiteral("начислено"), QStringLiteral("charge"))
                      .replace(QStringLiteral("оплачено"), QStringLiteral("Payment"));
    QTest::newRow("English, commas")
        << ledgerText(commas, QStringLiteral(" Account ,DATE,kind,Month,amount,note")) << english
        << 0;
    QStringList bad = kRows;
    bad[4] = QStringLiteral("ЛС-2;31.02.2024;оплачено;;1000");
    QStringList told = figures;
    told[2] = QStringLiteral("ЛС-2;;;;;;;строка 6: дата оплаты \"31.02.2024\" — нужно "
                             "дд.мм.гггг или гггг-мм-дд");
    QTest::newRow("a bad row is its account's") << ledgerText(bad) << told << 1;
    QStringList lost = kRows;
    lost.insert(2, QStringLiteral("\"ЛС-9;;начислено;01.2024;1"));
    QStringList inPlace = figures;
    inPlace.insert(2, QStringLiteral(";;;;;;;строка 4: кавычка не закрыта; следующие строки "
                                     "прочитаны отдельно"));
    QTest::newRow("a row with no account keeps its place") << ledgerText(lost) << inPlace << 1;
    QStringList unbilled = kRows;
    unbilled[5] = QStringLiteral("ЛС-3;05.01.2024;оплачено;05.2024;1200");
    told = figures;
    told[3] =
        QStringLiteral("ЛС-3;;;;;;;Оплата 05.01.2024 за 05.2024: начисления за этот месяц нет");
    QTest::newRow("a payment for a month with no bill") << ledgerText(unbilled) << told << 1;
    QStringList month13 = kRows;
    month13[3] = QStringLiteral("ЛС-2;;начислено;13.2024;1000");
    told = figures;
    told[2] = QStringLiteral("ЛС-2;;;;;;;строка 5: месяц 13.2024 — нужно мм.гггг или гггг-мм");
    QTest::newRow("a month that is none, on plain lines") << ledgerText(month13) << told << 1;
}

void TestLedger::accounts() {
    QFETCH(QByteArray, ledger);
    QFETCH(QStringList, expected);
    QFETCH(int, failed);
    int errors = -1;
    const QString out = QString::fromUtf8(count(ledger, 2, &errors));
    QStringList got = out.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    for (QString &row : got) // the English rows are quoted where they must be
        row.remove(u'"');
    for (QString &row : expected)
        row.remove(u'"');
    QCOMPARE(got, expected);
    QCOMPARE(errors, failed);
    // In code page 1251 with a Russian header, the output is in it too.
    QStringEncoder to1251("windows-1251");
    const QByteArray cp = count(to1251(QString::fromUtf8(ledger)), 1);
    QCOMPARE(QStringDecoder("windows-1251")(cp).operator QString(), out);
}

// Hundreds of random accounts, together and apart: the same bytes on one
// thread and on two.
void TestLedger::sameOnEveryCore() {
    std::mt19937 random(7);
    QStringList rows;
    for (int a = 0; a < 300; ++a)
        for (int m = 0; m < 24; ++m) {
            const QString account = QStringLiteral("%1").arg(a * 7919 % 1000, 4, 10, QChar(u'0'));
            rows << QStringLiteral("%1;;charge;%2.%3;%4")
                        .arg(account)
                        .arg(m % 12 + 1, 2, 10, QChar(u'0'))
                        .arg(2022 + m / 12)
                        .arg(1000 + random() % 5000);
            if (random() % 4)
                rows << QStringLiteral("%1;%2.%3.%4;payment;;%5")
                            .arg(account)
                            .arg(1 + random() % 28, 2, 10, QChar(u'0'))
                            .arg((m + 1) % 12 + 1, 2, 10, QChar(u'0'))
                            .arg(2022 + (m + 1) / 12)
                            .arg(500 + random() % 5000);
        }
    const QByteArray together = ledgerText(rows, QStringLiteral("account;date;kind;month;amount"));
    QCOMPARE(count(together, 2), count(together, 1));
    std::shuffle(rows.begin(), rows.end(), random);
    const QByteArray apart = ledgerText(rows, QStringLiteral("account;date;kind;month;amount"));
    const QByteArray one = count(apart, 1);
    QCOMPARE(count(apart, 2), one);
    QCOMPARE(one.count('\n'), 301);
}

// A batch of claims of every kind, good and bad: the same bytes on one
// thread and on three.
void TestLedger::batchOnEveryCore() {
    QByteArray csv = "debt;from;to;periods;payments;basis;penalty_daily\n";
    for (int i = 0; i < 2000; ++i)
        csv += QByteArray::number(1000 + i * 37) + ";01.0" + QByteArray::number(1 + i % 9) +
               ".2022;31.12.2022;" + (i % 3 ? "yes" : "no") + ";" +
               (i % 5 ? "" : "10.10.2022=500") + ";" + (i % 7 ? "" : "contract") + ";" +
               (i % 7 ? "" : "0,1") + (i % 11 ? "" : "x") + "\n";
    QBuffer one, three;
    one.open(QIODevice::WriteOnly);
    three.open(QIODevice::WriteOnly);
    bulk::Defaults defaults;
    defaults.today = QDate(2023, 1, 30);
    defaults.table = rates::RateTable::builtIn();
    const int failed = bulk::runBatch(csv, one, defaults, nullptr, nullptr, nullptr, 1);
    QCOMPARE(bulk::runBatch(csv, three, defaults, nullptr, nullptr, nullptr, 3), failed);
    QVERIFY(failed > 0);
    QCOMPARE(three.data(), one.data());
}

// Resource bills by a basis of their own, due on the 15th: January's
// 2000,00 from 16.02.2024 to 01.12.2024 at 8,75 %, 60 days at 1/300 (35,00),
// 30 at 1/170 (30,88) and 200 at 1/130 (269,23).
void TestLedger::resourceBills() {
    const QByteArray out = count(ledgerText({"ЛС-9;;начислено;01.2024;2000"}), 1, nullptr,
                                 QStringLiteral("resources-managing"));
    QVERIFY2(out.contains("ЛС-9;2000,00;0,00;2000,00;0,00;335,11;"), out.constData());
}

void TestLedger::refused() {
    for (const char *header : {"счет;дата;вид;месяц;сумма", "account;date;kind;amount;amount"})
        QVERIFY_THROWS_EXCEPTION(AppError, count(ledgerText(kRows, QString::fromUtf8(header))));
    // The output speaks the header's language: Russian when most of its
    // names are Russian, English at a tie (the month column may be missing).
    for (const auto &[header, first] :
         {std::pair{"лицевой_счет;дата;kind;month;amount", "account;"},
          {"лицевой_счет;дата;вид;month;amount", "лицевой_счет;"},
          {"лицевой_счет;дата;kind;заметка;amount", "account;"}})
        QVERIFY2(count(ledgerText(kRows, QString::fromUtf8(header))).startsWith(first), header);
}

// A ledger still being written when the accounts' order was found is
// refused, never counted half-old.
void TestLedger::changedWhileCounted() {
    QTemporaryFile in;
    const QByteArray ledger = ledgerText(kRows);
    QVERIFY(in.open() && in.write(ledger) == ledger.size() && in.seek(0));
    bulk::LedgerOptions options;
    options.base.count = calc::PeriodCount::Housing;
    options.base.filed = QDate(2024, 12, 1);
    options.base.rates = rates::ratePoints(rates::RateTable::builtIn());
    options.betweenPasses = [&in] {
        QFile more(in.fileName());
        QVERIFY(more.open(QIODevice::Append) && more.write("ЛС-4;;начислено;01.2024;1\n") > 0);
    };
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    try {
        bulk::runLedger(in, out, options);
        QFAIL("counted");
    } catch (const AppError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("файл изменился")), qPrintable(e.message()));
    }
    QVERIFY(out.data().isEmpty());
}

// What work throws on a thread is thrown again on the one that takes the
// results, in its turn: the results before it are taken, the run ends there.
void TestLedger::workThatThrows() {
    QList<int> taken;
    try {
        bulk::OrderedWork<int, int> work(
            3,
            [](int &n) {
                if (n == 5) throw AppError(QStringLiteral("пять"));
                return n;
            },
            [&taken](int &n) { taken.append(n); });
        for (int n = 0; n < 10; ++n)
            work.add(n);
        work.finish();
        QFAIL("finished");
    } catch (const AppError &e) {
        QCOMPARE(e.message(), QStringLiteral("пять"));
    }
    QCOMPARE(taken, (QList<int>{0, 1, 2, 3, 4}));
}

QTEST_GUILESS_MAIN(TestLedger)
#include "tst_ledger.moc"
