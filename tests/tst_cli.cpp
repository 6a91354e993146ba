// SPDX-License-Identifier: GPL-3.0-or-later
#include "bulk/batch.h"
#include "bulk/claimrequest.h"
#include "bulk/csvtable.h"
#include "cli/commandline.h"
#include "clitest.h"
#include "common/apperror.h"
#include "storage/claimfile.h"
#include "storagetest.h"

#include <QBuffer>
#include <QDir>
#include <QStringEncoder>
#include <QTest>

using namespace bulk;
using namespace cli;

class TestCli : public QObject {
    Q_OBJECT
private slots:
    void csvReading_data();
    void csvReading();
    void fuzzFindings();
    void spreadsheetFiles_data();
    void spreadsheetFiles();
    void batchRows_data();
    void batchRows();
};

void TestCli::csvReading_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::newRow("plain") << QByteArray("a,b\n1,2\n")
                           << QList<QStringList>{{"a", "b"}, {"1", "2"}};
    QTest::newRow("CR LF and a BOM") << QByteArray("\xEF\xBB\xBF"
                                                   "a,b\r\n1,2\r\n")
                                     << QList<QStringList>{{"a", "b"}, {"1", "2"}};
    QTest::newRow("quotes, a comma and a quote inside")
        << QByteArray("a,b\n\"1,5\",\"x \"\"y\"\"\"\n")
        << QList<QStringList>{{"a", "b"}, {"1,5", "x \"y\""}};
    QTest::newRow("empty fields and blank lines")
        << QByteArray("a,b,c\n\n,,\n1,,3\n")
        << QList<QStringList>{{"a", "b", "c"}, {"", "", ""}, {"1", "", "3"}};
    QTest::newRow("no line end at the end")
        << QByteArray("a\n1") << QList<QStringList>{{"a"}, {"1"}};
    // A carriage return inside a field must be quoted when written, or the
    // field would end a line.
    // The separator is the header's; the other ones are text, and are quoted
    // in a header when written, so that it reads back the same.
    QTest::newRow("lines ended by CR, the separator from the first")
        << QByteArray("a;b\r1,2\r") << QList<QStringList>{{"a", "b"}, {"1,2"}};
    QTest::newRow("a header of one column with a semicolon in it")
        << QByteArray("\"a;b\"\r1,2\r") << QList<QStringList>{{"a;b"}, {"1", "2"}};
    QTest::newRow("semicolons") << QByteArray("a;b\n\"1;5\";2,5\n")
                                << QList<QStringList>{{"a", "b"}, {"1;5", "2,5"}};
    QTest::newRow("tabs, blanks kept")
        << QByteArray("a\tb\n 1 \tx y\n") << QList<QStringList>{{"a", "b"}, {"1", "x y"}};
    QTest::newRow("a carriage return inside")
        << QByteArray("a\n\"x\ry\"\n") << QList<QStringList>{{"a"}, {"x\ry"}};
}

void TestCli::csvReading() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QStringList>, rows);
    QList<QStringList> got;
    QVERIFY(readCsv(bytes, got));
    QCOMPARE(got, rows);
    // What is written reads back the same.
    QByteArray written;
    for (const QStringList &row : rows)
        written += csvRow(row, {}, written.isEmpty());
    QList<QStringList> again;
    QVERIFY(readCsv(written, again));
    QCOMPARE(again, rows);
}

// Files the fuzzer once broke the reader with: what is read is written so
// that it reads back the same.
void TestCli::fuzzFindings() {
    const QDir dir(QStringLiteral(DOLGOMER_SOURCE_DIR "/fuzz/regressions"));
    const QStringList files = dir.entryList({QStringLiteral("csv-*")}, QDir::Files);
    QVERIFY(!files.isEmpty());
    for (const QString &name : files) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QList<QStringList> rows, again;
        QVERIFY(readCsv(f.readAll(), rows));
        QByteArray written;
        for (const QStringList &row : rows)
            written += csvRow(row, {}, written.isEmpty());
        QVERIFY(readCsv(written, again));
        QCOMPARE(again.size(), rows.size());
        QCOMPARE(again.first(), rows.first());
    }
}

