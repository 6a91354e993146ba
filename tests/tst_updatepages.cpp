// SPDX-License-Identifier: GPL-3.0-or-later
// What an update takes from the bank's pages: the rules, the window kept
// answering while a long page is read, and the same update on the command line.
#include "common/dates.h"
#include "patience.h"
#include "rates/knownrates.h"
#include "rates/ratelookup.h"
#include "rates/userrates.h"
#include "update/pagereading.h"
#include "update/rateupdate.h"
#include "updatetest.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>

Q_DECLARE_METATYPE(update::PageReading)

using rates::pageRateProblem;

class TestUpdatePages : public QObject, protected UpdateEnv {
    Q_OBJECT
private slots:
    void init() { start(); }
    void cleanup() { stop(); }
    void pageRates_data();
    void pageRates();
    void tableFromPages_data();
    void tableFromPages();
    void keyRatePageRequired_data();
    void keyRatePageRequired();
    void commandLine_data();
    void commandLine();
    void knownRates();
    void offline();
    void longPageKeepsTheWindowAnswering();
};

void TestUpdatePages::pageRates_data() {
    QTest::addColumn<int>("daysAhead");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<bool>("right");
    QTest::newRow("the most") << 0 << "100" << true;
    QTest::newRow("a kopeck of a percent") << 0 << "0,01" << true;
    QTest::newRow("zero") << 0 << "0" << false;
    QTest::newRow("over a hundred") << 0 << "100,01" << false;
    QTest::newRow("negative") << 0 << "-5,00" << false;
    QTest::newRow("an exponent") << 0 << "1e9" << false;
    QTest::newRow("not a number") << 0 << "abc" << false;
    QTest::newRow("a month ahead") << 31 << "16" << true;
    QTest::newRow("a day more") << 32 << "16" << false;
}

void TestUpdatePages::pageRates() {
    QFETCH(int, daysAhead);
    QFETCH(QString, rate);
    QFETCH(bool, right);
    const QDate today(2026, 12, 7);
    QCOMPARE(pageRateProblem(today.addDays(daysAhead), rate, today).isEmpty(), right);
    // A page that gives it is refused whole, whichever page it is.
    const QByteArray key =
        ::keyRatePage({{today.addDays(daysAhead), rate}, {QDate(2016, 1, 11), "11,00"}});
    QCOMPARE(update::readPage(key, "utf-8", update::PageKind::KeyRate, today).refusal.isEmpty(),
             right || rate == QStringLiteral("abc"));
}

void TestUpdatePages::tableFromPages_data() {
    using update::PageReading;
    QTest::addColumn<PageReading>("classic");
    QTest::addColumn<PageReading>("keyRate");
    QTest::addColumn<QString>("message"); // "" when the table is made
    PageReading classic{true, {"с 14 сентября 2012 г.=8,25"}, {}, {}};
    PageReading none;
    PageReading key{false, {}, {{QDate(2016, 1, 1), "11,00"}, {QDate(2026, 2, 16), "15,50"}}, {}};
    PageReading late{false, {}, {{QDate(2016, 2, 1), "11,00"}}, {}};
    PageReading refused = classic;
    refused.refusal = QStringLiteral("Страница дала ставку");
    QTest::newRow("both pages") << classic << key << QString();
    QTest::newRow("no classic page: the own history") << none << key << QString();
    QTest::newRow("no key rate page")
        << classic << none << "Не удалось получить ключевую ставку с сайта Банка России";
    QTest::newRow("a key rate page from February 2016")
        << classic << late << "Не удалось получить ключевую ставку";
    QTest::newRow("neither page") << none << none << "Ошибка соединения с сервером";
    QTest::newRow("a rate refused")
        << refused << key << "Страница дала ставку. Таблица ставок не изменена.";
}

void TestUpdatePages::tableFromPages() {
    QFETCH(update::PageReading, classic);
    QFETCH(update::PageReading, keyRate);
    QFETCH(QString, message);
    const update::UpdateOutcome out = update::tableFromPages(classic, keyRate);
    QCOMPARE(out.succeeded(), message.isEmpty());
    QVERIFY2(out.message.startsWith(message), qPrintable(out.message));
    if (out.succeeded()) QCOMPARE(out.lines, rates::keyRateTable(keyRate.changes, classic.lines));
}

