// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/apperror.h"
#include "common/dates.h"
#include "common/module.h"
#include "rates/periodkey.h"
#include "storage/ratefile.h"
#include "storagetest.h"
#include "ui/rates/rategrid.h"
#include "updatetest.h"

#include <QFileInfo>
#include <QFrame>
#include <QProgressBar>
#include <QTemporaryDir>
#include <optional>

Q_DECLARE_METATYPE(HttpResponder::Response)

class TestUpdate : public QObject, protected UpdateEnv {
    Q_OBJECT
private slots:
    void init() { start(); }
    void cleanup() { stop(); }
    void classicPages_data();
    void classicPages();
    void pagesThatAreNotTheBanks_data();
    void pagesThatAreNotTheBanks();
    void saveFailureLeavesTableAndFile_data();
    void saveFailureLeavesTableAndFile();
    void chosenRateStaysAfterAnUpdate();
    void refusedFileReplacedOnlyIfAgreed_data();
    void refusedFileReplacedOnlyIfAgreed();
    void keyRatePage_data();
    void keyRatePage();
    void moduleOfAnotherVersion();
};

void TestUpdate::classicPages_data() {
    QTest::addColumn<QByteArray>("page");
    QTest::addColumn<bool>("redirected");
    QTest::addColumn<QStringList>("history"); // what follows the key rate's line
    QTest::addColumn<int>("dropped");         // lines of the history file the pages lack
    QTest::newRow("pairs, a rate that is no number left out")
        << bankPage(QStringLiteral("Центральный банк России"),
                    {"с 1 июня 2010 г.|7,75", "с 29 марта 2010 г.|8,25",
                     "с 28 декабря 2009 г.|8.75x", "с 25 ноября 2009 г.|9"})
        << false
        << QStringList{"с 01 июня 2010 г.=7,75", "с 29 марта 2010 г.=8,25", "с 25 ноября 2009 г.=9"}
        << 32;
    QTest::newRow("a redirect to a page in UTF-8")
        << QStringLiteral("<meta charset=\"utf-8\"><title>Банк России</title><table>"
                          "<tr><td>8,5</td><td valign=top nowrap>"
                          "с&nbsp;1&nbsp;июня&nbsp;2010 г.</td></tr></table>")
               .toUtf8()
        << true << QStringList{"с 01 июня 2010 г.=8,5"} << 33;
    QTest::newRow("repeated keys and date texts")
        << bankPage(QStringLiteral("Банк"),
                    {"с 1 июня 2010 г.|7,75", "01.06.2010 г.|7", "28.12.2009 г.|8,75"})
        << false << QStringList{"с 01 июня 2010 г.=7,75", "с 28 декабря 2009 г.=8,75"} << 32;
    // Date cells in another shape give no pair: the history is the program's own.
    const QStringList own = rates::historyBefore2016() + rates::RateTable::builtIn().lines();
    QTest::newRow("vAlign in capitals") << bankPage(QStringLiteral("БАНК"), {"с 1 июня 2010 г.|7"},
                                                    QStringLiteral("VALIGN=\"TOP\" nowrap"))
                                        << false << own << 0;
    QTest::newRow("no noWrap") << bankPage(QStringLiteral("БАНК"), {"с 1 июня 2010 г.|7"},
                                           QStringLiteral("valign=\"top\""))
                               << false << own << 0;
    QTest::newRow("no \"г.\"") << bankPage(QStringLiteral("БАНК"), {"с 1 июня 2010|7"}) << false
                               << own << 0;
}

// The classic page gives the history before 2016, under the key rate's lines.
void TestUpdate::classicPages() {
    QFETCH(QByteArray, page);
    QFETCH(bool, redirected);
    QFETCH(QStringList, history);
    QFETCH(int, dropped);
    server_->routes["/new"] = {200, "text/html", page};
    server_->routes["/rates"] =
        redirected
            ? HttpResponder::Response{301, "text/html", "moved", server_->url("/new").toLatin1()}
            : server_->routes["/new"];
    Window &f = openAt(QStringLiteral("/rates"));
    const QByteArray before = fileBytes(f.rateFilePath());
    f.editor->startAdding(); // the editor closes when the update starts
    update(f);
    QVERIFY(f.rateEditor->isHidden());
    const QStringList expected = QStringList{kKeyRateLine} + history;
    QCOMPARE(f.table().lines(), expected);
    QCOMPARE(fileBytes(f.rateFilePath()), storage::encodeRateFile(expected));
    QVERIFY(saidDone(env_.boxes, f.rateFilePath(), before, dropped));
    QCOMPARE(env_.boxes.shown.last().caption, QStringLiteral("Сообщение"));
    QCOMPARE(env_.boxes.shown.last().icon, MessageBoxes::Icon::Information);
    // The keys it wrote are ones the lookup reads.
    f.panel->followPeriodEnd(QDate(2015, 12, 31));
    QCOMPARE(f.rateField->text(), history[0].section(u'=', 1));
}

