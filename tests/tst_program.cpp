// SPDX-License-Identifier: GPL-3.0-or-later
// The program started as a user starts it from a terminal: its options, what
// it writes where, its exit codes, and its manual pages.
#include "bulk/csvtable.h"
#include "calc/presets.h"
#include "cli/commandline.h"
#include "patience.h"
#include "programtest.h"
#include "storage/claimfile.h"
#include "storagetest.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace bulk;
using namespace cli;

class TestProgram : public QObject {
    Q_OBJECT
private slots:
    void options_data();
    void options();
    void batchFromAFile();
    void writersRule_data();
    void writersRule();
    void ledgerAlwaysFinishes();
    void manPagesNameEveryOption();
    void savedClaim();
    void spreadsheetUnderARussianLocale();
};

void TestProgram::options_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // a line of standard output, or a part of standard error
    QTest::addColumn<QByteArray>("rateFile"); // the user's stavki.txt; null: none
    QTest::addColumn<QString>("told");        // a part of standard error besides
    // The fee scale is the one of the filing day, today unless told.
    const QStringList example = {"--report",   "--debt",          "100000",  "--from",
                                 "01.01.2010", "--to=30.01.2010", "--court", "general"};
    QTest::newRow("the worked example, filed then")
        << example + QStringList{"--filed", "01.02.2010"} << 0
        << "Государственная пошлина: 3214,58 руб." << QByteArray() << QString();
    QTest::newRow("the worked example, filed today")
        << example << 0 << "Государственная пошлина: 4021,88 руб." << QByteArray() << QString();
    // A table that may lack the period's rates is counted with, and said so.
    QTest::newRow("a table years older than the period")
        << QStringList{"--report", "--debt", "100000", "--from", "01.01.2024", "--to", "31.01.2024"}
        << 0 << "Ставка рефинансирования: 8,75%" << QByteArray()
        << "dolgomer: предупреждение: последняя запись таблицы ставок — от 28.12.2009, период — "
           "по 31.01.2024; обновите таблицу: dolgomer --update-rates\n";
    QTest::newRow("a period in the span of deposit rates")
        << QStringList{"--report", "--periods",  "--debt", "100",
                       "--from",   "01.06.2015", "--to",   "30.06.2015"}
        << 0 << "Сумма процентов: 0,72 руб." << QByteArray()
        << "dolgomer: предупреждение: С 01.06.2015 по 31.07.2016 проценты";
    // A debt that arose during the moratorium is not covered, asked or not.
    QTest::newRow("the moratorium only for debts before it")
        << QStringList{"--report", "--periods",  "--debt", "100000",
                       "--from",   "02.04.2022", "--to",   "03.04.2022"}
        << 0 << "с 02.04.2022 по 03.04.2022: 100000,00 * 2 дн. * 8,75% / 365 = 47,95 руб."
        << QByteArray() << QString();
    QTest::newRow("contractual") << QStringList{"--report",   "--debt",        "50000",
                                                "--from",     "01.03.2010",    "--to",
                                                "31.03.2010", "--contractual", "--daily-rate",
                                                "0.1"}
                                 << 0 << "Сумма процентов: 50000,00 * 31 * 0,1 / 100 = 1550,00 руб."
                                 << QByteArray() << QString();
    QTest::newRow("by periods without the moratorium")
        << QStringList{"--report",   "--periods", "--no-moratorium", "--debt", "100000", "--from",
                       "01.04.2022", "--to",      "02.04.2022"}
        << 0 << "с 01.04.2022 по 02.04.2022: 100000,00 * 2 дн. * 8,75% / 365 = 47,95 руб."
        << QByteArray() << QString();
    QTest::newRow("a penalty by periods, with an increase")
        << QStringList{"--report",
                       "--periods",
                       "--debt",
                       "100000",
                       "--from",
                       "20.07.2020",
                       "--to",
                       "31.07.2020",
                       "--increase",
                       "27.07.2020=50000",
                       "--penalty-daily",
                       "0.1"}
        << 0 << "Сумма неустойки: 1450,00 руб." << QByteArray() << QString();
    QTest::newRow("1/300 of one date's key rate")
        << QStringList{"--report",       "--periods",  "--debt",      "100000",
                       "--from",         "20.07.2020", "--to",        "31.07.2020",
                       "--key-fraction", "300",        "--rate-date", "01.01.2000"}
        << 0 << "Сумма пеней: 2200,00 руб." << QByteArray() << QString();
    QTest::newRow("a letter in the debt")
        << QStringList{"--report", "--debt", "1e5"} << 2 << "--debt: неверное значение \"1e5\""
        << QByteArray() << QString();
    QTest::newRow("a bad date") << QStringList{"--report", "--from", "31.02.2010"} << 2
                                << "--from: неверное значение \"31.02.2010\"" << QByteArray()
                                << QString();
    QTest::newRow("tax out of range")
        << QStringList{"--report", "--tax", "36"} << 2 << "--tax" << QByteArray() << QString();
    QTest::newRow("an unknown court")
        << QStringList{"--report", "--court", "supreme"} << 2 << "нужно arbitration или general"
        << QByteArray() << QString();
    QTest::newRow("a value missing") << QStringList{"--report", "--debt"} << 2
                                     << "--debt: не указано значение" << QByteArray() << QString();
    QTest::newRow("an unknown option")
        << QStringList{"--report", "--fast"} << 2 << "неизвестный параметр \"--fast\""
        << QByteArray() << QString();
    QTest::newRow("neither report nor batch")
        << QStringList{"--debt", "5"} << 2 << "нужен ровно один из параметров" << QByteArray()
        << QString();
    QTest::newRow("help")
        << QStringList{"--help"} << 0
        << "  --tax N                   ставка налога, 0–35 (по умолчанию — ставка НДС в"
        << QByteArray() << QString();
    QTest::newRow("version") << QStringList{"--version"} << 0 << "Долгомер 0.3.0" << QByteArray()
                             << QString();
    QTest::newRow("-V") << QStringList{"-V"} << 0 << "Долгомер 0.3.0" << QByteArray() << QString();
    QTest::newRow("-h") << QStringList{"-h"} << 0
                        << "  --help                    эта справка (или -h)" << QByteArray()
                        << QString();
    QTest::newRow("digit groups in an option")
        << QStringList{"--report",   "--debt", "100 000,50", "--from",
                       "01.01.2010", "--to",   "30.01.2010"}
        << 0 << "Cумма долга: 100000,50 руб., в том числе налог 18%: 15254,31 руб." << QByteArray()
        << QString();
    QTest::newRow("a narrow no-break space between digit groups")
        << QStringList{"--report",  "--debt",     QStringLiteral("100\u202f000,00"),
                       "--from",    "01.01.2010", "--to",
                       "30.01.2010"}
        << 0 << "Cумма долга: 100000,00 руб., в том числе налог 18%: 15254,24 руб." << QByteArray()
        << QString();
    // A cap on the total is a share of every debt, increases too: 10 % of 1500,00.
    QTest::newRow("a cap on the total with an increase")
        << QStringList{"--report",
                       "--basis",
                       "contract",
                       "--penalty-daily",
                       "1",
                       "--cap-percent",
                       "10",
                       "--debt",
                       "1000",
                       "--from",
                       "01.01.2024",
                       "--to",
                       "31.12.2024",
                       "--increase",
                       "01.02.2024=500"}
        << 0 << "ИТОГО: 1500,00 + 150,00 = 1650,00 руб." << QByteArray() << QString();
    // Every date option takes a year first as well; messages name options.
    QTest::newRow("dates year first")
        << QStringList{"--report",   "--debt",  "100000",  "--from",  "2010-01-01", "--to",
                       "2010-01-30", "--court", "general", "--filed", "2010-02-01"}
        << 0 << "Государственная пошлина: 3214,58 руб." << QByteArray() << QString();
    QTest::newRow("help with examples")
        << QStringList{"--help"} << 0 << "Примеры:" << QByteArray() << QString();
    QTest::newRow("a contractual penalty with no rate")
        << QStringList{"--report", "--basis", "contract", "--debt", "100"} << 2
        << "--penalty-daily P" << QByteArray() << QString();
    QTest::newRow("a payment without --periods")
        << QStringList{"--report", "--debt", "100", "--payment", "10.01.2024=5"} << 2
        << "--payment: только для расчета по периодам (--periods)" << QByteArray() << QString();
    QTest::newRow("64 jobs") << QStringList{"--batch", "nothing.csv", "--jobs", "64"} << 2
                             << "--batch: не удается открыть файл" << QByteArray() << QString();
    QTest::newRow("a system error in Russian")
        << QStringList{"--batch", "nothing.csv"} << 2 << "нет такого файла или папки"
        << QByteArray() << QString();
    QTest::newRow("65 jobs") << QStringList{"--batch", "nothing.csv", "--jobs", "65"} << 2
                             << "--jobs: нужно целое число от 1 до 64" << QByteArray() << QString();
    QTest::newRow("no display for the window")
        << QStringList{} << 1 << "нужен графический экран" << QByteArray() << "dolgomer --help";
    // The rate is the one in force on the period's last day, not its first.
    QTest::newRow("rate on the end date")
        << QStringList{"--report", "--debt", "100000", "--from", "01.01.2009", "--to", "30.01.2010"}
        << 0 << "Ставка рефинансирования: 8,75%" << QByteArray() << QString();
    // Nothing the user gives is dropped: an option that does not fit is refused.
    const QStringList refusals[] = {
        {"-x", "неизвестный параметр \"-x\""},
        {"--report|--rate|0", "--rate: неверное значение \"0\" — ставка должна быть больше 0 и не "
                              "больше 100"},
        {"--report|--rate|101", "ставка должна быть больше 0 и не больше 100"},
        {"--report|stray.csv", "лишний аргумент \"stray.csv\""},
        {"--report|--debt|", "--debt: пустое значение"},
        {"--report|--periods|--debt|5|--output|", "--output: пустое значение"},
        {"--report|--claim|", "--claim: пустое значение"},
        {"--report|--periods|--debt|5|--rate|5", "--rate: не применяется к расчету по периодам"},
        {"--report|--periods|--debt|5|--divisor|300", "--divisor: не применяется"},
        {"--report|--periods|--debt|5|--tax|0", "--tax: не применяется"},
        {"--report|--periods|--debt|5|--contractual", "--contractual: не применяется"},
        {"--report|--debt|5|--daily-rate|0,2", "--daily-rate: только для договорной пени"},
        {"--report|--contractual|--debt|5|--rate|5", "--rate: только для законной пени"},
        {"--report|--debt|5|--no-moratorium", "--no-moratorium: только для расчета по периодам"},
        {"--report|--debt|5|--payment|01.01.2024=1", "--payment: только для расчета по периодам"},
        // The price of a flat is never claimed: no choice to make.
        {"--report|--basis|construction|--debt|5|--claim-base|yes",
         "--claim-base: основание construction не оставляет выбора; выбор есть только у "
         "оснований consumer-23.1, consumer-28, osago"},
        {"--report|--basis|osago|--debt|5|--claim-base|maybe", "--claim-base"},
        {"--report|--basis|capital-repair|--debt|5", "--debt: не применяется к пеням"},
        {"--report|--periods|--debt|5|--from|01.11.2022|--to|31.10.2022",
         "Конец периода раньше начала"},
        {"--report|--periods|--from|01.11.2022|--to|30.11.2022", "Долг 0,00 руб."},
        {"--report|--periods|--debt|9999999999999|--from|01.01.2000|--to|31.12.2020|--penalty-"
         "daily|1000",
         "больше 10^15 руб."},
    };
    for (const QStringList &r : refusals)
        QTest::newRow(qPrintable(r[0].split(u'|').join(u' ')))
            << r[0].split(u'|') << 2 << r[1] << QByteArray() << QString();
    QTest::newRow("a tiny penalty as typed")
        << QStringList{"--report",   "--periods", "--debt",     "100000",          "--from",
                       "01.01.2024", "--to",      "10.01.2024", "--penalty-daily", "0,00001"}
        << 0 << "с 01.01.2024 по 10.01.2024: 100000,00 * 10 дн. * 0,00001% = 0,10 руб."
        << QByteArray() << QString();
    QTest::newRow("a tiny contractual rate as typed")
        << QStringList{"--report", "--contractual", "--daily-rate", "0,00001"} << 0
        << "Размер договорной пени: 0,00001%" << QByteArray() << QString();
    // The user's rate file, opened as the window opens it.
    const QString report =
        QStringLiteral("--report --debt 100000 --from 01.01.2010 --to 30.01.2010");
    QTest::newRow("a refused rate file is told")
        << report.split(u' ') << 0 << "Ставка рефинансирования: 8,75%" << QByteArray("70 MB")
        << "слишком велик";
    QTest::newRow("a negative rate is no rate")
        << report.split(u' ') << 2 << "нет ставки, которую можно применить"
        << QByteArray("\xf1 1 \xff\xed\xe2\xe0\xf0\xff 2010 \xe3.=-5,00\r\n"
                      "\xf1 1 \xec\xe0\xff 2009 \xe3.=9\r\n")
        << QString();
    QTest::newRow("the user's rate")
        << report.split(u' ') << 0 << "Ставка рефинансирования: 7,5%"
        << QByteArray("\xf1 1 \xff\xed\xe2\xe0\xf0\xff 2010 \xe3.=7.5\r\n"
                      "\xf1 1 \xec\xe0\xff 2009 \xe3.=9\r\n")
        << QString();
}

