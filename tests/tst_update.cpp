// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/apperror.h"
#include "common/dates.h"
#include "common/module.h"
#include "httpresponder.h"
#include "keyratefixture.h"
#include "rategrid.h"
#include "rates/periodkey.h"
#include "storage/ratefile.h"
#include "storage/settings.h"
#include "storagetest.h"
#include "update/keyratepage.h"
#include "windowtest.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QStringEncoder>
#include <optional>

namespace {

const QString kBrowserKey = QStringLiteral("Software\\Microsoft\\Internet Explorer\\Main");
const QString kDone = QStringLiteral("Значения ставок рефинансирования актуализированы");
const QString kFailed = QStringLiteral("Ошибка соединения с сервером. Обновление прервано");

// A page laid out as the bank's: a menu, a header row, a date cell and a rate
// cell per row, and a footer whose numbers come after the last date.
QByteArray bankPage(const QString &title, const QStringList &rows,
                    const QString &dateAttrs = QStringLiteral("valign=\"top\" nowrap")) {
    QString html = QStringLiteral("<html><head><title>%1</title></head><body>"
                                  "<table><tr><td>Главная</td><td>О банке</td></tr></table>"
                                  "<table><tr><th>Период</th><th>Ставка</th></tr>")
                       .arg(title);
    for (const QString &row : rows) {
        const QStringList cells = row.split(u'|');
        html +=
            QStringLiteral("<tr><td %1>%2</td><td>%3</td></tr>").arg(dateAttrs, cells[0], cells[1]);
    }
    html += QStringLiteral("</table><table><tr><td>© 1990–2010</td><td>2010</td><td>15</td>"
                           "</tr></table></body></html>");
    return QStringEncoder("windows-1251")(html);
}

} // namespace

class TestUpdate : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void replacesTheTable();
    void pagesThatAreNotTheBanks_data();
    void pagesThatAreNotTheBanks();
    void recognisedPageWithoutPairs();
    void redirectAndUtf8();
    void repeatedKeysAndDateTexts();
    void timeLimit();
    void saveFailureLeavesTableAndFile_data();
    void saveFailureLeavesTableAndFile();
    void chosenRateStaysAfterAnUpdate();
    void refusedFileReplacedOnlyIfAgreed_data();
    void refusedFileReplacedOnlyIfAgreed();
    void keyRatePage_data();
    void keyRatePage();
    void moduleOfAnotherVersion();

private:
    Window &openAt(const QString &path) {
        storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("update_url"),
                              server_->url(path));
        // The key rate page is not served unless a test puts it there.
        storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("keyrate_url"),
                              server_->url(QStringLiteral("/keyrate")));
        Window &f = env_.open();
        f.window.openRatePanel();
        return f;
    }
    // Starts an update and waits until the window is back at rest.
    void update(Window &f) {
        QTest::mouseClick(f.updateLink, Qt::LeftButton);
        QVERIFY(!f.ratePanel->isEnabled());
        QVERIFY(f.updateProgress->isVisible());
        QVERIFY(QApplication::overrideCursor());
        QTRY_VERIFY_WITH_TIMEOUT(f.ratePanel->isEnabled() && f.updateProgress->isHidden(), 10000);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(storage::readSetting(kBrowserKey, false, QStringLiteral("Display Inline Images")),
                 QStringLiteral("yes"));
    }
    WindowEnv env_;
    std::unique_ptr<HttpResponder> server_;
};

void TestUpdate::init() {
    env_.start();
    server_ = std::make_unique<HttpResponder>();
    QVERIFY(server_->isListening());
}

void TestUpdate::cleanup() {
    env_.stop();
    server_.reset();
}

void TestUpdate::replacesTheTable() {
    server_->routes["/rates"] = {200, "text/html",
                                 bankPage(QStringLiteral("Центральный банк России"),
                                          {"с 1 июня 2010 г.|7,75", "с 29 марта 2010 г.|8,25",
                                           "с 28 декабря 2009 г.|8.75x", "с 25 ноября 2009 г.|9"})};
    Window &f = openAt(QStringLiteral("/rates"));
    f.editor->startAdding(); // the editor closes when the update starts
    update(f);
    QVERIFY(f.rateEditor->isHidden());
    const QStringList expected = {"с 01 июня 2010 г.=7,75", "с 29 марта 2010 г.=8,25",
                                  "с 25 ноября 2009 г.=9"};
    QCOMPARE(f.table().lines(), expected);
    QCOMPARE(fileBytes(f.rateFilePath()), storage::encodeRateFile(expected));
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text, kDone);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Сообщение"));
    QCOMPARE(env_.boxes.shown[0].icon, MessageBoxes::Icon::Information);
}

