// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/apperror.h"
#include "rates/ratelookup.h"
#include "rates/ratetable.h"

#include <QTest>

using namespace rates;

class TestRateTable : public QObject {
    Q_OBJECT
private slots:
    void builtInHistory();
    void lookup_data();
    void lookup();
    void lookupStopsEarly();
    void lookupBadKey();
    void rateOn_data();
    void rateOn();
    void uniqueKeys_data();
    void uniqueKeys();
    void editing();
    void rowNormalisation_data();
    void rowNormalisation();
};

void TestRateTable::builtInHistory() {
    const RateTable t = RateTable::builtIn();
    QCOMPARE(t.count(), 33);
    QCOMPARE(t.line(0), QStringLiteral("с 28 декабря 2009 г.=8,75"));
    QCOMPARE(t.key(1), QStringLiteral("с 25 ноября 2009 г. "));
    QCOMPARE(t.rate(3), QStringLiteral("10  "));
    QCOMPARE(t.line(32), QStringLiteral("с 10 июня 1999 г.=55"));
    // Every key names a date and every rate reads as a number once trimmed.
    for (int i = 0; i < t.count(); ++i) {
        const RowSelection s = normaliseRow(t.key(i), t.rate(i));
        QVERIFY2(s.outcome == RowSelection::Ok, qPrintable(t.line(i)));
        if (i > 0) {
            QDate newer;
            QVERIFY(normaliseRow(t.key(i - 1), t.rate(i - 1)).date > s.date);
        }
    }
}

void TestRateTable::lookup_data() {
    QTest::addColumn<QDate>("end");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("rate");
    QTest::newRow("first entry's day") << QDate(2009, 12, 28) << 0 << "8,75";
    QTest::newRow("long after") << QDate(2026, 12, 7) << 0 << "8,75";
    QTest::newRow("a day before the first") << QDate(2009, 12, 27) << 1 << "9";
    QTest::newRow("entry's own day") << QDate(2008, 7, 14) << 12 << "11,00";
    QTest::newRow("day before an entry") << QDate(2008, 7, 13) << 13 << "10,75";
    QTest::newRow("blanks trimmed") << QDate(2009, 10, 1) << 3 << "10";
    QTest::newRow("oldest entry's day") << QDate(1999, 6, 10) << 32 << "55";
    QTest::newRow("before every entry") << QDate(1999, 1, 1) << 32 << "55";
}

void TestRateTable::lookup() {
    QFETCH(QDate, end);
    QFETCH(int, row);
    QFETCH(QString, rate);
    const RateTable table = RateTable::builtIn();
    // The window looks up in a table it edits, the batch with the key dates
    // read once: both must choose the same entry.
    const RateLookup many(table);
    for (const RateLookupPlan &p : {planRateLookup(table, end), many.plan(end)}) {
        QCOMPARE(p.lastRow, 32);
        QCOMPARE(p.chosen, row);
        QCOMPARE(p.selection.rate, rate);
        QVERIFY(p.error.isEmpty());
    }
    QCOMPARE(many.rateOn(end), rate);
}

void TestRateTable::lookupStopsEarly() {
    RateTable t;
    RateLookupPlan p = planRateLookup(t, QDate(2010, 1, 1));
    QCOMPARE(p.lastRow, 0);
    QCOMPARE(p.chosen, -1);

    t.setLines({QStringLiteral("с 1 января 2010 г.=7")});
    p = planRateLookup(t, QDate(2010, 1, 1));
    QCOMPARE(p.lastRow, 0);
    QCOMPARE(p.chosen, -1); // a single entry is only selected

    t.setLines({QString(), QStringLiteral("с 1 января 2010 г.=7")});
    p = planRateLookup(t, QDate(2010, 1, 1));
    QCOMPARE(p.lastRow, 1);
    QCOMPARE(p.chosen, -1);
}

void TestRateTable::lookupBadKey() {
    RateTable t;
    t.setLines({QStringLiteral("с 1 января 2010 г.=7"), QStringLiteral("с 31 июня 2009 г.=8"),
                QStringLiteral("с 1 мая 2009 г.=9")});
    const RateLookupPlan p = planRateLookup(t, QDate(2009, 12, 1));
    QCOMPARE(p.lastRow, 2);
    QCOMPARE(p.chosen, -1);
    QVERIFY(p.error.contains(QStringLiteral("с 31 июня 2009 г.")));
    // A bad key below the chosen entry is never reached.
    QCOMPARE(planRateLookup(t, QDate(2010, 2, 1)).chosen, 0);
}

// The rate a claim is charged at, or why there is none.
void TestRateTable::rateOn_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("rate"); // empty: refused with `error`
    QTest::addColumn<QString>("error");
    const QString newest = QStringLiteral("с 1 января 2010 г.=");
    const QString older = QStringLiteral("с 1 мая 2009 г.=9");
    QTest::newRow("point read as comma") << QStringList{newest + " 7.5 ", older} << "7,5"
                                         << "";
    QTest::newRow("negative") << QStringList{newest + "-5,00", older} << ""
                              << "нет ставки, которую можно применить";
    QTest::newRow("zero") << QStringList{newest + "0", older} << ""
                          << "нет ставки, которую можно применить";
    QTest::newRow("exponent") << QStringList{newest + "1e9", older} << ""
                              << "нет ставки, которую можно применить";
    QTest::newRow("longer than the field") << QStringList{newest + "7,2500001", older} << ""
                                           << "нет ставки, которую можно применить";
    QTest::newRow("no rate") << QStringList{newest, older} << ""
                             << "нет ставки, которую можно применить";
    QTest::newRow("key without a date") << QStringList{"с 1 мартобря 2010 г.=7", older} << ""
                                        << "Не удается прочитать дату периода";
    QTest::newRow("one entry: the field's own") << QStringList{older} << "8,75"
                                                << "";
    QTest::newRow("empty table") << QStringList{} << "8,75"
                                 << "";
}