void TestProgram::options() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QByteArray, rateFile);
    QFETCH(QString, told);
    QTemporaryDir home;
    const QString path = home.path() + "/d/Долгомер/stavki.txt";
    if (!rateFile.isNull()) plantRateFile(path, rateFile);
    const Run run = runProgram(home, args);
    QCOMPARE(run.exitCode, exitCode);
    if (exitCode == 0)
        QVERIFY2(run.out.split(u'\n').contains(output), qPrintable(run.out + run.err));
    else
        QVERIFY2(run.err.contains(output) && run.out.isEmpty(), qPrintable(run.err));
    if (!told.isEmpty()) QVERIFY2(run.err.contains(told), qPrintable(run.err));
    // Nothing of the user's is written by the command line.
    if (rateFile.isNull())
        QVERIFY(!QFile::exists(path));
    else if (rateFile != "70 MB")
        QCOMPARE(QFileInfo(path).size(), rateFile.size());
    QVERIFY(!QFile::exists(home.path() + "/c/Долгомер/registry.ini"));
}

void TestProgram::batchFromAFile() {
    QTemporaryDir home;
    const QString file = home.path() + "/claims.csv";
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("debt,to\n100000,30.01.2010\nx,30.01.2010\n100000,30.06.2024\n100000,31.01.2024\n");
    f.close();
    const Run run = runProgram(home, {"--batch", file});
    QCOMPARE(run.exitCode, 1); // one row could not be computed
    QList<QStringList> rows;
    QVERIFY(readCsv(run.outBytes, rows));
    QCOMPARE(rows.size(), 5);
    // From today to a day long past: no days, no interest.
    QCOMPARE(rows[1].mid(2, 3), (QStringList{"0", "8,75", "0,00"}));
    QVERIFY(rows[2].last().startsWith(QStringLiteral("debt:")));
    // No progress when standard error is no terminal; the table's age is told
    // once, for the latest period counted.
    QCOMPARE(run.err, QStringLiteral("dolgomer: предупреждение: последняя запись таблицы ставок — "
                                     "от 28.12.2009, период — по 30.06.2024; обновите таблицу: "
                                     "dolgomer --update-rates\n"));
    // An option no row can use is refused before any row; where a periods
    // column decides what each row counts, an option is the default of the
    // rows it applies to.
    Run refused = runProgram(home, {"--batch", file, "--periods", "--rate", "5"});
    QCOMPARE(refused.exitCode, 2);
    QVERIFY2(refused.err.contains(QStringLiteral("--rate: не применяется")) &&
                 refused.out.isEmpty(),
             qPrintable(refused.err));
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("debt,from,to,periods\n100000,01.03.2022,31.10.2022,yes\n"
            "100000,01.03.2022,31.10.2022,no\n");
    f.close();
    const Run byPeriods = runProgram(home, {"--batch", file, "--no-moratorium"});
    QCOMPARE(byPeriods.exitCode, 0); // the six-line row takes what applies to it
    QVERIFY2(byPeriods.out.contains(QStringLiteral("\"5873,29\"")), qPrintable(byPeriods.out));
    // Russian columns are read (1/150: 100000,00 * 31 дн. * 8,75% / 150); one
    // the program does not know is named once, never passed over in silence.
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("долг;начало;конец;основание;доля_ключевой;заметка\n"
            "100000;01.01.2024;31.01.2024;key-fraction;150;x\n");
    f.close();
    const Run russian = runProgram(home, {"--batch", file});
    QVERIFY2(russian.out.contains(QStringLiteral("1808,33")), qPrintable(russian.out));
    QCOMPARE(russian.err.count(QStringLiteral("столбец «заметка» программе неизвестен и не учтен")),
             1);
}

