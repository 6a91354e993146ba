// SPDX-License-Identifier: GPL-3.0-or-later
// The calculation by periods as files a court and a clerk read: the
// spreadsheet read back by another program, the OpenDocument text, the PDF
// table over many pages.
#include "common/apperror.h"
#include "documents/claimdocument.h"
#include "patience.h"
#include "periodtest.h"
#include "storagetest.h"

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace documents;

Q_DECLARE_METATYPE(calc::PeriodInput)

namespace {

// The claim of the documentation: a payment and an increase, the moratorium.
ClaimDocument example() {
    calc::PeriodInput c;
    c.debt = QStringLiteral("100000,00");
    c.start = day("01.03.2022");
    c.end = day("31.10.2022");
    c.filed = day("07.12.2026");
    c.rates = table();
    c.payments = payments({"10.06.2022=5000"});
    c.increases = payments({"01.08.2022=20000"});
    return makeDocument(c, day("07.12.2026"));
}

// A housing bill paid in part: its penalty at the payment day's rate.
calc::PeriodInput housing() {
    calc::PeriodInput c;
    c.count = calc::PeriodCount::Housing;
    c.charges = {{day("01.09.2022"), QStringLiteral("1000")}};
    c.payments = payments({"01.01.2023=400"});
    c.filed = day("01.03.2023");
    c.rates = table();
    return c;
}

// Runs a program over a file; its standard output.
QByteArray run(const QString &program, const QStringList &args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(kPatienceMs) || p.exitCode() != 0) return QByteArray();
    return p.readAllStandardOutput();
}

// The formulas worked out apart from the program, in exact decimals as a
// spreadsheet shows them: SUM over a column's range, ROUND (half away from
// zero), IF, MIN, MAX, + - * / and <=. Anything else stops the script.
const char *const kEvaluator = R"(
import json, re, sys, datetime, openpyxl
from decimal import Decimal as D, ROUND_HALF_UP
def ROUND(x, n): return x.quantize(D(1).scaleb(-int(n)), rounding=ROUND_HALF_UP)
def SUM(*xs): return sum((v for x in xs for v in (x if isinstance(x, list) else [x])), D(0))
def IF(c, a, b): return a if c else b
MIN, MAX = min, max
TOKEN = re.compile(r'([A-Z]+)(\d+):([A-Z]+)(\d+)|([A-Z]+\d+)|(\d+(?:\.\d+)?)|([A-Z]+\(|<=|[-+*/(),])')
def evaluate(formula, cell):
    body, out, pos = formula[1:], [], 0
    for m in TOKEN.finditer(body):
        if m.start() != pos: raise ValueError(formula)
        pos = m.end()
        if m[1]: out.append('[%s]' % ','.join('cell("%s%d")' % (m[1], i) for i in range(int(m[2]), int(m[4]) + 1)))
        elif m[5]: out.append('cell("%s")' % m[5])
        elif m[6]: out.append('D("%s")' % m[6])
        else: out.append(m[7])
    if pos != len(body): raise ValueError(formula)
    return eval(''.join(out), {'cell': cell, 'D': D, 'ROUND': ROUND, 'SUM': SUM, 'IF': IF, 'MIN': MIN, 'MAX': MAX})
)";

} // namespace

class TestDocuments : public QObject {
    Q_OBJECT
private slots:
    void tableRows_data();
    void tableRows();
    void spreadsheetReadBack();
    void feeFormulaOverTheScales();
    void openDocumentText();
    void pdfTableOverManyPages();
    void formatsAndFailures();

private:
    QTemporaryDir dir_;
};