void TestUpdate::pagesThatAreNotTheBanks_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::newRow("404") << 404 << bankPage(QStringLiteral("Банк"), {"с 1 июня 2010 г.|7"});
    QTest::newRow("no bank in the title")
        << 200 << bankPage(QStringLiteral("Новости"), {"с 1 июня 2010 г.|7"});
    QTest::newRow("over the size limit")
        << 200
        << (bankPage(QStringLiteral("Банк"), {"с 1 июня 2010 г.|7"}) + QByteArray(6 << 20, ' '));
    QTest::newRow("binary") << 200 << QByteArray("\x00\x01\xff\xfe<tit", 9);
    QTest::newRow("far too deep") << 200
                                  << (QByteArray("<title>Банк</title>") +
                                      QByteArray(100000 * 5, 'x').replace("xxxxx", "<div>"));
}

void TestUpdate::pagesThatAreNotTheBanks() {
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    server_->routes["/p"] = {status, "text/html; charset=utf-8", body};
    Window &f = openAt(QStringLiteral("/p"));
    const QByteArray before = fileBytes(f.rateFilePath());
    update(f);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text, kFailed);
    QCOMPARE(env_.boxes.shown[0].caption, QStringLiteral("Ошибка соединения"));
    QCOMPARE(env_.boxes.shown[0].icon, MessageBoxes::Icon::Stop);
    QCOMPARE(f.table().lines(), rates::RateTable::builtIn().lines());
    QCOMPARE(fileBytes(f.rateFilePath()), before);
}

void TestUpdate::recognisedPageWithoutPairs() {
    // Date cells in the wrong shape: vAlign in capitals, no noWrap, no "г.".
    server_->routes["/caps"] = {200, "text/html",
                                bankPage(QStringLiteral("БАНК"), {"с 1 июня 2010 г.|7"},
                                         QStringLiteral("VALIGN=\"TOP\" nowrap"))};
    server_->routes["/nowrap"] = {
        200, "text/html",
        bankPage(QStringLiteral("БАНК"), {"с 1 июня 2010 г.|7"}, QStringLiteral("valign=\"top\""))};
    server_->routes["/nomark"] = {200, "text/html",
                                  bankPage(QStringLiteral("БАНК"), {"с 1 июня 2010|7"})};
    Window &f = openAt(QStringLiteral("/caps"));
    const QByteArray before = fileBytes(f.rateFilePath());
    for (const char *path : {"/caps", "/nowrap", "/nomark"}) {
        storage::writeSetting(storage::kSettingsKey, false, QStringLiteral("update_url"),
                              server_->url(QString::fromLatin1(path)));
        env_.boxes.shown.clear();
        update(f);
        // Neither page gave a rate: that is a failed update.
        QCOMPARE(env_.boxes.shown.size(), 1);
        QCOMPARE(env_.boxes.shown[0].text, kFailed);
        QCOMPARE(f.table().lines(), rates::RateTable::builtIn().lines());
        QCOMPARE(fileBytes(f.rateFilePath()), before);
    }
}

void TestUpdate::redirectAndUtf8() {
    const QString page = QStringLiteral("<meta charset=\"utf-8\"><title>Банк России</title><table>"
                                        "<tr><td>8,5</td><td valign=top nowrap>"
                                        "с&nbsp;1&nbsp;июня&nbsp;2010 г.</td></tr></table>");
    server_->routes["/new"] = {200, "text/html", page.toUtf8()};
    server_->routes["/old"] = {301, "text/html", "moved", server_->url("/new").toLatin1()};
    Window &f = openAt(QStringLiteral("/old"));
    update(f);
    QCOMPARE(f.table().lines(), QStringList{"с 01 июня 2010 г.=8,5"});
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text, kDone);
}