void TestProgram::writersRule_data() {
    QTest::addColumn<QString>("option"); // --details or --output (a report's file)
    QTest::addColumn<QString>("place");  // what stands at the name
    QTest::addColumn<QString>("told");
    for (const char *option : {"--details", "--output"}) {
        const QString o = QString::fromLatin1(option);
        QTest::newRow(qPrintable(o + " a device")) << o << "device"
                                                   << "устройство";
        QTest::newRow(qPrintable(o + " a pipe")) << o << "fifo"
                                                 << "канал";
        QTest::newRow(qPrintable(o + " a folder")) << o << "folder"
                                                   << "папка";
        QTest::newRow(qPrintable(o + " a read-only file")) << o << "read-only"
                                                           << "только для чтения";
        QTest::newRow(qPrintable(o + " the input")) << o << "input"
                                                    << "входной файл";
        QTest::newRow(qPrintable(o + " the input by a link")) << o << "link"
                                                              << "входной файл";
    }
    QTest::newRow("--details on standard output") << "--details"
                                                  << "-"
                                                  << "стандартный вывод";
}

// What the command line writes is a regular file or a new one, never one it
// reads: each refused before anything is read, the place left as it was.
void TestProgram::writersRule() {
    QFETCH(QString, option);
    QFETCH(QString, place);
    QFETCH(QString, told);
    QTemporaryDir home;
    const bool ledger = option == u"--details";
    const QString input = home.path() + (ledger ? "/l.csv" : "/claim.dolgomer");
    if (ledger) {
        writeBytes(input, "account;date;kind;month;amount\n1;01.02.2024;начислено;01.2024;100\n");
    } else {
        calc::PeriodInput c;
        c.debt = QStringLiteral("100,00");
        c.start = c.end = c.filed = QDate(2024, 1, 1);
        storage::saveClaim(input, c);
    }
    QString target = home.path() + (ledger ? "/details.csv" : "/out.txt");
    if (place == u"input")
        target = input;
    else if (place == u"link")
        QVERIFY(QFile::link(input, target));
    else if (place == u"read-only")
        writeBytes(target, "old"), QFile::setPermissions(target, {});
    else if (place == u"-")
        target = place;
    else
        plantNonFile(target, place);
    const QString before = placeSignature(target);
    const QByteArray inputBytes = readBytes(input);
    const Run run =
        runProgram(home, ledger ? QStringList{"--ledger", input, option, target}
                                : QStringList{"--report", "--claim", input, option, target});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(option) && run.err.contains(told), qPrintable(run.err));
    QVERIFY(run.out.isEmpty());
    QCOMPARE(placeSignature(target), before);
    QCOMPARE(readBytes(input), inputBytes);
}

