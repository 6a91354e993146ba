// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyratefixture.h"
#include "rates/periodkey.h"
#include "rates/ratelookup.h"
#include "rates/ratetable.h"
#include "update/htmldoc.h"
#include "update/keyratepage.h"
#include "update/ratepage.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTest>

using namespace rates;
using namespace update;

namespace {

QList<PageCell> cells(std::initializer_list<std::pair<const char *, bool>> list) {
    QList<PageCell> out;
    for (const auto &[text, isDate] : list)
        out.append({QString::fromUtf8(text), isDate});
    return out;
}

} // namespace

Q_DECLARE_METATYPE(QList<update::PageCell>)
Q_DECLARE_METATYPE(QList<KeyRateRow>)

class TestRatePage : public QObject {
    Q_OBJECT
private slots:
    void dateCellKeys_data();
    void dateCellKeys();
    void pairs_data();
    void pairs();
    void document();
    void charsets_data();
    void charsets();
    void pageCells();
    void deepNestingAndJunk();
    void fuzzFindings();
    void keyRateChanges_data();
    void keyRateChanges();
    void longKeyRatePage();
    void keyRateTable_data();
    void keyRateTable();
    void keyRateAddress();
};

void TestRatePage::dateCellKeys_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::newRow("words") << "с 28 декабря 2009 г."
                           << "с 28 декабря 2009 г.";
    QTest::newRow("one-digit day gets two") << "5 июня 2009 г."
                                            << "с 05 июня 2009 г.";
    QTest::newRow("literal &nbsp;") << "28&nbsp;декабря&nbsp;2009 г."
                                    << "с 28 декабря 2009 г.";
    QTest::newRow("no-break spaces")
        << QStringLiteral("28\u00a0декабря\u00a02009\u00a0г.") << "с 28 декабря 2009 г.";
    QTest::newRow("a date text") << "28.12.2009 г."
                                 << "с 28 декабря 2009 г.";
    QTest::newRow("no year mark") << "с 28 декабря 2009"
                                  << "";
    QTest::newRow("capital month") << "с 28 Декабря 2009 г."
                                   << "";
    QTest::newRow("impossible day") << "31 июня 2009 г."
                                    << "";
    QTest::newRow("quoted junk") << "\"1 2\" x \"3 4\" г."
                                 << "";
    QTest::newRow("a year before 1000") << "с 28 декабря 0999 г."
                                        << "";
    QTest::newRow("text after the mark") << "с 1 июля 2010 г. (решение)"
                                         << "с 01 июля 2010 г.";
}

void TestRatePage::dateCellKeys() {
    QFETCH(QString, text);
    QFETCH(QString, key);
    QCOMPARE(dateCellKey(text), key);
}

void TestRatePage::pairs_data() {
    QTest::addColumn<QList<PageCell>>("input");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("date then rate")
        << cells({{"с 28 декабря 2009 г.", true},
                  {"8,75", false},
                  {"с 25 ноября 2009 г.", true},
                  {"9", false}})
        << QStringList{"с 28 декабря 2009 г.=8,75", "с 25 ноября 2009 г.=9"};
    QTest::newRow("rate then date") << cells({{"8,75", false}, {"с 28 декабря 2009 г.", true}})
                                    << QStringList{"с 28 декабря 2009 г.=8,75"};
    QTest::newRow("the last number before the first date pairs")
        << cells({{"2010", false}, {"Меню", false}, {"7", false}, {"с 1 июня 2010 г.", true}})
        << QStringList{"с 01 июня 2010 г.=7"};
    QTest::newRow("two dates in a row: the second wins")
        << cells({{"с 1 июня 2010 г.", true}, {"с 2 июня 2010 г.", true}, {"7,75", false}})
        << QStringList{"с 02 июня 2010 г.=7,75"};
    QTest::newRow("rates kept as written")
        << cells({{"с 1 июня 2010 г.", true}, {" 7,750 ", false}})
        << QStringList{"с 01 июня 2010 г.=7,750"};
    QTest::newRow("a date cell that names no date is passed over")
        << cells({{"с 1 июня 2010 г.", true}, {"июнь", true}, {"7", false}})
        << QStringList{"с 01 июня 2010 г.=7"};
    QTest::newRow("a repeated key keeps its first rate")
        << cells({{"с 1 июня 2010 г.", true},
                  {"7", false},
                  {"с 01 июня 2010 г.", true},
                  {"8", false},
                  {"01.06.2010 г.", true},
                  {"9", false},
                  {"с 2 июня 2010 г.", true},
                  {"6", false}})
        << QStringList{"с 01 июня 2010 г.=7", "с 02 июня 2010 г.=6"};
    QTest::newRow("nothing to pair")
        << cells({{"Ставка", false}, {"с 1 июня 2010 г.", true}}) << QStringList{};
}