void TestUpdate::pagesThatAreNotTheBanks_data() {
    QTest::addColumn<HttpResponder::Response>("response");
    const auto page = [](int status, const QByteArray &body) {
        return HttpResponder::Response{status, "text/html; charset=utf-8", body};
    };
    QTest::newRow("404") << page(404, bankPage(QStringLiteral("Банк"), {"с 1 июня 2010 г.|7"}));
    QTest::newRow("no bank in the title")
        << page(200, bankPage(QStringLiteral("Новости"), {"с 1 июня 2010 г.|7"}));
    QTest::newRow("over the size limit") << page(
        200, bankPage(QStringLiteral("Банк"), {"с 1 июня 2010 г.|7"}) + QByteArray(6 << 20, ' '));
    QTest::newRow("binary") << page(200, QByteArray("\x00\x01\xff\xfe<tit", 9));
    QTest::newRow("far too deep") << page(
        200,
        QByteArray("<title>Банк</title>") + QByteArray(100000 * 5, 'x').replace("xxxxx", "<div>"));
    QTest::newRow("no answer in time") << HttpResponder::Response{200, "text/html", {}, {}, true};
}

// Neither page is the bank's: the connection is what failed.
void TestUpdate::pagesThatAreNotTheBanks() {
    QFETCH(HttpResponder::Response, response);
    server_->routes["/p"] = response;
    server_->routes["/keyrate"] = response;
    Window &f = openAt(QStringLiteral("/p"));
    f.updater->setTimeLimit(300);
    const QByteArray before = fileBytes(f.rateFilePath());
    update(f);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text, kFailed);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка соединения"));
    QCOMPARE(env_.boxes.shown[0].icon, MessageBoxes::Icon::Stop);
    QCOMPARE(f.table().lines(), rates::RateTable::builtIn().lines());
    QCOMPARE(fileBytes(f.rateFilePath()), before);
}

void TestUpdate::saveFailureLeavesTableAndFile_data() {
    QTest::addColumn<bool>("fullDisk"); // else the file's folder is gone
    QTest::newRow("folder gone") << false;
    QTest::newRow("full disk") << true;
}

void TestUpdate::saveFailureLeavesTableAndFile() {
    QFETCH(bool, fullDisk);
    QStringList pairs; // a table larger than the settings store
    for (int i = 0; i < 60; ++i)
        pairs << rates::convertPeriodKey(dateText(QDate(2010, 6, 1).addDays(-i))) + "|7,75";
    server_->routes["/rates"] = {200, "text/html", bankPage(QStringLiteral("Банк"), pairs)};
    Window &f = openAt(QStringLiteral("/rates"));
    const QString good = f.rateFilePath();
    const QByteArray before = fileBytes(good);
    if (!fullDisk) f.panel->setRateFilePath(env_.path(QStringLiteral("missing/stavki.txt")));
    {
        // Smaller than the new table, larger than the settings store.
        std::optional<FileSizeLimit> limit;
        if (fullDisk) limit.emplace(QFileInfo(storage::settingsFilePath()).size() + 200);
        update(f);
    }
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].caption, ui::appTitle());
    QCOMPARE(f.table().lines(), rates::RateTable::builtIn().lines());
    QCOMPARE(fileBytes(good), before);
}

void TestUpdate::refusedFileReplacedOnlyIfAgreed_data() {
    QTest::addColumn<bool>("agreed");
    QTest::newRow("no") << false;
    QTest::newRow("yes") << true;
}

// A rate file refused at start is the way out of the built-in table: an
// update offers to replace it and keeps it beside the new one.
void TestUpdate::refusedFileReplacedOnlyIfAgreed() {
    QFETCH(bool, agreed);
    server_->routes["/rates"] = {
        200, "text/html",
        bankPage(QStringLiteral("Банк"), {"с 1 июня 2010 г.|7,75", "с 29 марта 2010 г.|8,25"})};
    plantRateFile(env_.rateFile(), "70 MB");
    storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("patch"), env_.rateFile());
    Window &f = openAt(QStringLiteral("/rates"));
    QCOMPARE(env_.boxes.shown.size(), 1); // the refusal, at start
    env_.boxes.shown.clear();
    env_.boxes.answers = {agreed};
    update(f);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Подтверждение замены"));
    QCOMPARE(env_.boxes.shown[0].buttons, MessageBoxes::Buttons::YesNo);
    const QString backup = env_.rateFile() + QStringLiteral(".bak");
    QVERIFY2(env_.boxes.shown[0].text.contains(backup), qPrintable(env_.boxes.shown[0].text));
    if (!agreed) {
        QCOMPARE(env_.boxes.shown.size(), 1);
        QCOMPARE(f.table().count(), 33);
        QCOMPARE(QFileInfo(env_.rateFile()).size(), 70 * 1024 * 1024);
        QVERIFY(!QFile::exists(backup));
        return;
    }
    QCOMPARE(env_.boxes.shown.size(), 2);
    QCOMPARE(env_.boxes.shown[1].text, kDone);
    QCOMPARE(QFileInfo(backup).size(), 70 * 1024 * 1024);
    QCOMPARE(fileBytes(env_.rateFile()), storage::encodeRateFile(f.table().lines()));
    // From now on the new file is the table's: an edit is saved.
    f.editor->startAdding();
    f.entryDate->setDate(QDate(2011, 3, 1));
    QTest::mouseClick(f.saveEntryLink, Qt::LeftButton);
    QCOMPARE(env_.boxes.shown.size(), 2);
    QCOMPARE(fileBytes(env_.rateFile()), storage::encodeRateFile(f.table().lines()));
    QCOMPARE(f.table().count(), 4);
}