// Numbers are numbers with two decimals, dates are dates, and the totals are
// formulas whose results are the program's kopecks.
void TestDocuments::spreadsheetReadBack() {
    for (const ClaimDocument &doc : {example(), makeDocument(housing(), day("07.12.2026"))}) {
        const QString path = dir_.filePath(QStringLiteral("claim.xlsx"));
        saveDocument(path, doc);
        const QString script =
            QString::fromUtf8(kEvaluator) +
            QStringLiteral("f = openpyxl.load_workbook(sys.argv[1]).active\n"
                           "v = openpyxl.load_workbook(sys.argv[1], data_only=True).active\n"
                           "def cell(ref):\n"
                           "    x = f[ref].value\n"
                           "    if isinstance(x, str): return evaluate(x, cell)\n"
                           "    return D(repr(x)) if x is not None else D(0)\n"
                           "out = []\n"
                           "for row in f.iter_rows():\n"
                           "    for c in row:\n"
                           "        if c.value is None: continue\n"
                           "        x = v[c.coordinate].value\n"
                           "        out.append([c.coordinate, str(c.value), "
                           "x.strftime('%d.%m.%Y') if isinstance(x, datetime.datetime) else x, "
                           "c.number_format, str(cell(c.coordinate)) if "
                           "str(c.value).startswith('=') else None])\n"
                           "print(json.dumps(out))\n");
        const QByteArray json = run(QStringLiteral("/usr/bin/python3"), {"-c", script, path});
        QVERIFY2(!json.isEmpty(), "openpyxl could not read the file");
        QHash<QString, QJsonArray> cells;
        for (const QJsonValue &c : QJsonDocument::fromJson(json).array())
            cells.insert(c.toArray()[0].toString(), c.toArray());
        QCOMPARE(cells["A5"][1].toString(), QStringLiteral("Задолженность, руб."));
        const bool housing = doc.claim.count == calc::PeriodCount::Housing;
        if (!housing) {
            QCOMPARE(cells["A6"][2].toDouble(), 100000.0);
            QCOMPARE(cells["A6"][3].toString(), QStringLiteral("#,##0.00"));
            QCOMPARE(cells["E6"][2].toDouble(), 0.2); // the rate, a number shown as a percent
            QVERIFY(cells["E6"][3].toString().endsWith(u'%'));
            QCOMPARE(cells["B6"][2].toString(), QStringLiteral("01.03.2022"));
            QCOMPARE(cells["B6"][3].toString(), QStringLiteral("dd.mm.yyyy"));
        }
        // Each piece's amount is a formula over its row, worked out apart to the
        // program's kopecks; payments and increases have none.
        int pieces = 0;
        for (qsizetype i = 0; i < doc.result.rows.size(); ++i) {
            const calc::PeriodRow &row = doc.result.rows[i];
            if (row.kind != calc::PeriodRow::Piece) continue;
            const QJsonArray c = cells[QStringLiteral("G%1").arg(6 + i)];
            // The key rate's share is written into the formula, the year's days
            // are a cell.
            QCOMPARE(c[1].toString(),
                     (housing
                          ? QStringLiteral("=ROUND(A%1*D%1*E%1/%2,2)").arg(6 + i).arg(row.divisor)
                          : QStringLiteral("=ROUND(A%1*D%1*E%1/F%1,2)").arg(6 + i)));
            QCOMPARE(c[4].toString().replace(u'.', u','), calc::kopecksText(row.amount));
            QCOMPARE(calc::kopecksText(qRound64(c[2].toDouble() * 100)),
                     calc::kopecksText(row.amount));
            ++pieces;
        }
        QVERIFY(pieces >= 2);
        // The totals: a formula each, whose result worked out apart is the
        // report's, and so is the value stored for programs that do not count.
        const qsizetype below = 6 + doc.result.rows.size();
        const QList<std::pair<qsizetype, qint64>> totals = {
            {below + 1, doc.result.interest},
            {below + 3, doc.result.remaining + doc.result.interest},
            {below + 4, doc.result.fee}};
        for (const auto &[row, kopecks] : totals) {
            const QJsonArray c = cells[QStringLiteral("G%1").arg(row)];
            QVERIFY2(c[1].toString().startsWith(QStringLiteral("=ROUND(")),
                     qPrintable(c[1].toString()));
            QCOMPARE(calc::kopecksText(qRound64(c[4].toString().toDouble() * 100)),
                     calc::kopecksText(kopecks));
            QCOMPARE(calc::kopecksText(qRound64(c[2].toDouble() * 100)),
                     calc::kopecksText(kopecks));
        }
    }
}