void TestUpdatePages::keyRatePageRequired_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("keyRatePage");
    QTest::addColumn<QString>("told");
    const QDate today = QDate::currentDate();
    QTest::newRow("an HTTP error")
        << 500 << ::keyRatePage({{QDate(2016, 1, 11), "11,00"}}) << kNoKeyRate;
    QTest::newRow("no answer in time (status 0: none)")
        << 0 << ::keyRatePage({{QDate(2016, 1, 11), "11,00"}}) << kNoKeyRate;
    QTest::newRow("no rows") << 200 << ::keyRatePage({}) << kNoKeyRate;
    QTest::newRow("rates with a point")
        << 200 << ::keyRatePage({{QDate(2016, 1, 11), "11.00"}}) << kNoKeyRate;
    QTest::newRow("an incomplete page: from February 2016")
        << 200 << ::keyRatePage({{QDate(2026, 2, 16), "15,50"}, {QDate(2016, 2, 1), "11,00"}})
        << kNoKeyRate;
    // Rates a page gives are checked: one that cannot be right spoils the page.
    QTest::newRow("a negative rate")
        << 200 << ::keyRatePage({{QDate(2024, 2, 1), "-5,00"}, {QDate(2016, 1, 11), "11,00"}})
        << "Страница Банка России дала ставку \"-5,00\" на 01.02.2024: ставка должна быть больше "
           "0 и не больше 100. Таблица ставок не изменена.";
    QTest::newRow("a rate of a thousand million")
        << 200 << ::keyRatePage({{QDate(2024, 2, 1), "1000000000"}, {QDate(2016, 1, 11), "11,00"}})
        << "ставку \"1000000000\" на 01.02.2024";
    QTest::newRow("a day two months ahead")
        << 200 << ::keyRatePage({{today.addDays(60), "16,00"}, {QDate(2016, 1, 11), "11,00"}})
        << "Страница Банка России дала ставку на " + dateText(today.addDays(60));
}

// Without the key rate since January 2016 the table would stop years ago: an
// update that cannot have it changes nothing, not even the entries the user
// added by hand, and says which page failed.
void TestUpdatePages::keyRatePageRequired() {
    QFETCH(int, status);
    QFETCH(QByteArray, keyRatePage);
    QFETCH(QString, told);
    server_->routes["/rates"] = {
        200, "text/html", bankPage(QStringLiteral("Банк России"), {"с 14 сентября 2012 г.|8,25"})};
    server_->routes["/keyrate"] = {
        status, "text/html; charset=utf-8", keyRatePage, {}, status == 0};
    Window &f = openAt(QStringLiteral("/rates"));
    f.updater->setTimeLimit(500);
    f.editor->startAdding();
    f.entryDate->setDate(QDate(2024, 7, 29));
    f.entryRate->setText(QStringLiteral("18"));
    click(f.saveEntryLink);
    const QStringList lines = f.table().lines();
    const QByteArray before = fileBytes(f.rateFilePath());
    update(f);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QVERIFY2(env_.boxes.shown[0].text.contains(told), qPrintable(env_.boxes.shown[0].text));
    QCOMPARE(env_.boxes.shown[0].icon, MessageBoxes::Icon::Stop);
    QCOMPARE(f.table().lines(), lines);
    QCOMPARE(fileBytes(f.rateFilePath()), before);
}

void TestUpdatePages::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("keyRateServed");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::addColumn<bool>("saveMeanwhile"); // the window saves while the page loads
    // The first run's history has 33 lines; the pages give none of their dates.
    QTest::newRow("updated") << QStringList{"--update-rates"} << true << 0
                             << "записей в таблице ставок — 3, последняя — «с 16 февраля 2026 "
                                "г.=15,50»\n"
                             << "dolgomer: Значения ставок рефинансирования актуализированы\n"
                                "dolgomer: Строк прежней таблицы, которых нет в загруженной "
                                "(записи других дат, заметки): 33. Прежний файл сохранен как"
                             << false;
    QTest::newRow("a save while the pages load")
        << QStringList{"--update-rates"} << true << 1 << QString()
        << "изменен другой программой, пока шло обновление; таблица не заменена" << true;
    QTest::newRow("no key rate page") << QStringList{"--update-rates"} << false << 1 << QString()
                                      << "dolgomer: " + kNoKeyRate + "\n"
                                      << false;
    QTest::newRow("with a report") << QStringList{"--update-rates", "--report"} << true << 2
                                   << QString() << "нужен ровно один из параметров" << false;
}