// Files as spreadsheets save them come back in their own separator and
// encoding, every column in its place, nothing in them a formula.
void TestCli::spreadsheetFiles_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QByteArray>("output");
    QTest::addColumn<int>("failed");
    QStringEncoder cp1251("windows-1251");
    QTest::newRow("semicolons, code page 1251, Russian names, a debtor, digit groups")
        << QByteArray(cp1251(QStringLiteral("Должник;долг;начало;конец;Суд \r\n"
                                            "ООО \"Ромашка\";100 000,50;01.01.2010;30.01.2010;"
                                            "general\r\n")))
        << QByteArray(cp1251(
               QStringLiteral("Должник;долг;начало;конец;Суд;days;rate;interest;total;fee;error\r\n"
                              "\"ООО \"\"Ромашка\"\"\";100 000,50;01.01.2010;30.01.2010;general;"
                              "30;8,75;729,17;100729,67;3214,59;\r\n")))
        << 0;
    // A debtor's column is a row's own words, whatever they hold: two lines
    // of a spreadsheet's cell are written back as they came.
    QTest::newRow("a debtor's cell of two lines")
        << QByteArray("debtor,debt,from,to\n\"ООО Ромашка\nг. Тула\",1000,01.01.2010,30.01.2010\n")
        << QByteArray("debtor,debt,from,to,days,rate,interest,total,fee,error\r\n\"ООО Ромашка\nг. "
                      "Тула\",1000,01.01.2010,30.01.2010,30,\"8,75\",\"7,29\",\"1007,29\","
                      "\"2000,00\",\r\n")
        << 0;
    QTest::newRow("tabs, UTF-8 with a BOM, formulas, a field missing")
        << QByteArray("\xEF\xBB\xBF"
                      "debt\tnote\tto\r\n"
                      "100 000\t=HYPERLINK(\"x\")\t30.01.2010\r\n"
                      "1\t\" @SUM(A1)\"\t-1\r\n"
                      "100000\r\n"
                      "100 000\t\"\nx\"\t30.01.2010\r\n")
        << QByteArray("\xEF\xBB\xBF"
                      "debt\tnote\tto\tdays\trate\tinterest\ttotal\tfee\terror\r\n"
                      "100 000\t\"'=HYPERLINK(\"\"x\"\")\"\t30.01.2010\t1\t8,75\t24,31\t"
                      "100024,31\t4000,73\t\r\n"
                      "1\t' @SUM(A1)\t'-1\t\t\t\t\t\t\"to: неверное значение \"\"-1\"\" — "
                      "нужна дата дд.мм.гггг или гггг-мм-дд\"\r\n"
                      "100000\t\t\t\t\t\t\t\t\"в строке нет поля \"\"note\"\"\"\r\n"
                      "100 000\t\"'\nx\"\t30.01.2010\t1\t8,75\t24,31\t100024,31\t4000,73\t\r\n")
        << 2;
}

void TestCli::spreadsheetFiles() {
    QFETCH(QByteArray, csv);
    QFETCH(QByteArray, output);
    QFETCH(int, failed);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    QCOMPARE(runBatch(csv, out, fixedDefaults()), failed);
    QCOMPARE(QString::fromUtf8(out.data()), QString::fromUtf8(output));
    QCOMPARE(out.data(), output);
    // One column named twice, in two languages: which one wins is no guess.
    try {
        runBatch("debt;Долг\n1;2\n", out, fixedDefaults());
        QFAIL("a column named twice was taken");
    } catch (const AppError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("\"Долг\" указан дважды")),
                 qPrintable(e.message()));
    }
}

