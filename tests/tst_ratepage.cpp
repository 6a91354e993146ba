#include "rates/htmldoc.h"
#include "rates/periodkey.h"
#include "rates/ratepage.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTest>

using namespace rates;

namespace {

QList<PageCell> cells(std::initializer_list<std::pair<const char *, bool>> list) {
    QList<PageCell> out;
    for (const auto &[text, isDate] : list)
        out.append({QString::fromUtf8(text), isDate});
    return out;
}

} // namespace

Q_DECLARE_METATYPE(QList<rates::PageCell>)

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

QTEST_GUILESS_MAIN(TestRatePage)
#include "tst_ratepage.moc"