void TestRateTable::rateOn() {
    QFETCH(QStringList, lines);
    QFETCH(QString, rate);
    QFETCH(QString, error);
    RateTable table;
    table.setLines(lines);
    const RateLookup lookup(table);
    try {
        QCOMPARE(lookup.rateOn(QDate(2010, 6, 1)), rate);
        QVERIFY(error.isEmpty());
    } catch (const AppError &e) {
        QVERIFY2(!error.isEmpty() && e.message().contains(error), qPrintable(e.message()));
    }
    // The calculation by periods takes no rate the six-line one refuses.
    const QList<calc::RatePoint> points = ratePoints(table);
    const bool newestCounted = std::any_of(
        points.begin(), points.end(), [](const auto &p) { return p.from == QDate(2010, 1, 1); });
    QCOMPARE(newestCounted, !rate.isEmpty() && rate != QStringLiteral("8,75"));
}

void TestRateTable::uniqueKeys_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("new key") << "с 1 января 2010 г.=8" << true;
    QTest::newRow("same key") << "с 28 декабря 2009 г.=7" << false;
    QTest::newRow("same key, other case") << "С 28 ДЕКАБРЯ 2009 Г.=7" << false;
    QTest::newRow("same day, other spelling") << "с 09 апреля 2002 г.=23" << true;
    QTest::newRow("key with its blank") << "с 25 ноября 2009 г. =1" << false;
    QTest::newRow("key without the blank") << "с 25 ноября 2009 г.=1" << true;
}

void TestRateTable::uniqueKeys() {
    QFETCH(QString, line);
    QFETCH(bool, accepted);
    RateTable t = RateTable::builtIn();
    bool raised = false;
    try {
        t.insertTop(line);
    } catch (const AppError &) {
        raised = true;
    }
    QCOMPARE(!raised, accepted);
    QCOMPARE(t.count(), accepted ? 34 : 33);
    if (accepted) QCOMPARE(t.line(0), line);
    // Replacing another line with it is refused the same way.
    raised = false;
    t = RateTable::builtIn();
    try {
        t.replace(5, line);
    } catch (const AppError &) {
        raised = true;
    }
    QCOMPARE(!raised, accepted);
}

void TestRateTable::editing() {
    RateTable t = RateTable::builtIn();
    t.replace(0, QStringLiteral("с 28 декабря 2009 г.=8,5")); // a line may keep its own key
    QCOMPARE(t.line(0), QStringLiteral("с 28 декабря 2009 г.=8,5"));
    t.setRate(3, QStringLiteral("10"));
    QCOMPARE(t.line(3), QStringLiteral("с 30 сентября 2009 г.=10"));
    t.remove(0);
    QCOMPARE(t.count(), 32);
    QCOMPARE(t.key(0), QStringLiteral("с 25 ноября 2009 г. "));

    RateTable empty;
    empty.setLines({QString()});
    empty.insertTop(QStringLiteral("с 1 января 2010 г.=8")); // an empty first line is replaced
    QCOMPARE(empty.lines(), QStringList{QStringLiteral("с 1 января 2010 г.=8")});
    empty.remove(0);
    QCOMPARE(empty.count(), 0);

    QVERIFY_THROWS_EXCEPTION(AppError, t.setLines({QStringLiteral("a=1"), QStringLiteral("A=2")}));
    QCOMPARE(t.count(), 32);
    t.setLines({QString(), QString(), QStringLiteral("a=1")}); // empty keys do not clash
    QCOMPARE(t.count(), 3);
}

void TestRateTable::rowNormalisation_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("rate");
    const QString key = QStringLiteral("с 30 сентября 2009 г.");
    QTest::newRow("blanks trimmed") << key << "10  " << int(RowSelection::Ok) << "10";
    QTest::newRow("point to comma") << key << " 9.5 " << int(RowSelection::Ok) << "9,5";
    QTest::newRow("tab trimmed") << key << "\t8,25" << int(RowSelection::Ok) << "8,25";
    QTest::newRow("empty") << key << "   " << int(RowSelection::Nothing) << "";
    QTest::newRow("not a number") << key << "abc" << int(RowSelection::BadRate) << "abc";
    QTest::newRow("two points") << key << "1.2.3" << int(RowSelection::BadRate) << "1,2,3";
    QTest::newRow("negative") << key << "-5,00" << int(RowSelection::BadRate) << "-5,00";
    QTest::newRow("zero, once charged") << key << "0" << int(RowSelection::BadRate) << "0";
    QTest::newRow("above 100") << key << "100,01" << int(RowSelection::BadRate) << "100,01";
    QTest::newRow("100") << key << "100" << int(RowSelection::Ok) << "100";
    QTest::newRow("bad key") << "с 31 июня 2009 г."
                             << "7" << int(RowSelection::BadDate) << "7";
    QTest::newRow("short key") << "июня"
                               << "7" << int(RowSelection::BadDate) << "7";
}

void TestRateTable::rowNormalisation() {
    QFETCH(QString, key);
    QFETCH(QString, cell);
    QFETCH(int, outcome);
    QFETCH(QString, rate);
    const RowSelection s = normaliseRow(key, cell);
    QCOMPARE(int(s.outcome), outcome);
    QCOMPARE(s.rate, rate);
    if (s.outcome == RowSelection::Ok) QCOMPARE(s.date, QDate(2009, 9, 30));
}

QTEST_GUILESS_MAIN(TestRateTable)
#include "tst_ratetable.moc"