// The fee's formula over every tier of both courts' scales: each bound, a
// kopeck either side, half kopecks, the minimum and the cap; the scale of
// 2024 in whole roubles, 50 kopecks up.
void TestDocuments::feeFormulaOverTheScales() {
    QJsonArray cases;
    QList<qint64> expected;
    for (calc::FeeScale scale : {calc::FeeScale::Until2024, calc::FeeScale::Since2024})
        for (calc::Court court : {calc::Court::Arbitration, calc::Court::GeneralJurisdiction}) {
            QList<qint64> totals = {0, 1, 50, 150, 99999999999999999};
            for (const calc::FeeTier &k : calc::feeSchedule(court, scale).tiers)
                for (qint64 d : {-1, 0, 1, 50, 150})
                    totals << k.lower * 100 + d;
            totals << calc::feeSchedule(court, scale).maximum * 1000; // far above the cap
            QJsonArray values;
            for (qint64 t : totals) {
                values.append(QString::number(t));
                expected << calc::paidFee(calc::courtFeeKopecks(t, court, scale), scale);
            }
            cases.append(QJsonArray{feeFormula(QStringLiteral("A1"), court, scale), values});
        }
    const QString script = QString::fromUtf8(kEvaluator) +
                           QStringLiteral("out = []\n"
                                          "for formula, totals in json.loads(sys.argv[1]):\n"
                                          "    for t in totals:\n"
                                          "        out.append(str(evaluate(formula, lambda ref: "
                                          "D(t) / 100) * 100))\n"
                                          "print(json.dumps(out))\n");
    const QByteArray json = run(QStringLiteral("/usr/bin/python3"),
                                {"-c", script, QString::fromUtf8(QJsonDocument(cases).toJson())});
    const QJsonArray fees = QJsonDocument::fromJson(json).array();
    QCOMPARE(fees.size(), expected.size());
    for (qsizetype i = 0; i < fees.size(); ++i)
        QCOMPARE(fees[i].toString().section(u'.', 0, 0).toLongLong(), expected[i]);
}