// A ledger run counts every account whatever it cannot write: an
// attachment that does not fit (a file size limit, as a full disk) or
// leads out of the folder costs its file alone, told and summed up; a name
// of 300 bytes is cut at 200; --details is still written. Standard input
// that is no ledger is refused at its header, not copied aside.
void TestProgram::ledgerAlwaysFinishes() {
    QTemporaryDir home;
    const QString ledger = home.path() + "/l.csv", out = home.path() + "/out";
    const QString wide = QString(100, QChar(0x4e2d));
    writeBytes(ledger, "account;date;kind;month;amount\n1;01.02.2024;начислено;01.2024;1000\n" +
                           wide.toUtf8() +
                           ";01.02.2024;начислено;01.2024;1000\n"
                           "3;01.02.2024;начислено;01.2024;1000\n");
    QVERIFY(QDir().mkpath(out));
    writeBytes(home.path() + "/elsewhere.pdf", "mine");
    QVERIFY(QFile::link(home.path() + "/elsewhere.pdf", out + "/3.pdf"));
    const QStringList args = {"--ledger", ledger, "--filed",   "01.12.2024",
                              "--output", out,    "--details", home.path() + "/details.csv"};
    Run run = runProgram(home, args);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out.count(u'\n'), 4); // the header and every account
    QVERIFY2(run.err.contains(QStringLiteral("Приложения не записаны: 1 из 3")),
             qPrintable(run.err));
    QCOMPARE(readBytes(home.path() + "/elsewhere.pdf"), QByteArray("mine"));
    QVERIFY(QFile::exists(out + u'/' + wide.left(66) + ".pdf")); // 198 bytes
    // No room for any attachment: every account counted all the same.
    QProcess limited;
    prepareProgram(limited, home);
    limited.setProgram("sh");
    limited.setArguments(
        {"-c", "ulimit -f 8; exec \"$0\" \"$@\"", QStringLiteral(DOLGOMER_PROGRAM)});
    limited.setArguments(limited.arguments() + args.mid(0, 5) + QStringList{out + "2"} +
                         args.mid(6));
    limited.start();
    QVERIFY(limited.waitForFinished(kPatienceMs));
    QCOMPARE(limited.exitCode(), 1);
    QCOMPARE(limited.readAllStandardOutput().count('\n'), 4);
    QVERIFY(limited.readAllStandardError().contains("Приложения не записаны: 3 из 3"));
    QVERIFY(QFileInfo(home.path() + "/details.csv").size() > 0);
    // Accounts apart go through temporary files: in the system's folder when
    // TMPDIR names none.
    writeBytes(ledger, "account;date;kind;month;amount\n1;;charge;01.2024;100\n"
                       "2;;charge;01.2024;100\n1;;charge;02.2024;100\n");
    run = runProgram(home, {"--ledger", ledger}, {"TMPDIR=/nonexistent"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out.count(u'\n'), 3);
    // An endless stream that is no ledger ends at its first line.
    QProcess endless;
    prepareProgram(endless, home);
    endless.setProgram("sh");
    endless.setArguments({"-c", "yes | \"$0\" --ledger -", QStringLiteral(DOLGOMER_PROGRAM)});
    endless.start();
    QVERIFY(endless.waitForFinished(kPatienceMs));
    QCOMPARE(endless.exitCode(), 2);
}