void TestUpdate::repeatedKeysAndDateTexts() {
    server_->routes["/dup"] = {
        200, "text/html",
        bankPage(QStringLiteral("Банк"),
                 {"с 1 июня 2010 г.|7,75", "01.06.2010 г.|7", "28.12.2009 г.|8,75"})};
    Window &f = openAt(QStringLiteral("/dup"));
    update(f);
    const QStringList expected = {"с 01 июня 2010 г.=7,75", "с 28 декабря 2009 г.=8,75"};
    QCOMPARE(f.table().lines(), expected);
    QCOMPARE(fileBytes(f.rateFilePath()), storage::encodeRateFile(expected));
    // The keys it wrote are ones the lookup reads.
    f.panel->followPeriodEnd(f.periodEnd->date());
    QCOMPARE(f.rateField->text(), QStringLiteral("7,75"));
}

void TestUpdate::timeLimit() {
    server_->routes["/hang"] = {200, "text/html", {}, {}, true};
    Window &f = openAt(QStringLiteral("/hang"));
    f.updater->setTimeLimit(300);
    update(f);
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text, kFailed);
    QCOMPARE(f.table().count(), 33);
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
    QCOMPARE(f.table().count(), 3);
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
    QCOMPARE(f.table().count(), 3);
    QCOMPARE(f.rateField->text(), chosen);
    QCOMPARE(f.rateGrid->selectedRow(), 3);
    // Choosing again takes the new table's rate.
    QTest::keyClick(f.rateGrid, Qt::Key_Up);
    QCOMPARE(f.rateField->text(), QStringLiteral("8,25"));
}

void TestUpdate::keyRatePage_data() {
    QTest::addColumn<QByteArray>("classic");
    QTest::addColumn<QStringList>("history"); // what follows the key rate lines
    QTest::newRow("classic page with pairs before 2016")
        << bankPage(
               QStringLiteral("Банк России"),
               {"с 1 января 2016 г.|11", "с 14 сентября 2012 г.|8,25", "с 28 декабря 2009 г.|8,75"})
        << QStringList{"с 14 сентября 2012 г.=8,25", "с 28 декабря 2009 г.=8,75"};
    QTest::newRow("classic page missing")
        << QByteArray() << rates::historyBefore2016() + rates::RateTable::builtIn().lines();
}

void TestUpdate::keyRatePage() {
    QFETCH(QByteArray, classic);
    QFETCH(QStringList, history);
    if (!classic.isEmpty()) server_->routes["/rates"] = {200, "text/html", classic};
    server_->routes["/keyrate"] = {200, "text/html; charset=utf-8",
                                   ::keyRatePage({{QDate(2026, 12, 4), "15,50"},
                                                  {QDate(2026, 2, 16), "15,50"},
                                                  {QDate(2026, 2, 13), "16,00"},
                                                  {QDate(2016, 1, 11), "11,00"}})};
    Window &f = openAt(QStringLiteral("/rates"));
    update(f);
    const QStringList expected =
        QStringList{"с 16 февраля 2026 г.=15,50", "с 13 февраля 2026 г.=16,00",
                    "с 01 января 2016 г.=11,00"} +
        history;
    QCOMPARE(f.table().lines(), expected);
    QCOMPARE(fileBytes(f.rateFilePath()), storage::encodeRateFile(expected));
    QCOMPARE(env_.boxes.shown.size(), 1);
    QCOMPARE(env_.boxes.shown[0].text, kDone);
    // A claim of today gets the key rate.
    f.periodEnd->setDate(QDate(2026, 12, 5));
    QCOMPARE(f.rateField->text(), QStringLiteral("15,50"));
}

// A module left from another version of the program is never called: its
// objects could have another layout. The user is told to reinstall.
void TestUpdate::moduleOfAnotherVersion() {
    try {
        moduleEntry({QStringLiteral(DOLGOMER_OTHER_MODULES)}, "dolgomer-print",
                    "dolgomerOpenDefaultPrinter");
        QFAIL("the module was taken");
    } catch (const AppError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("Переустановите программу")),
                 qPrintable(e.message()));
    }
    // This build's own module passes.
    QVERIFY(moduleEntry(moduleFolders(), "dolgomer-print", "dolgomerOpenDefaultPrinter"));
}

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