// The table's rows, cell by cell, for each count: the sixth column the
// year's days or the fraction, none for a percent a day; amounts with digit
// groups (a no-break space, written "_" here); a moratorium that holds only
// the older debt beside a later invoice's piece; an overpayment.
void TestDocuments::tableRows_data() {
    QTest::addColumn<calc::PeriodInput>("claim");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QStringList>("rows"); // cells joined by |
    calc::PeriodInput c;
    c.debt = QStringLiteral("100000,00");
    c.start = day("25.03.2022");
    c.end = day("05.04.2022");
    c.rates = table();
    c.increases = payments({"01.04.2022=20000", "02.04.2022=10000"});
    const QStringList first = {"Задолженность, руб.", "с", "по", "Дней"};
    QTest::newRow("statutory, invoices into the moratorium")
        << c << first + QStringList{"Ставка", "Дней в году", "Сумма, руб."}
        << QStringList{"100_000,00|25.03.2022|31.03.2022|7|20%|365|383,56",
                       "120_000,00|увеличение долга 01.04.2022: 20_000,00 руб.|||||",
                       "120_000,00|01.04.2022|01.04.2022|1|мораторий, проценты не начисляются||",
                       "130_000,00|увеличение долга 02.04.2022: 10_000,00 руб.|||||",
                       "120_000,00|02.04.2022|05.04.2022|4|мораторий, проценты не начисляются||",
                       "10_000,00|02.04.2022|05.04.2022|4|20%|365|21,92"};
    c.start = day("20.03.2022");
    c.increases.clear();
    c.payments = payments({"25.03.2022=40000"});
    c.count = calc::PeriodCount::KeyFraction;
    QTest::newRow("1/300, a payment, the moratorium")
        << c << first + QStringList{"Ставка", "Доля", "Сумма, руб."}
        << QStringList{"100_000,00|20.03.2022|25.03.2022|6|20%|1/300|400,00",
                       "60_000,00|оплата 25.03.2022: 40_000,00 руб.|||||",
                       "60_000,00|26.03.2022|31.03.2022|6|20%|1/300|240,00",
                       "60_000,00|01.04.2022|05.04.2022|5|мораторий, пени не начисляются||"};
    c.debt = QStringLiteral("1000,00");
    c.start = day("01.03.2021");
    c.end = day("10.03.2021");
    c.payments = payments({"05.03.2021=1500"});
    c.count = calc::PeriodCount::Contractual;
    c.dailyPercent = QStringLiteral("0,1");
    QTest::newRow("a contractual penalty, an overpayment")
        << c << first + QStringList{"Ставка, % в день", "Сумма, руб."}
        << QStringList{"1_000,00|01.03.2021|05.03.2021|5|0,1%|5,00",
                       "0,00|оплата 05.03.2021: 1_500,00 руб., переплата 500,00 руб.||||"};
    QTest::newRow("housing: a bill, a payment, 1/300 then 1/130")
        << housing() << first + QStringList{"Ставка", "Доля", "Сумма, руб."}
        << QStringList{"1_000,00|Начислено за 09.2022: 1_000,00 руб., срок оплаты 10.10.2022|||||",
                       "600,00|оплата 01.01.2023: 400,00 руб.|||||",
                       "400,00|10.11.2022|01.01.2023|53|7,5%|1/300|5,30",
                       "600,00|10.11.2022|08.01.2023|60|7,5%|1/300|9,00",
                       "600,00|09.01.2023|01.03.2023|52|7,5%|1/130|18,00",
                       "600,00|Пени за 09.2022: 32,30 руб.|||||"};
}

void TestDocuments::tableRows() {
    QFETCH(calc::PeriodInput, claim);
    QFETCH(QStringList, titles);
    QFETCH(QStringList, rows);
    const ClaimDocument doc = makeDocument(claim, day("07.12.2026"));
    const TableLayout layout = tableLayout(claim);
    QCOMPARE(layout.titles, titles);
    QStringList got;
    for (const calc::PeriodRow &row : doc.result.rows)
        got << rowCells(row, layout).join(u'|').replace(QChar(0x00a0), u'_');
    QCOMPARE(got, rows);
}

void TestDocuments::openDocumentText() {
    const QString path = dir_.filePath(QStringLiteral("claim.odt"));
    const ClaimDocument doc = example();
    saveDocument(path, doc);
    const QString content =
        QString::fromUtf8(run(QStringLiteral("unzip"), {"-p", path, "content.xml"}));
    for (const char *text :
         {"Задолженность, руб.", "увеличение долга 01.08.2022: 20\u00a0000,00 руб.",
          "оплата 10.06.2022: 5\u00a0000,00 руб.", "Расчет составлен 07.12.2026",
          "____________ / ____________ /"})
        QVERIFY2(content.contains(QString::fromUtf8(text)), text);
    for (const QString &line : totalLines(doc))
        QVERIFY2(content.contains(line), qPrintable(line));
    // An editor lays the table across the page in the table's font: its
    // width in points (never a percent written as "100pt") and the text's size.
    static const QRegularExpression width(QStringLiteral("style:width=\"([\\d.]+)pt\""));
    QVERIFY2(width.match(content).captured(1).toDouble() > 400, qPrintable(content.left(2000)));
    QVERIFY(content.contains(QStringLiteral("fo:font-size=\"9.5pt\"")));
}

