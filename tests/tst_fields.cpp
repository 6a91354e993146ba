// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/claimfields.h"
#include "calc/pastedrows.h"
#include "calc/presets.h"
#include "cli/commandline.h"
#include "clitest.h"
#include "common/apperror.h"
#include "storage/claimfile.h"

#include <QTest>

class TestFields : public QObject {
    Q_OBJECT
private slots:
    void everyFieldEveryWay_data();
    void everyFieldEveryWay();
    void pastedRows_data();
    void pastedRows();
    void aBasisIsARow();
};

// Each field of the table through its option (or flag), its English and its
// Russian column, a saved claim's key and the help: every way counts the same.
void TestFields::everyFieldEveryWay_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("base"); // the rest of the claim, as options
    QTest::addColumn<QString>("line");     // a line of the report it makes
    using F = calc::ClaimField;
    const QStringList six = {"--debt=100000", "--from=01.01.2010", "--to=30.01.2010"};
    const QStringList periods = six + QStringList{"--periods"};
    std::size_t rows = 0;
    const auto row = [&rows](F f, const char *value, const QStringList &base, const char *line) {
        ++rows;
        QTest::newRow(calc::fieldInfo(f).column) << int(f) << value << base << line;
    };
    row(F::Debt, "5 000,5", six.mid(1),
        "Cумма долга: 5000,50 руб., в том числе налог 18%: 762,79 руб.");
    row(F::From, "02.01.2010", six, "Период просрочки: c 02.01.2010 по 30.01.2010 = 29 дн.");
    row(F::To, "20.01.2010", six, "Период просрочки: c 01.01.2010 по 20.01.2010 = 20 дн.");
    row(F::Filed, "01.02.2010", six + QStringList{"--court=general"},
        "Государственная пошлина: 3214,58 руб.");
    row(F::Tax, "0", six, "Cумма долга: 100000,00 руб., в том числе налог 0%: 0,00 руб.");
    row(F::Court, "general", six + QStringList{"--filed=01.02.2010"},
        "Государственная пошлина: 3214,58 руб.");
    row(F::Mode, "contractual", six, "Размер договорной пени: 0,1%");
    row(F::Rate, "7.5", six, "Ставка рефинансирования: 7,5%");
    row(F::Divisor, "300", six, "Сумма процентов: 100000,00 * 30 * 8,75 / 30000 = 875,00 руб.");
    row(F::DailyRate, "0,00001", six + QStringList{"--contractual"},
        "Размер договорной пени: 0,00001%");
    row(F::Periods, "yes", six,
        "Расчет по периодам (ст. 395 ГК РФ): с 01.01.2010 по 30.01.2010 = 30 дн.");
    row(F::Payments, "10.01.2010=1000", periods,
        "оплата 10.01.2010: 1000,00 руб., остаток долга 99000,00 руб.");
    row(F::Increases, "10.01.2010=1000", periods,
        "долг увеличен 10.01.2010: 1000,00 руб., долг 101000,00 руб.");
    row(F::PenaltyDaily, "0,00001", periods,
        "с 01.01.2010 по 30.01.2010: 100000,00 * 30 дн. * 0,00001% = 0,30 руб.");
    row(F::KeyFraction, "150", periods,
        "Расчет пеней по периодам (1/150 ставки рефинансирования): с 01.01.2010 по 30.01.2010 = "
        "30 дн.");
    row(F::RateDate, "01.01.2000", periods + QStringList{"--key-fraction=300"},
        "с 01.01.2010 по 30.01.2010: 100000,00 * 30 дн. * 55% / 300 = 5500,00 руб.");
    row(F::Moratorium, "no", {"--debt=100000", "--from=01.03.2022", "--to=31.03.2022", "--periods"},
        "с 01.03.2022 по 31.03.2022: 100000,00 * 31 дн. * 8,75% / 365 = 743,15 руб.");
    row(F::Arose, "20.03.2022",
        {"--debt=100000", "--from=16.04.2022", "--to=20.04.2022", "--periods"},
        "с 16.04.2022 по 20.04.2022: мораторий, проценты не начисляются");
    const QStringList housing = {"--basis=housing", "--filed=01.07.2010"};
    const QStringList bill = housing + QStringList{"--charge=11.2009=1000"};
    row(F::Basis, "housing", {"--charge=11.2009=1000", "--filed=01.07.2010"},
        "Расчет пеней за ЖКУ (ч. 14 ст. 155 ЖК РФ) на 01.07.2010");
    row(F::Charges, "11.2009=600;11.2009=400", housing,
        "Начислено за 11.2009: 1000,00 руб., срок оплаты 10.12.2009");
    row(F::RateDay, "periods", bill,
        "с 11.12.2009 по 27.12.2009: 1000,00 * 17 дн. * 9% / 300 = 5,10 руб.");
    row(F::DueDay, "31", bill, "Начислено за 11.2009: 1000,00 руб., срок оплаты 31.12.2009");
    row(F::Shift, "no", housing + QStringList{"--charge=03.2010=1000"},
        "Начислено за 03.2010: 1000,00 руб., срок оплаты 10.04.2010");
    row(F::Moratorium2020, "no", {"--basis=housing", "--filed=01.06.2020", "--charge=02.2020=1000"},
        "с 10.04.2020 по 01.06.2020: 1000,00 * 53 дн. * 8,75% / 300 = 15,46 руб.");
    row(F::CourtOrder, "yes", periods, "Государственная пошлина: 2010,79 руб."); // 4021,58 / 2
    // 100000,00 * 30 дн. * 0,1% = 3000,00, at most 2 % of the debt or 1000,00.
    const QStringList contract = periods + QStringList{"--basis=contract", "--penalty-daily=0,1"};
    row(F::CapPercent, "2", contract,
        "с 01.01.2010 по 30.01.2010: 100000,00 * 30 дн. * 0,1% = 3000,00 руб., с учетом "
        "предела — 2000,00 руб.");
    row(F::Cap, "1000", contract,
        "с 01.01.2010 по 30.01.2010: 100000,00 * 30 дн. * 0,1% = 3000,00 руб., с учетом "
        "предела — 1000,00 руб.");
    row(F::Fulfilled, "40000", six + QStringList{"--basis=procurement-supplier"},
        "с 01.01.2010 по 30.01.2010: 60000,00 * 30 дн. * 8,75% / 300 = 525,00 руб.");
    // Wages are claimed free of the fee; an employer's claim pays it: 100000,00 + 875,00
    // in a court of general jurisdiction (the basis's), 3200 + 2% of 875,00.
    row(F::FeeExemption, "no", six + QStringList{"--basis=wages", "--filed=01.02.2010"},
        "Государственная пошлина: 3217,50 руб.");
    row(F::Windows, "10.01.2010-19.01.2010;2010-01-25-2010-01-26", periods,
        "с 10.01.2010 по 19.01.2010: без начисления (указано пользователем)");
    // 1 % a day of 100000,00 for 30 days is 30000,00, at most the insured sum.
    row(F::InsuredSum, "10000", six + QStringList{"--basis=osago"},
        "с 01.01.2010 по 30.01.2010: 100000,00 * 30 дн. * 1% = 30000,00 руб., с учетом предела — "
        "10000,00 руб.");
    // Read every way; what it leaves out has its own table.
    row(F::Continuing, "no", periods, "Государственная пошлина: 4021,58 руб.");
    // The indemnity is not demanded: the claim is the penalty alone.
    row(F::ClaimBase, "no", six + QStringList{"--basis=osago"}, "ИТОГО: 30000,00 руб.");
    // The parties count nothing: they reach the claim (checked below) and its file.
    for (auto f = int(F::Claimant); f <= int(F::CourtAddress); ++f)
        row(F(f), "ООО Ромашка, г. Москва; № 5", periods, "Государственная пошлина: 4021,58 руб.");
    QCOMPARE(rows, calc::kClaimFieldCount); // a field added to the table needs its row
}