// The manual pages must not fall behind the program: every option --help
// lists is in both of them.
void TestProgram::manPagesNameEveryOption() {
    QStringList options{"-h", "-V"};
    static const QRegularExpression option(QStringLiteral("--[a-z][a-z-]*[a-z]"));
    for (auto it = option.globalMatch(helpText()); it.hasNext();)
        options.append(it.next().captured());
    options.removeDuplicates();
    QVERIFY(options.size() > 15);
    // The pages as the build makes them name the program's own version.
    QTemporaryDir home;
    const QString version = QRegularExpression(QStringLiteral("\\d+\\.\\d+\\.\\d+"))
                                .match(runProgram(home, {"--version"}).out)
                                .captured();
    QVERIFY(!version.isEmpty());
    for (const char *page : {"dolgomer.1", "dolgomer.ru.1"}) {
        QFile f(QStringLiteral(DOLGOMER_MAN_DIR "/") + QLatin1String(page));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(f.readAll()).remove(u'\\');
        QVERIFY2(text.section(u'\n', 0, 1).contains(u' ' + version + u'"'), page);
        for (const QString &o : options)
            QVERIFY2(text.contains(o), qPrintable(QStringLiteral("%1 lacks %2").arg(page, o)));
        // Every legal basis, by its name, under --basis.
        for (const calc::Preset &p : calc::presets())
            QVERIFY2(text.contains(QLatin1String(p.name)),
                     qPrintable(QLatin1String(page) + u' ' + QLatin1String(p.name)));
    }
}