void TestRatePage::pairs() {
    QFETCH(QList<PageCell>, input);
    QFETCH(QStringList, lines);
    QCOMPARE(readRatePairs(input), lines);
}

void TestRatePage::document() {
    const QByteArray page = "<html><head><title>Центральный БАНК</title></head><body>"
                            "<table><tr><td vAlign=\"top\" noWrap>с 1&nbsp;июня <b>2010</b> г.</td>"
                            "<td VALIGN=TOP NOWRAP>x</td><td valign=\"TOP\" nowrap>y</td>"
                            "<td valign=top>\n  7,75\n </td></tr></table></body></html>";
    const HtmlDocument doc = HtmlDocument::parse(page, QStringLiteral("utf-8"));
    QVERIFY(doc.isHtml() && doc.hasBody());
    QCOMPARE(doc.title(), QStringLiteral("Центральный БАНК"));
    QVERIFY(isRatePage(doc));
    const auto tds = doc.bodyElementsByTagName(QStringLiteral("TD"));
    QCOMPARE(tds.size(), 4);
    QCOMPARE(tds[0].innerText, QStringLiteral("с 1\u00a0июня 2010 г."));
    QCOMPARE(tds[0].attribute(QStringLiteral("vAlign")), QStringLiteral("top"));
    QVERIFY(tds[0].hasAttribute(QStringLiteral("noWrap")));
    QCOMPARE(tds[1].attribute(QStringLiteral("vAlign")), QStringLiteral("TOP"));
    QCOMPARE(tds[3].innerText, QStringLiteral("7,75"));
    QVERIFY(!tds[3].hasAttribute(QStringLiteral("noWrap")));

    const HtmlDocument failed = HtmlDocument::failed(QStringLiteral("Ошибка загрузки"));
    QVERIFY(!failed.isHtml() && !failed.hasBody());
    QVERIFY(!isRatePage(failed));
    QVERIFY(!isRatePage(HtmlDocument::parse("<title>Bank</title>")));
}

void TestRatePage::charsets_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("header");
    QStringEncoder cp1251("windows-1251");
    const QString title = QStringLiteral("Банк России");
    const QByteArray inCp1251 = cp1251(title);
    const QByteArray inUtf8 = title.toUtf8();
    QTest::newRow("no charset: windows-1251") << ("<title>" + inCp1251 + "</title>") << QString();
    QTest::newRow("header") << ("<title>" + inUtf8 + "</title>") << "UTF-8";
    QTest::newRow("meta charset") << ("<meta charset=\"utf-8\"><title>" + inUtf8 + "</title>")
                                  << QString();
    QTest::newRow("meta http-equiv")
        << ("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">"
            "<title>" +
            inCp1251 + "</title>")
        << QString();
    QTest::newRow("the header wins over the meta tag")
        << ("<meta charset=\"koi8-r\"><title>" + inUtf8 + "</title>") << "utf-8";
    QTest::newRow("unknown charset: windows-1251")
        << ("<title>" + inCp1251 + "</title>") << "x-no-such";
}

void TestRatePage::charsets() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, header);
    QCOMPARE(HtmlDocument::parse(bytes, header).title(), QStringLiteral("Банк России"));
}

void TestRatePage::pageCells() {
    // A cell outside a table is no cell to an HTML5 parser, as to a browser.
    const QByteArray page = "<title>Банк</title><td>1</td><table><tr>"
                            "<td valign=top nowrap>с 1 июня 2010 г.</td>"
                            "<td>7,75</td><td>\xe2\x82\xac \xe4\xb8\xad</td></tr></table>";
    const QList<PageCell> c = ratePageCells(HtmlDocument::parse(page, QStringLiteral("utf-8")));
    QCOMPARE(c.size(), 3);
    QVERIFY(c[0].isDate && !c[1].isDate);
    // Texts pass through code page 1251: what it cannot hold becomes "?".
    QCOMPARE(c[2].text, QStringLiteral("€ ?"));
    QCOMPARE(readRatePairs(c), QStringList{"с 01 июня 2010 г.=7,75"});
}

