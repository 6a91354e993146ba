// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/apperror.h"
#include "common/dates.h"
#include "common/module.h"
#include "httpresponder.h"
#include "keyratefixture.h"
#include "rategrid.h"
#include "rates/periodkey.h"
#include "rates/userrates.h"
#include "storage/ratefile.h"
#include "storage/settings.h"
#include "storagetest.h"
#include "update/keyratepage.h"
#include "windowtest.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QStringEncoder>
#include <QTimer>
#include <optional>

namespace {

const QString kBrowserKey = QStringLiteral("Software\\Microsoft\\Internet Explorer\\Main");
const QString kDone = QStringLiteral("Значения ставок рефинансирования актуализированы");
const QString kFailed = QStringLiteral("Ошибка соединения с сервером. Обновление прервано");
const QString kNoKeyRate = QStringLiteral(
    "Не удалось получить ключевую ставку с сайта Банка России; таблица ставок не изменена.");
// What the key rate page served by default makes of the table's head.
const QString kKeyRateLine = QStringLiteral("с 01 января 2016 г.=11,00");

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
    void keyRatePageRequired_data();
    void keyRatePageRequired();
    void commandLine_data();
    void commandLine();
    void longPageKeepsTheWindowAnswering();

private:
    Window &openAt(const QString &path) {
        storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("update_url"),
                              server_->url(path));
        // A key rate page of one working day, unless a test serves another.
        storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("keyrate_url"),
                              server_->url(QStringLiteral("/keyrate")));
        if (!server_->routes.contains("/keyrate"))
            server_->routes["/keyrate"] = {200, "text/html; charset=utf-8",
                                           ::keyRatePage({{QDate(2016, 1, 11), "11,00"}})};
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
    const QStringList expected = {kKeyRateLine, "с 01 июня 2010 г.=7,75", "с 29 марта 2010 г.=8,25",
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
    // Neither page is the bank's: the connection is what failed.
    server_->routes["/p"] = {status, "text/html; charset=utf-8", body};
    server_->routes["/keyrate"] = server_->routes["/p"];
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
    for (const char *path : {"/caps", "/nowrap", "/nomark"}) {
        storage::writeSetting(storage::kSettingsKey, false, QStringLiteral("update_url"),
                              server_->url(QString::fromLatin1(path)));
        env_.boxes.shown.clear();
        update(f);
        // No pair is read: the history before 2016 is the program's own.
        QCOMPARE(env_.boxes.shown.size(), 1);
        QCOMPARE(env_.boxes.shown[0].text, kDone);
        QCOMPARE(f.table().lines(), QStringList{kKeyRateLine} + rates::historyBefore2016() +
                                        rates::RateTable::builtIn().lines());
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
    QCOMPARE(f.table().lines(), (QStringList{kKeyRateLine, "с 01 июня 2010 г.=8,5"}));
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
    const QStringList expected = {kKeyRateLine, "с 01 июня 2010 г.=7,75",
                                  "с 28 декабря 2009 г.=8,75"};
    QCOMPARE(f.table().lines(), expected);
    QCOMPARE(fileBytes(f.rateFilePath()), storage::encodeRateFile(expected));
    // The keys it wrote are ones the lookup reads.
    f.panel->followPeriodEnd(QDate(2015, 12, 31));
    QCOMPARE(f.rateField->text(), QStringLiteral("7,75"));
}

void TestUpdate::timeLimit() {
    server_->routes["/hang"] = {200, "text/html", {}, {}, true};
    server_->routes["/keyrate"] = server_->routes["/hang"];
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

void TestUpdate::keyRatePageRequired_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("keyRatePage");
    QTest::addColumn<QString>("told");
    const QDate today = QDate::currentDate();
    QTest::newRow("an HTTP error")
        << 500 << ::keyRatePage({{QDate(2016, 1, 11), "11,00"}}) << kNoKeyRate;
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
void TestUpdate::keyRatePageRequired() {
    QFETCH(int, status);
    QFETCH(QByteArray, keyRatePage);
    QFETCH(QString, told);
    server_->routes["/rates"] = {
        200, "text/html", bankPage(QStringLiteral("Банк России"), {"с 14 сентября 2012 г.|8,25"})};
    server_->routes["/keyrate"] = {status, "text/html; charset=utf-8", keyRatePage};
    Window &f = openAt(QStringLiteral("/rates"));
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

void TestUpdate::commandLine_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("keyRateServed");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("updated") << QStringList{"--update-rates"} << true << 0
                             << "записей в таблице ставок — 3, последняя — «с 16 февраля 2026 "
                                "г.=15,50»\n"
                             << "dolgomer: Значения ставок рефинансирования актуализированы\n";
    QTest::newRow("no key rate page") << QStringList{"--update-rates"} << false << 1 << QString()
                                      << "dolgomer: " + kNoKeyRate + "\n";
    QTest::newRow("with a report") << QStringList{"--update-rates", "--report"} << true << 2
                                   << QString() << "нужен ровно один из параметров";
}

// dolgomer --update-rates: the window's update, its messages on standard
// error, the table saved where the window keeps it. No display is needed.
void TestUpdate::commandLine() {
    QFETCH(QStringList, args);
    QFETCH(bool, keyRateServed);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    server_->routes["/rates"] = {
        200, "text/html", bankPage(QStringLiteral("Банк России"), {"с 14 сентября 2012 г.|8,25"})};
    server_->routes["/keyrate"] = {
        keyRateServed ? 200 : 404, "text/html; charset=utf-8",
        ::keyRatePage({{QDate(2026, 2, 16), "15,50"}, {QDate(2016, 1, 11), "11,00"}})};
    storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("update_url"),
                          server_->url(QStringLiteral("/rates")));
    storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("keyrate_url"),
                          server_->url(QStringLiteral("/keyrate")));
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(DOLGOMER_PROGRAM), args);
    // The event loop runs meanwhile: the pages are served from this process.
    QTRY_VERIFY_WITH_TIMEOUT(p.state() == QProcess::NotRunning, 20000);
    QCOMPARE(p.exitCode(), exitCode);
    const QString gotOut = QString::fromUtf8(p.readAllStandardOutput());
    const QString gotErr = QString::fromUtf8(p.readAllStandardError());
    QVERIFY2(out.isEmpty() ? gotOut.isEmpty() : gotOut.endsWith(out), qPrintable(gotOut));
    QVERIFY2(gotErr.contains(err), qPrintable(gotErr));
    if (exitCode != 0) return;
    // The file the window would open, with what the window's update writes.
    rates::UserRates user = rates::openUserRates(rates::RateFileAccess::ReadOnly);
    QCOMPARE(user.table.count(), 3);
    QCOMPARE(user.table.line(1), kKeyRateLine);
    QCOMPARE(user.table.line(2), QStringLiteral("с 14 сентября 2012 г.=8,25"));
}

// The longest page the loader takes, a day listed many times over: the
// window goes on answering while the page is read. How long it was kept
// waiting at most is printed, not asserted (machines differ).
void TestUpdate::longPageKeepsTheWindowAnswering() {
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

QTEST_MAIN(TestUpdate)
#include "tst_update.moc"