// dolgomer --update-rates: the window's update, its messages on standard
// error, the table saved where the window keeps it. No display is needed.
void TestUpdatePages::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(bool, keyRateServed);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QFETCH(bool, saveMeanwhile);
    server_->routes["/rates"] = {
        200, "text/html", bankPage(QStringLiteral("Банк России"), {"с 14 сентября 2012 г.|8,25"})};
    server_->routes["/keyrate"] = {
        keyRateServed ? 200 : 404, "text/html; charset=utf-8",
        ::keyRatePage({{QDate(2026, 2, 16), "15,50"}, {QDate(2016, 1, 11), "11,00"}})};
    storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("update_url"),
                          server_->url(QStringLiteral("/rates")));
    storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("keyrate_url"),
                          server_->url(QStringLiteral("/keyrate")));
    const QString entry = QStringLiteral("с 1 января 2030 г.=9");
    const QString rateFile = storage::defaultRateFilePath();
    if (saveMeanwhile)
        server_->onRequest = [&](const QByteArray &path) {
            if (path == "/keyrate")
                storage::writeRateFile(rateFile,
                                       QStringList{entry} + storage::readRateFile(rateFile));
        };
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(DOLGOMER_PROGRAM), args);
    // The event loop runs meanwhile: the pages are served from this process.
    QTRY_VERIFY_WITH_TIMEOUT(p.state() == QProcess::NotRunning, kPatienceMs);
    QCOMPARE(p.exitCode(), exitCode);
    const QString gotOut = QString::fromUtf8(p.readAllStandardOutput());
    const QString gotErr = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(out.isEmpty() ? gotOut.isEmpty() : gotOut.endsWith(out), qPrintable(gotOut));
    QVERIFY2(gotErr.contains(err), qPrintable(gotErr));
    server_->onRequest = nullptr;
    if (saveMeanwhile) QCOMPARE(storage::readRateFile(rateFile).value(0), entry);
    if (exitCode != 0) return;
    QCOMPARE(storage::readRateFile(rateFile + ".bak"), rates::RateTable::builtIn().lines());
    // The file the window would open, with what the window's update writes.
    rates::UserRates user = rates::openUserRates(rates::RateFileAccess::ReadOnly);
    QCOMPARE(user.table.count(), 3);
    QCOMPARE(user.table.line(1), kKeyRateLine);
    QCOMPARE(user.table.line(2), QStringLiteral("с 14 сентября 2012 г.=8,25"));
}

// The key rate's history the program carries: it reads, it ends where its
// note says, and it agrees with the bank-like page of these tests on every
// day both hold; a history out of order or with a bad rate is refused.
void TestUpdatePages::knownRates() {
    const rates::KnownRates &known = rates::knownKeyRates();
    QCOMPARE(known.changes.value(0).date, rates::kKeyRateSince);
    QCOMPARE(known.through, QDate(2026, 7, 27));
    QCOMPARE(known.kept, QDate(2026, 9, 11)); // the decision that kept 14 %
    QVERIFY(rates::knownRatesDone().contains(
        QStringLiteral("по 27.07.2026; решением от 11.09.2026 ставка 14% сохранена")));
    const auto number = [](QString rate) { return rate.replace(u',', u'.').toDouble(); };
    const auto rateOn = [&](QDate day) {
        double rate = 0;
        for (const rates::RateChange &c : known.changes)
            if (c.date <= day) rate = number(c.rate);
        return rate;
    };
    for (const auto &[day, rate] : keyRateHistory())
        if (day <= known.through) QCOMPARE(rateOn(day), number(rate));
    rates::KnownRates read;
    QString problem;
    for (const char *bad : {"01.01.2016;11\n01.01.2016;10", "01.01.2016;0", "02.01.2016;11",
                            "01.01.2016;11\n31.02.2017;9", "01.01.2016;11\n01.01.2016;=",
                            "01.01.2016;11\n02.01.2016;=\n03.01.2016;10", "01.01.2016;="})
        QVERIFY2(!rates::readKnownRates(QString::fromLatin1(bad), read, problem), bad);
    // The refinancing rate of 2010–2015 carried too; a table of 2009 with the
    // key rate since 2016 has a hole a claim of 2012 falls in, not one of 2009 or 2017.
    QCOMPARE(rates::knownRefinancingRates().changes.size(), 8);
    QList<calc::RatePoint> points = rates::ratePoints(rates::RateTable::builtIn());
    for (const rates::RateChange &c : known.changes)
        points.append({c.date, c.rate});
    QCOMPARE(rates::missingKnownChange(points, QDate(2012, 1, 1), QDate(2012, 12, 31)),
             QDate(2011, 12, 26));
    QVERIFY(rates::tableGapNote(points, QDate(2012, 1, 1), QDate(2012, 3, 1))
                .startsWith(QStringLiteral("В таблице ставок нет ставки с 26.12.2011")));
    QVERIFY(rates::missingKnownChange(points, QDate(2009, 1, 1), QDate(2009, 12, 31)).isNull());
    QVERIFY(rates::missingKnownChange(points, QDate(2017, 1, 1), QDate(2017, 12, 31)).isNull());
    rates::RateTable filled;
    filled.setLines(rates::knownRatesTable(rates::RateTable::builtIn()));
    QVERIFY(
        rates::missingKnownChange(rates::ratePoints(filled), QDate(2010, 1, 1), QDate(2025, 10, 31))
            .isNull());
}