// Every page of a long table starts with the header row; the totals and the
// signature end the last. A table that may lack rates is the user's to
// mend: the paper for the court holds the calculation, not that advice.
void TestDocuments::pdfTableOverManyPages() {
    calc::PeriodInput c;
    c.debt = QStringLiteral("100000,00");
    c.start = day("01.01.2020");
    c.end = day("31.12.2024");
    c.filed = c.end;
    c.rates = table().mid(0, 7); // the newest entry more than a year before the end
    for (int i = 0; i < 100; ++i)
        c.payments.append({c.start.addDays(5 + i * 17), QStringLiteral("10,00")});
    const ClaimDocument doc = makeDocument(c, c.filed);
    QVERIFY(doc.result.rows.size() >= 200);
    const QString path = dir_.filePath(QStringLiteral("claim.pdf"));
    saveDocument(path, doc);
    const QStringList pages =
        QString::fromUtf8(run(QStringLiteral("pdftotext"), {"-layout", path, "-"}))
            .split(u'\f', Qt::SkipEmptyParts);
    QVERIFY(pages.size() >= 3);
    for (qsizetype i = 0; i < pages.size(); ++i) {
        // a page of rows (the totals may have one of their own)
        if (pages[i].contains(QStringLiteral("оплата")) || pages[i].contains(u'%'))
            QVERIFY(pages[i].contains(QStringLiteral("Задолженность")));
        QVERIFY2(
            pages[i].contains(QStringLiteral("Страница %1 из %2").arg(i + 1).arg(pages.size())),
            qPrintable(pages[i].right(200)));
    }
    // Amounts right-aligned with digit groups; the totals keep the report's form.
    QVERIFY(pages[0].contains(QStringLiteral("100 000,00")) ||
            pages[0].contains(QStringLiteral("100\u00a0000,00")));
    QVERIFY(pages.last().contains(QStringLiteral("Расчет составлен 31.12.2024")));
    // The totals with digit groups, as the table's amounts (pdftotext reads the
    // no-break space as a blank).
    const QString fee = totalLines(doc).last();
    QVERIFY2(pages.last().contains(QString(fee).replace(QChar(0x00a0), u' ')) ||
                 pages.last().contains(fee),
             qPrintable(fee));
    QVERIFY(fee.contains(QStringLiteral("\u00a0")));
    QVERIFY(!pages.join(u'\n').contains(QStringLiteral("обновите таблицу")));
}

void TestDocuments::formatsAndFailures() {
    Format f;
    QVERIFY(formatOf(QStringLiteral("a.PDF"), f) && f == Format::Pdf);
    QVERIFY(formatOf(QStringLiteral("a.xlsx"), f) && f == Format::Xlsx);
    QVERIFY(!formatOf(QStringLiteral("a.doc"), f));
    const ClaimDocument doc = example();
    QCOMPARE(render(doc, Format::Txt), (doc.result.lines.join(u'\n') + u'\n').toUtf8());
    // A file that cannot be written is said so, never reported done.
    QVERIFY_THROWS_EXCEPTION(AppError,
                             saveDocument(dir_.filePath(QStringLiteral("gone/a.pdf")), doc));
    QVERIFY_THROWS_EXCEPTION(AppError, saveDocument(dir_.filePath(QStringLiteral("a.doc")), doc));
    // A table longer than a sheet is refused whole, nothing written.
    ClaimDocument huge = doc;
    huge.result.rows.resize(1 << 20, doc.result.rows.front());
    const QString sheet = dir_.filePath(QStringLiteral("huge.xlsx"));
    try {
        saveDocument(sheet, huge);
        QFAIL("a sheet was cut short");
    } catch (const AppError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("не больше 1048576 строк")),
                 qPrintable(e.message()));
    }
    QVERIFY(!QFileInfo::exists(sheet));
}

QTEST_MAIN(TestDocuments)
#include "tst_documents.moc"