void TestCli::batchRows_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<QStringList>("results"); // per row: days|rate|interest|total|fee|error
    QTest::addColumn<int>("failed");
    QTest::addColumn<QStringList>("options");
    QTest::newRow("the worked examples")
        << QByteArray("debt,from,to,court,mode,daily_rate\r\n"
                      "100000,01.01.2010,30.01.2010,general,,\r\n"
                      "50000,01.03.2010,31.03.2010,,contractual,\"0,1\"\r\n")
        << QStringList{"30|8,75|729,17|100729,17|3214,58|", "31|0,1|1550,00|51550,00|2062,00|"} << 0
        << QStringList{};
    QTest::newRow("the filing date picks the fee scale")
        << QByteArray("debt,from,to,court,дата_подачи\n100000,01.01.2010,30.01.2010,general,"
                      "01.02.2010\n100000,01.01.2010,30.01.2010,general,07.12.2026\n")
        << QStringList{"30|8,75|729,17|100729,17|3214,58|", "30|8,75|729,17|100729,17|4021,88|"}
        << 0 << QStringList{};
    QTest::newRow("defaults for missing columns")
        << QByteArray("debt\n100000\n") << QStringList{"1|8,75|24,31|100024,31|4000,73|"} << 0
        << QStringList{};
    QTest::newRow("a bad row among good ones")
        << QByteArray("debt,tax\n100000,18\nabc,18\n100000,40\n100000,0\n")
        << QStringList{"1|8,75|24,31|100024,31|4000,73|",
                       "|||||debt: неверное значение \"abc\" — допустимы только цифры и десятичная "
                       "запятая",
                       "|||||tax: неверное значение \"40\" — нужно целое число от 0 до 35",
                       "1|8,75|24,31|100024,31|4000,73|"}
        << 2 << QStringList{};
    QTest::newRow("by periods, with payments")
        << QByteArray("debt,from,to,periods,payments\n"
                      "100000,01.03.2022,31.10.2022,yes,10.06.2022=5000\n"
                      "100000,01.03.2022,31.10.2022,yes,01.01.2023=5000\n")
        << QStringList{"245||1426,37|96426,37|3857,05|", "|||||Оплата 01.01.2023 лежит вне периода "
                                                         "просрочки с 01.03.2022 по 31.10.2022"}
        << 1 << QStringList{};
    QTest::newRow("penalties by periods, increases")
        << QByteArray("debt,from,to,periods,увеличения,penalty_daily,key_fraction,rate_date\n"
                      "100000,20.07.2020,31.07.2020,yes,27.07.2020=50000,0.1,,\n"
                      "100000,20.07.2020,31.07.2020,yes,,,300,\n"
                      "100000,20.07.2020,31.07.2020,yes,,,300,01.01.2000\n"
                      "100000,20.07.2020,31.07.2020,yes,,0.1,300,\n"
                      "100000,20.07.2020,31.07.2020,,27.07.2020=5,,,\n")
        << QStringList{"12||1450,00|151450,00|5543,50|", "12||350,00|100350,00|4010,50|",
                       "12||2200,00|102200,00|4066,00|", // 55 % on 01.01.2000
                       "|||||penalty_daily и key_fraction: нужна либо неустойка в день, либо доля "
                       "ключевой ставки",
                       "|||||увеличения: только для расчета по периодам (periods=yes)"}
        << 2 << QStringList{};
    QTest::newRow("point for comma, blanks around")
        << QByteArray("debt,rate,divisor\n 100000.5 , 7.75 ,300\n")
        << QStringList{"1|7,75|25,83|100026,33|4000,79|"} << 0 << QStringList{};
    QTest::newRow("more fields than columns")
        << QByteArray("debt\n1,2\n") << QStringList{"|||||в строке больше полей, чем столбцов"} << 1
        << QStringList{};
    QTest::newRow("fewer fields than columns")
        << QByteArray("debt,to\n1\n") << QStringList{"|||||в строке нет поля \"to\""} << 1
        << QStringList{};
    QTest::newRow("a line longer than 1 MB, then a good one")
        << (QByteArray("debt,note\n1,") + QByteArray(2 << 20, 'x') + "\n100000,\n")
        << QStringList{"|||||строка длиннее 1 МБ", "1|8,75|24,31|100024,31|4000,73|"} << 1
        << QStringList{};
    {
        // A quote that never closes costs its row alone; a long quoted field
        // with line ends costs its row and the reading stays in step.
        const QString good = QStringLiteral("1|8,75|24,31|100024,31|4000,73|");
        QByteArray csv = "debt,note\n";
        for (int i = 1; i <= 1000; ++i)
            csv += i == 3 ? "100000,\"see contract\n" : "100000,x\n";
        QStringList results(1000, good);
        results[2] = "|||||кавычка, открытая в этой строке, не закрыта; следующие строки "
                     "прочитаны отдельно";
        QTest::newRow("an open quote at row 3 of 1000") << csv << results << 1 << QStringList{};
        QByteArray field;
        while (field.size() < (2 << 20))
            field += "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx, \"\"quoted\"\"\r\n";
        QTest::newRow("a 2 MB quoted field with line ends, then a good row")
            << "debt,note\n1,\"" + field + "\"\n100000,\n"
            << QStringList{"|||||строка длиннее 1 МБ", good} << 1 << QStringList{};
        // The encoding is told from the start of the file; a later row in
        // another one is an error, not text with holes in it.
        csv = "debt,name\n" + QByteArray("100000,Иванов\n").repeated(7000) +
              "100000,\xcf\xe5\xf2\xf0\xee\xe2\n"; // "Петров" in code page 1251
        results = QStringList(7000, good) << "|||||строка не в кодировке UTF-8, как начало файла";
        QTest::newRow("a late 1251 row in a UTF-8 batch") << csv << results << 1 << QStringList{};
    }
    // Options are every row's defaults; a column, when filled, overrides them.
    QTest::newRow("options as defaults, a column over them")
        << QByteArray("debt,court\n100000,\n100000,arbitration\n")
        << QStringList{"1|8,75|24,31|100024,31|3200,49|", "1|8,75|24,31|100024,31|4000,73|"} << 0
        << QStringList{"--court=general"};
    QTest::newRow("the moratorium and payments: options, then columns")
        << QByteArray("debt,мораторий,payments\n100000,,\n100000,нет,\n100000,,10.06.2022=1\n")
        << QStringList{"245||1426,37|96426,37|3857,05|", "245||5701,89|100701,89|4021,06|",
                       "245||1462,32|101461,32|4043,84|"}
        << 0
        << QStringList{"--periods", "--from=01.03.2022", "--to=31.10.2022",
                       "--payment=10.06.2022=5000"};
    QTest::newRow("by periods: a reversed period, nothing owed")
        << QByteArray(
               "debt,from,to,periods\n5,02.01.2010,01.01.2010,yes\n0,01.01.2010,02.01.2010,yes\n")
        << QStringList{"|||||Конец периода раньше начала: с 02.01.2010 по 01.01.2010",
                       "|||||Долг 0,00 руб. и увеличений долга нет: начислять не на что"}
        << 2 << QStringList{};
    QTest::newRow("a column that does not apply to its row")
        << QByteArray("debt,periods,rate,moratorium\n100000,yes,7,\n100000,,,no\n")
        << QStringList{"|||||rate: не применяется к расчету по периодам (неустойка по периодам — "
                       "--penalty-daily или --key-fraction)",
                       "|||||moratorium: только для расчета по периодам (periods=yes)"}
        << 2 << QStringList{};
}

void TestCli::batchRows() {
    QFETCH(QByteArray, csv);
    QFETCH(QStringList, results);
    QFETCH(int, failed);
    QFETCH(QStringList, options);
    int f = -1;
    const QList<QStringList> rows = batch(csv, &f, options);
    QCOMPARE(f, failed);
    QCOMPARE(rows.size(), results.size() + 1);
    QCOMPARE(rows[0].mid(rows[0].size() - 6),
             (QStringList{"days", "rate", "interest", "total", "fee", "error"}));
    for (qsizetype i = 0; i < results.size(); ++i)
        QCOMPARE(rows[i + 1].mid(rows[i + 1].size() - 6).join(u'|'), results[i]);
}

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