// The update replaces the table, not the rate the user chose: that stays in
// the field until the user chooses again.
void TestUpdate::chosenRateStaysAfterAnUpdate() {
    server_->routes["/rates"] = {
        200, "text/html",
        bankPage(QStringLiteral("Банк России"),
                 {"с 1 июня 2010 г.|7,75", "с 29 марта 2010 г.|8,25", "с 25 ноября 2009 г.|9"})};
    Window &f = openAt(QStringLiteral("/rates"));
    f.panel->selectRow(20);
    const QString chosen = f.rateField->text();
    QCOMPARE(chosen, QStringLiteral("11,5"));
    update(f);
    QCOMPARE(f.table().count(), 4);
    QCOMPARE(f.rateField->text(), chosen);
    QCOMPARE(f.rateGrid->selectedRow(), 4);
    // Choosing again takes the new table's rate.
    QTest::keyClick(f.rateGrid, Qt::Key_Up);
    QCOMPARE(f.rateField->text(), QStringLiteral("8,25"));
}

void TestUpdate::keyRatePage_data() {
    QTest::addColumn<QByteArray>("classic");
    QTest::addColumn<QStringList>("history"); // what follows the key rate lines
    QTest::addColumn<int>("dropped");
    QTest::newRow("classic page with pairs before 2016")
        << bankPage(
               QStringLiteral("Банк России"),
               {"с 1 января 2016 г.|11", "с 14 сентября 2012 г.|8,25", "с 28 декабря 2009 г.|8,75"})
        << QStringList{"с 14 сентября 2012 г.=8,25", "с 28 декабря 2009 г.=8,75"} << 32;
    QTest::newRow("classic page missing")
        << QByteArray() << rates::historyBefore2016() + rates::RateTable::builtIn().lines() << 0;
}

void TestUpdate::keyRatePage() {
    QFETCH(QByteArray, classic);
    QFETCH(QStringList, history);
    QFETCH(int, dropped);
    if (!classic.isEmpty()) server_->routes["/rates"] = {200, "text/html", classic};
    server_->routes["/keyrate"] = {200, "text/html; charset=utf-8",
                                   ::keyRatePage({{QDate(2026, 12, 4), "15,50"},
                                                  {QDate(2026, 2, 16), "15,50"},
                                                  {QDate(2026, 2, 13), "16,00"},
                                                  {QDate(2016, 1, 11), "11,00"}})};
    Window &f = openAt(QStringLiteral("/rates"));
    const QByteArray before = fileBytes(f.rateFilePath());
    update(f);
    const QStringList expected =
        QStringList{"с 16 февраля 2026 г.=15,50", "с 13 февраля 2026 г.=16,00",
                    "с 01 января 2016 г.=11,00"} +
        history;
    QCOMPARE(f.table().lines(), expected);
    QCOMPARE(fileBytes(f.rateFilePath()), storage::encodeRateFile(expected));
    QVERIFY(saidDone(env_.boxes, f.rateFilePath(), before, dropped));
    // A claim of today gets the key rate.
    f.periodEnd->setDate(QDate(2026, 12, 5));
    QCOMPARE(f.rateField->text(), QStringLiteral("15,50"));
}

// A module left from another version of the program is never loaded: its
// objects could have another layout, and even its constructors must not run.
// The user is told to reinstall. A module that makes nothing is refused too.
void TestUpdate::moduleOfAnotherVersion() {
    QTemporaryDir dir;
    const QString mark = dir.filePath(QStringLiteral("loaded"));
    qputenv("DOLGOMER_TEST_MODULE_MARK", QFile::encodeName(mark));
    const QString other = QStringLiteral(DOLGOMER_OTHER_MODULES);
    QCOMPARE(moduleFileVersion(other + QStringLiteral("/libdolgomer-print.so")), 1);
    struct Broken {
        QString folder;
        const char *module, *symbol;
    };
    for (const Broken &b : {Broken{other, "dolgomer-print", "dolgomerOpenDefaultPrinter"},
                            Broken{QStringLiteral(DOLGOMER_EMPTY_MODULES), "dolgomer-update",
                                   "dolgomerMakeRateSource"}}) {
        try {
            makeInModule<QObject>({b.folder}, b.module, b.symbol, Nothing::IsBroken);
            QFAIL("the module was taken");
        } catch (const AppError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("Переустановите программу")),
                     qPrintable(e.message()));
        }
    }
    QVERIFY(!QFileInfo::exists(mark));
    qunsetenv("DOLGOMER_TEST_MODULE_MARK");
    // This build's own module passes.
    QVERIFY(moduleEntry(moduleFolders(), "dolgomer-print", "dolgomerOpenDefaultPrinter"));
}

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