void TestRatePage::deepNestingAndJunk() {
    // Nesting a page could hold is parsed; nesting no page holds is refused
    // at once instead of keeping the parser busy for minutes.
    auto nested = [](int depth, const QByteArray &tag) {
        QByteArray page = "<title>Банк</title>";
        for (int i = 0; i < depth; ++i)
            page += tag;
        return page + "<table><tr><td valign=top nowrap>с 1 июня 2010 г.</td><td>7</td></tr>";
    };
    const HtmlDocument ok = HtmlDocument::parse(nested(900, "<div>"), QStringLiteral("utf-8"));
    QCOMPARE(readRatePairs(ratePageCells(ok)), QStringList{"с 01 июня 2010 г.=7"});
    for (const QByteArray &tag : {QByteArray("<div>"), QByteArray("<b>"), QByteArray("<table>")}) {
        const HtmlDocument deep = HtmlDocument::parse(nested(300000, tag));
        QVERIFY(!deep.isHtml() && !isRatePage(deep));
    }
    // Cells and paragraphs left open close themselves: many of them are fine.
    const HtmlDocument open =
        HtmlDocument::parse(nested(20000, "<p>x<td>") + QByteArray(), QStringLiteral("utf-8"));
    QVERIFY(open.isHtml());

    QByteArray junk(300000, '\0');
    for (int i = 0; i < junk.size(); ++i)
        junk[i] = char((quint32(i) * 7919u) % 251u);
    const HtmlDocument j = HtmlDocument::parse(junk);
    QVERIFY(j.isHtml());
    (void)readRatePairs(ratePageCells(j));
}

// Pages the fuzzer once broke the reader with: every key read from them must
// be one the rate lookup can read.
void TestRatePage::fuzzFindings() {
    const QDir dir(QStringLiteral(DOLGOMER_SOURCE_DIR "/fuzz/regressions"));
    const QStringList files = dir.entryList({QStringLiteral("ratepage-*")}, QDir::Files);
    QVERIFY(!files.isEmpty());
    for (const QString &name : files) {
        QFile f(dir.filePath(name));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        const QString charset = bytes.isEmpty() ? QString() : QStringLiteral("utf-8");
        const QStringList lines = readRatePairs(ratePageCells(HtmlDocument::parse(bytes, charset)));
        for (const QString &line : lines) {
            QDate d;
            QVERIFY2(keyDate(line.left(line.indexOf(u'=')), d), qPrintable(name + ": " + line));
        }
    }
}

void TestRatePage::keyRateChanges_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<QStringList>("changes"); // "dd.mm.yyyy=rate", oldest first
    const auto day = [](int y, int m, int d) { return QDate(y, m, d); };
    QTest::newRow("runs collapse, January 2016 becomes the 1st")
        << keyRatePage({{day(2016, 6, 15), "10,50"},
                        {day(2016, 6, 14), "10,50"},
                        {day(2016, 6, 10), "11,00"},
                        {day(2016, 1, 12), "11,00"},
                        {day(2016, 1, 11), "11,00"}})
        << QStringList{"01.01.2016=11,00", "14.06.2016=10,50"};
    QTest::newRow("oldest day after January keeps its date")
        << keyRatePage({{day(2017, 3, 27), "9,75"}, {day(2017, 3, 24), "10,00"}})
        << QStringList{"24.03.2017=10,00", "27.03.2017=9,75"};
    QTest::newRow("one row") << keyRatePage({{day(2026, 12, 4), "15,50"}})
                             << QStringList{"04.12.2026=15,50"};
    QTest::newRow("unsorted") << keyRatePage({{day(2020, 7, 28), "4,25"},
                                              {day(2020, 7, 24), "4,50"},
                                              {day(2020, 7, 27), "4,25"},
                                              {day(2020, 7, 23), "4,50"}})
                              << QStringList{"23.07.2020=4,50", "27.07.2020=4,25"};
    QTest::newRow("the rate never changes")
        << keyRatePage({{day(2016, 3, 2), "11,00"}, {day(2016, 3, 1), "11"}})
        << QStringList{"01.03.2016=11"};
    QTest::newRow("a return to an earlier rate is a change")
        << keyRatePage(
               {{day(2022, 3, 1), "9,50"}, {day(2022, 2, 28), "20,00"}, {day(2022, 2, 25), "9,50"}})
        << QStringList{"25.02.2022=9,50", "28.02.2022=20,00", "01.03.2022=9,50"};
    QTest::newRow("a day listed twice counts once")
        << keyRatePage({{day(2018, 9, 17), "7,50"}, {day(2018, 9, 17), "9,00"}})
        << QStringList{"17.09.2018=7,50"};
    QTest::newRow("cells that are not a day and a rate")
        << QByteArray("<title>Банк</title><table>"
                      "<tr><td>1.02.2016</td><td>11</td></tr>"           // one-digit day
                      "<tr><td>01.02.2016 г.</td><td>11</td></tr>"       // text after the date
                      "<tr><td>30.02.2016</td><td>11</td></tr>"          // no such day
                      "<tr><td>02.02.2016</td><td>11.00</td></tr>"       // a decimal point
                      "<tr><td>03.02.2016</td></tr><tr><td>12</td></tr>" // rate in the next row
                      "<tr><td>11</td><td>04.02.2016</td></tr>"          // rate before the date
                      "<tr><td>&nbsp;05.02.2016 </td><td>x</td><td> 10,5</td></tr>"
                      "</table>")
        << QStringList{"05.02.2016=10,5"};
    QTest::newRow("no rows") << keyRatePage({}) << QStringList{};
    QTest::newRow("not a page") << QByteArray("\x00\xff garbage", 10) << QStringList{};
}