void TestFields::everyFieldEveryWay() {
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(QStringList, base);
    QFETCH(QString, line);
    const calc::FieldInfo &info = calc::fieldInfo(calc::ClaimField(field));
    // The option, or the flag that gives this value.
    QString option = info.option ? QLatin1String(info.option) + u'=' + value : QString();
    for (const calc::FieldFlag &flag : info.flags)
        if (flag.option && value == QLatin1String(flag.value)) option = QLatin1String(flag.option);
    QVERIFY(!option.isEmpty());
    QVERIFY2(cli::helpText().contains(option.section(u'=', 0, 0) + u' '), qPrintable(option));
    const Defaults defaults = fixedDefaults();
    const ClaimResult r = computeClaim(request(base + QStringList{option}), defaults,
                                       rates::RateLookup(defaults.table));
    QVERIFY2(r.lines.contains(line), qPrintable(r.lines.join(u'\n')));
    // The same by either column, the rest of the claim as the batch's options.
    const auto results = [](const QList<QStringList> &rows) { return rows.value(1).mid(2); };
    const QStringList expected = results(
        batch("n," + QByteArray(info.column) + "\n1,\n", nullptr, base + QStringList{option}));
    QVERIFY2(expected.last().isEmpty(), qPrintable(expected.last()));
    for (const char *column : {info.column, info.russian})
        QCOMPARE(results(batch("n," + QByteArray(column) + "\n1,\"" + value.toUtf8() + "\"\n",
                               nullptr, base)),
                 expected);
    // A saved claim keeps it under its key, and reads back the same.
    if (info.fileKey && r.byPeriods) {
        const QByteArray saved = storage::encodeClaim(r.periodInput);
        QVERIFY(saved.contains('"' + QByteArray(info.fileKey) + "\":"));
        calc::PeriodInput read = storage::decodeClaim(saved);
        read.rates = r.periodInput.rates;
        QCOMPARE(calc::calculatePeriods(read).lines, r.lines);
        QCOMPARE(read.parties, r.periodInput.parties);
    }
    if (const QString *party = calc::partyText(r.periodInput.parties, info.field))
        QCOMPARE(*party, value);
}