// --update-rates --offline: the rates the program carries, by the update's
// rules. The first run's history (all of it before 2016) stays and nothing
// is set aside; a claim of November 2024 then counts at 21 %; a line the
// new table lacks is kept in the .bak file; a file the program cannot read
// is not replaced.
void TestUpdatePages::offline() {
    const auto run = [](const QStringList &args, int exitCode) {
        QProcess p;
        p.start(QStringLiteral(DOLGOMER_PROGRAM), args);
        p.waitForFinished(kPatienceMs);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        if (p.exitCode() != exitCode) qWarning() << err;
        return p.exitCode() == exitCode ? QString::fromUtf8(p.readAllStandardOutput()) + err
                                        : QString();
    };
    const QString rateFile = storage::defaultRateFilePath();
    const QString told = run({"--update-rates", "--offline"}, 0);
    QVERIFY2(told.contains(QStringLiteral("известными программе")), qPrintable(told));
    const rates::UserRates user = rates::openUserRates(rates::RateFileAccess::ReadOnly);
    QCOMPARE(user.table.line(0), QStringLiteral("с 27 июля 2026 г.=14"));
    // No hole before the key rate: the refinancing rate of 2010–2015 after it.
    QCOMPARE(user.table.lines().mid(rates::knownKeyRates().changes.size()),
             rates::historyBefore2016() + rates::RateTable::builtIn().lines());
    QVERIFY(!QFile::exists(rateFile + ".bak"));
    QVERIFY(run({"--report", "--periods", "--debt=100000", "--from=01.11.2024", "--to=30.11.2024",
                 "--filed=01.12.2024"},
                0)
                .contains(QStringLiteral("100000,00 * 30 дн. * 21% / 366 = 1721,31 руб.")));
    // The six-line report in 2010–2015 at the refinancing rate then in force.
    for (const auto &[end, rate] :
         {std::pair{"15.03.2010", "8,5"}, {"15.06.2010", "7,75"}, {"31.12.2014", "8,25"}})
        QVERIFY(
            run({"--report", "--debt=100000", "--from=01.01.2010", QStringLiteral("--to=") + end},
                0)
                .contains(QStringLiteral("Ставка рефинансирования: %1%").arg(rate)));
    const QString mine = QStringLiteral("с 01 января 2020 г.=6,5");
    storage::writeRateFile(rateFile, QStringList{mine} + storage::readRateFile(rateFile));
    run({"--update-rates", "--offline"}, 0);
    QCOMPARE(storage::readRateFile(rateFile + ".bak").value(0), mine);
    QVERIFY(!storage::readRateFile(rateFile).contains(mine));
    QFile broken(rateFile);
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write(QByteArray(100, '\0')) == 100);
    broken.close();
    QVERIFY(!run({"--update-rates", "--offline"}, 1).isNull());
    QCOMPARE(fileBytes(rateFile), QByteArray(100, '\0'));
}

// The longest page the loader takes, a day listed many times over: the
// window goes on answering while the page is read. How long it was kept
// waiting at most is printed, not asserted (machines differ).
void TestUpdatePages::longPageKeepsTheWindowAnswering() {
    QList<KeyRateRow> rows;
    const QList<KeyRateRow> days = keyRateDays(QDate(2026, 12, 4));
    QByteArray page;
    for (int copies = 1;; ++copies) {
        const QByteArray bigger = ::keyRatePage(rows + days);
        if (bigger.size() > 5 * 1024 * 1024) break;
        rows += days;
        page = bigger;
    }
    server_->routes["/keyrate"] = {200, "text/html; charset=utf-8", page};
    server_->routes["/rates"] = {200, "text/html", bankPage(QStringLiteral("Банк"), {})};
    Window &f = openAt(QStringLiteral("/rates"));
    QElapsedTimer clock;
    qint64 longest = 0, last = 0;
    QTimer tick;
    tick.setInterval(5);
    connect(&tick, &QTimer::timeout, [&] {
        longest = std::max(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    clock.start();
    tick.start();
    update(f);
    tick.stop();
    qInfo("a key rate page of %lld rows (%lld bytes): the window waited %lld ms at most",
          qlonglong(rows.size()), qlonglong(page.size()), qlonglong(longest));
    QCOMPARE(env_.boxes.shown.value(0).text, kDone);
    QCOMPARE(f.table().line(0), QStringLiteral("с 16 февраля 2026 г.=15,50"));
}

QTEST_MAIN(TestUpdatePages)
#include "tst_updatepages.moc"