void TestRatePage::keyRateChanges() {
    QFETCH(QByteArray, page);
    QFETCH(QStringList, changes);
    QStringList got;
    for (const RateChange &c : readKeyRateChanges(HtmlDocument::parse(page, "utf-8")))
        got << c.date.toString(QStringLiteral("dd.MM.yyyy")) + u'=' + c.rate;
    QCOMPARE(got, changes);
}

void TestRatePage::longKeyRatePage() {
    // Every working day of eleven years, with stray numbers around the table.
    const QList<KeyRateRow> days = keyRateDays(QDate(2026, 12, 4));
    QVERIFY(days.size() > 2500);
    const QList<RateChange> changes =
        readKeyRateChanges(HtmlDocument::parse(keyRatePage(days), "utf-8"));
    const QList<KeyRateRow> history = keyRateHistory();
    QCOMPARE(changes.size(), history.size());
    for (qsizetype i = 0; i < history.size(); ++i) {
        // A change on a weekend shows on the next working day.
        QDate first = history[i].first;
        while (i > 0 && first.dayOfWeek() > 5)
            first = first.addDays(1);
        QCOMPARE(changes[i].date, first);
        QCOMPARE(changes[i].rate, history[i].second);
    }
}

void TestRatePage::keyRateTable_data() {
    QTest::addColumn<QStringList>("classic");
    QTest::addColumn<QStringList>("tail"); // what follows the key rate lines
    const QStringList own = historyBefore2016() + RateTable::builtIn().lines();
    QTest::newRow("no classic page: the program's own history") << QStringList{} << own;
    QTest::newRow("classic lines since 2016 only: the own history")
        << QStringList{"с 1 января 2016 г.=11", "с 14 июня 2016 г.=10,5"} << own;
    QTest::newRow("classic lines before 2016 are the history")
        << QStringList{"с 1 января 2016 г.=11", "с 14 сентября 2012 г.=8,25",
                       "с 28 декабря 2009 г.=8,75"}
        << QStringList{"с 14 сентября 2012 г.=8,25", "с 28 декабря 2009 г.=8,75"};
}

void TestRatePage::keyRateTable() {
    QFETCH(QStringList, classic);
    QFETCH(QStringList, tail);
    const QList<RateChange> changes = {{QDate(2016, 1, 1), "11,00"}, {QDate(2016, 6, 14), "10,50"}};
    const QStringList lines = rates::keyRateTable(changes, classic);
    const QStringList head = {"с 14 июня 2016 г.=10,50", "с 01 января 2016 г.=11,00"};
    QCOMPARE(lines.mid(0, 2), head);
    QCOMPARE(lines.mid(2), tail);
    RateTable table;
    table.setLines(lines); // no repeated key
    for (int i = 0; i < table.count(); ++i) {
        QDate d;
        QVERIFY2(keyDate(table.keyView(i), d), qPrintable(table.line(i)));
    }
    // The lookup finds the key rate for a claim of today, and the newest rate
    // before the key rate for a claim of 2015.
    QCOMPARE(planRateLookup(table, QDate(2026, 12, 7)).selection.rate, QStringLiteral("10,50"));
    QCOMPARE(planRateLookup(table, QDate(2015, 12, 31)).selection.rate, tail[0].section(u'=', 1));
}

void TestRatePage::keyRateAddress() {
    QCOMPARE(keyRatePageAddress(QDate(2026, 12, 7)),
             QStringLiteral("https://www.cbr.ru/hd_base/KeyRate/?UniDbQuery.Posted=True&"
                            "UniDbQuery.From=01.01.2016&UniDbQuery.To=07.12.2026"));
}

QTEST_GUILESS_MAIN(TestRatePage)
#include "tst_ratepage.moc"