// Users run under ru_RU.UTF-8, where the C library writes "1318,49": the
// spreadsheet's numbers and widths must still be written the C way, or no
// spreadsheet reads the file.
void TestProgram::spreadsheetUnderARussianLocale() {
    QTemporaryDir home;
    const QString locales = home.path() + QStringLiteral("/locales");
    QVERIFY(QDir().mkpath(locales));
    QProcess localedef;
    localedef.start(QStringLiteral("localedef"),
                    {"-i", "ru_RU", "-f", "UTF-8", locales + QStringLiteral("/ru_RU.UTF-8")});
    QVERIFY(localedef.waitForFinished(kPatienceMs) && localedef.exitCode() == 0);
    const QString xlsx = home.path() + QStringLiteral("/claim.xlsx");
    const Run run = runProgram(home,
                               {"--report", "--periods", "--debt", "131849", "--from", "01.01.2024",
                                "--to", "31.01.2024", "--penalty-daily", "0,1", "--output", xlsx},
                               {"LOCPATH=" + locales, "LC_ALL=ru_RU.UTF-8", "LANG=ru_RU.UTF-8"});
    QCOMPARE(run.exitCode, 0);
    // Read back: every number and width in the C form, and a reader takes it.
    QProcess python;
    python.start(
        QStringLiteral("/usr/bin/python3"),
        {"-c",
         "import re, sys, zipfile, openpyxl\n"
         "xml = zipfile.ZipFile(sys.argv[1]).read('xl/worksheets/sheet1.xml').decode()\n"
         "assert not re.search(r'<v>[^<]*,|width=\"[^\"]*,', xml), xml\n"
         "cells = [c.value for row in openpyxl.load_workbook(sys.argv[1]).active.iter_rows()"
         " for c in row]\n"
         "assert 131849 in cells, cells\n"
         "print('ok')\n",
         xlsx});
    QVERIFY(python.waitForFinished(kPatienceMs));
    QVERIFY2(python.readAllStandardOutput() == "ok\n", python.readAllStandardError().constData());
}