// A basis made here, as a row alone (its steps, a window of its law, a cap on
// the total), is counted by name through the command line, a batch and a
// saved claim, with no code of its own anywhere.
void TestFields::aBasisIsARow() {
    calc::Preset rent;
    rent.name = "test-rent";
    rent.layout = calc::PeriodCount::Contractual;
    rent.article = "п. 5.2 договора аренды";
    rent.title = "Пени по договору аренды";
    rent.total = "Сумма пеней";
    rent.steps[0] = {1, calc::Step::Nothing};
    rent.steps[1] = {11, calc::Step::Daily};
    rent.ownRate = "1";
    rent.windows[0] = {"15.03.2024", "20.03.2024"};
    rent.totalCap = "0,1";
    QVERIFY(calc::addBasis(rent));
    QVERIFY(!calc::addBasis(rent)); // its name is taken now
    // Days 11–31 at 1 % of 10000,00, but for six days the window holds:
    // 1500,00, at most a tenth of the debt.
    const QStringList options = {"--basis=test-rent", "--debt=10000", "--from=01.03.2024",
                                 "--to=31.03.2024", "--filed=01.04.2024"};
    const Defaults defaults = fixedDefaults();
    const ClaimResult r =
        computeClaim(request(options), defaults, rates::RateLookup(defaults.table));
    QVERIFY2(r.lines.contains(QStringLiteral("Сумма пеней: 1000,00 руб.")),
             qPrintable(r.lines.join(u'\n')));
    QCOMPARE(r.lines.value(0), QStringLiteral("Расчет пеней по п. 5.2 договора аренды: с "
                                              "01.03.2024 по 31.03.2024 = 31 дн."));
    QVERIFY(r.lines.contains(
        QStringLiteral("с 15.03.2024 по 20.03.2024: мораторий, пени не начисляются")));
    const QList<QStringList> rows = batch("n,основание\n1,test-rent\n", nullptr, options.mid(1));
    QCOMPARE(rows.value(1).value(4), QStringLiteral("1000,00"));
    calc::PeriodInput read = storage::decodeClaim(storage::encodeClaim(r.periodInput));
    read.rates = r.periodInput.rates;
    QCOMPARE(calc::calculatePeriods(read).lines, r.lines);
}

// Rows pasted into the payments: a date first, an amount last, between
// tabs, semicolons or runs of spaces; what cannot be read is named by line.
void TestFields::pastedRows_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("taken"); // date=amount as the grid takes them
    QTest::addColumn<QStringList>("refused");
    QTest::newRow("spreadsheet") << "01.03.2022\t1 000,50\r\n2022-03-02\t7\n"
                                 << QStringList{"01.03.2022=1000,50", "02.03.2022=7,00"}
                                 << QStringList{};
    QTest::newRow("statement") << "\n  05.03.2022;  платеж; 12\u00a0000  \n\n"
                               << QStringList{"05.03.2022=12000,00"} << QStringList{};
    QTest::newRow("refused") << "Дата Сумма\n01.03.2022\n31.02.2022  5\n01.03.2022  -5"
                             << QStringList{}
                             << QStringList{"строка 1: нужны дата и сумма",
                                            "строка 2: нужны дата и сумма",
                                            "строка 3: \"31.02.2022\" — не дата",
                                            "строка 4: Сумма оплаты 01.03.2022 \"-5\" не "
                                            "читается как сумма в рублях больше нуля, не больше "
                                            "10^15 руб."};
}

void TestFields::pastedRows() {
    QFETCH(QString, text);
    QFETCH(QStringList, taken);
    QFETCH(QStringList, refused);
    calc::PastedRows pasted = calc::readPastedRows(text);
    QStringList got;
    for (const calc::Payment &p :
         calc::pastedPayments(pasted, false, QDate(2022, 1, 1), QDate(2022, 12, 31)))
        got << p.date.toString(QStringLiteral("dd.MM.yyyy")) + u'=' + p.amount;
    QCOMPARE(got, taken);
    QCOMPARE(pasted.refusedLines(), refused);
    QVERIFY(pasted.problem.isEmpty());
    // A text past what a claim takes is refused whole.
    QVERIFY(!calc::readPastedRows(QString(calc::kMaxEntries + 1, u'\n')).problem.isEmpty());
    QVERIFY(!calc::readPastedRows(QString(10 * 1024 * 1024 + 1, u'1')).problem.isEmpty());
}

QTEST_GUILESS_MAIN(TestFields)
#include "tst_fields.moc"