// A claim saved by the window gives its report on the command line; a
// damaged file is refused.
void TestProgram::savedClaim() {
    QTemporaryDir home;
    calc::PeriodInput c;
    c.debt = QStringLiteral("100000,00");
    c.start = QDate(2020, 7, 20);
    c.end = QDate(2020, 7, 31);
    c.filed = QDate(2024, 1, 1);
    c.count = calc::PeriodCount::Contractual;
    c.dailyPercent = QStringLiteral("0,1");
    c.increases = {{QDate(2020, 7, 27), QStringLiteral("50000,00")}};
    const QString path = home.path() + QStringLiteral("/Ромашка.dolgomer");
    storage::saveClaim(path, c);
    Run run = runProgram(home, {"--report", "--claim", path});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, calc::calculatePeriods(c).lines.join(u'\n') + u'\n');
    // The same claim as a table in a file; a six-line report only as text.
    const QString table = home.path() + QStringLiteral("/Ромашка.xlsx");
    run = runProgram(home, {"--report", "--claim", path, "--output", table});
    QCOMPARE(run.exitCode, 0);
    QVERIFY(run.out.isEmpty() && readBytes(table).startsWith("PK"));
    run = runProgram(home, {"--report", "--output", home.path() + QStringLiteral("/a.pdf")});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QStringLiteral("только для расчета по периодам")),
             qPrintable(run.err));
    // Options over the saved claim's fields: a new filing date re-counts the
    // fee, a debt and a court replace the file's.
    calc::PeriodInput changed = c;
    changed.debt = QStringLiteral("200000,00");
    changed.court = calc::Court::GeneralJurisdiction;
    changed.filed = QDate(2024, 12, 1);
    changed.moratorium = false;
    run = runProgram(home, {"--report", "--claim", path, "--debt", "200000", "--court", "general",
                            "--filed", "01.12.2024", "--no-moratorium"});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, calc::calculatePeriods(changed).lines.join(u'\n') + u'\n');
    QVERIFY(run.out != calc::calculatePeriods(c).lines.join(u'\n') + u'\n');
    // The saved claim is never the output, whatever the path says.
    const QString same = home.path() + QStringLiteral("/./Ромашка.dolgomer");
    run = runProgram(home, {"--report", "--claim", path, "--output", same});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QStringLiteral("это входной файл")), qPrintable(run.err));
    QCOMPARE(storage::loadClaim(path).debt, c.debt);
    writeBytes(path, "{\"format\": \"dolgomer-claim\", \"version\": 9}");
    run = runProgram(home, {"--report", "--claim", path});
    QCOMPARE(run.exitCode, 2);
    QVERIFY2(run.err.contains(QStringLiteral("более новой версией")), qPrintable(run.err));
}

QTEST_GUILESS_MAIN(TestProgram)
#include "tst_program.moc"
