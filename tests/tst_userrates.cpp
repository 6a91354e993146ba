// SPDX-License-Identifier: GPL-3.0-or-later
// The user's rate table as both front ends open it: the first run, later
// runs, a file gone or refused, settings lost, and the read-only opening of
// the command line, which never creates or writes anything.
#include "common/apperror.h"
#include "rates/userrates.h"
#include "storage/ratefile.h"
#include "storage/settings.h"
#include "storagetest.h"

#include <QDir>
#include <QTest>

using namespace rates;
using storage::kSettingsKey;
using storage::readSetting;
using storage::settingsFilePath;
using storage::writeSetting;

namespace {

// The file the first run makes.
QString openFirstRun() {
    const UserRates user = openUserRates(RateFileAccess::ReadWrite);
    if (!user.problem.isEmpty()) qWarning() << user.problem;
    return user.path;
}

} // namespace

class TestUserRates : public QObject {
    Q_OBJECT
private slots:
    void loadAndSave();
    void loadRepeatedKeys();
    void loadLargeFiles();
    void firstRun_data();
    void firstRun();
    void laterRuns_data();
    void laterRuns();
    void fileGone();
    void refusedFile_data();
    void refusedFile();
    void lostSettings_data();
    void lostSettings();
    void relativePath();
};

void TestUserRates::loadAndSave() {
    Home home;
    const QString path = home.path(QStringLiteral("stavki.txt"));
    saveRateFile(path, RateTable::builtIn());
    QCOMPARE(readBytes(path), expectedHistoryBytes());
    QCOMPARE(RateTable::builtIn().lines(), builtInLines());
    RateTable t;
    loadRateFile(path, t);
    QCOMPARE(t.lines(), RateTable::builtIn().lines());

    saveRateFile(path, RateTable());
    QCOMPARE(QFileInfo(path).size(), 0);
    loadRateFile(path, t);
    QCOMPARE(t.count(), 0);
}

void TestUserRates::loadRepeatedKeys() {
    Home home;
    const QString path = home.path(QStringLiteral("stavki.txt"));
    const QByteArray bytes = "a=1\r\nb=2\r\nA=3\r\nc=4\r\nB=5\r\n\r\n\r\n";
    writeBytes(path, bytes);
    RateTable t = RateTable::builtIn();
    try {
        loadRateFile(path, t);
        QFAIL("no error");
    } catch (const AppError &e) {
        QVERIFY2(e.message().contains(QStringLiteral("\"A\"")), qPrintable(e.message()));
    }
    QCOMPARE(t.lines(), (QStringList{"a=1", "b=2", "c=4", "", ""}));
    QCOMPARE(readBytes(path), bytes); // loading never writes
}

void TestUserRates::loadLargeFiles() {
    Home home;
    const QString path = home.path(QStringLiteral("stavki.txt"));
    QByteArray many;
    for (int i = 0; i < 100000; ++i)
        many += "key " + QByteArray::number(i) + "=1\r\n";
    many += QByteArray(1 << 20, 'x') + "=2";
    writeBytes(path, many);
    RateTable t;
    loadRateFile(path, t);
    QCOMPARE(t.count(), 100001);
    QCOMPARE(t.rate(100000), QStringLiteral("2"));
    saveRateFile(path, t);
    QCOMPARE(readBytes(path), many + "\r\n");

    // Not a file at all: a clear error, and the table is left alone.
    QVERIFY_THROWS_EXCEPTION(storage::RateFileUnreadable, loadRateFile(home.path(QString()), t));
    QCOMPARE(t.count(), 100001);
}

void TestUserRates::firstRun_data() {
    QTest::addColumn<bool>("write");
    QTest::newRow("window") << true;
    QTest::newRow("command line") << false;
}

// The window makes the file from the built-in history and records it; the
// command line counts with the same history and leaves no trace. Neither
// moves the process into another folder.
void TestUserRates::firstRun() {
    QFETCH(bool, write);
    Home home;
    const QString cwd = QDir::currentPath();
    const UserRates user =
        openUserRates(write ? RateFileAccess::ReadWrite : RateFileAccess::ReadOnly);
    const QString expected = home.dataFolder() + QStringLiteral("/stavki.txt");
    QCOMPARE(user.problem, QString());
    QCOMPARE(user.path, expected);
    QCOMPARE(user.table.lines(), builtInLines());
    QCOMPARE(QDir::currentPath(), cwd);
    if (write) {
        QCOMPARE(readBytes(expected), expectedHistoryBytes());
        QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("patch")), expected);
    } else {
        QVERIFY(!QFileInfo::exists(home.path(QStringLiteral("data"))));
        QVERIFY(!QFileInfo::exists(settingsFilePath()));
    }
}

void TestUserRates::laterRuns_data() {
    firstRun_data();
}

void TestUserRates::laterRuns() {
    QFETCH(bool, write);
    Home home;
    const QString path = openFirstRun();
    const QByteArray bytes = QStringEncoder("windows-1251")(
        QStringLiteral("с 1 января 2011 г.=7,75\r\nс 28 декабря 2009 г.=8.75 \r\n"));
    writeBytes(path, bytes);

    const UserRates user =
        openUserRates(write ? RateFileAccess::ReadWrite : RateFileAccess::ReadOnly);
    QCOMPARE(user.problem, QString());
    QCOMPARE(user.path, path);
    QCOMPARE(user.table.lines(),
             (QStringList{"с 1 января 2011 г.=7,75", "с 28 декабря 2009 г.=8.75 "}));
    QCOMPARE(readBytes(path), bytes);
}

void TestUserRates::fileGone() {
    Home home;
    const QString path = openFirstRun();
    QDir(home.dataFolder()).removeRecursively();

    // Read-only: the history serves and nothing is made again.
    UserRates user = openUserRates(RateFileAccess::ReadOnly);
    QCOMPARE(user.problem, QString());
    QCOMPARE(user.table.lines(), builtInLines());
    QVERIFY(!QFileInfo::exists(home.dataFolder()));

    user = openUserRates(RateFileAccess::ReadWrite);
    QCOMPARE(user.path, path);
    QCOMPARE(readBytes(path), expectedHistoryBytes());

    // The file's folder is not recreated unless it is the data folder: the
    // save then fails with a clear error, and the data folder exists.
    const QString elsewhere = home.path(QStringLiteral("data/elsewhere/stavki.txt"));
    writeSetting(kSettingsKey, false, QStringLiteral("patch"), elsewhere);
    QDir(home.dataFolder()).removeRecursively();
    user = openUserRates(RateFileAccess::ReadWrite);
    QVERIFY2(user.problem.contains(elsewhere), qPrintable(user.problem));
    QCOMPARE(user.path, elsewhere);
    QVERIFY(QFileInfo(home.dataFolder()).isDir());
}

void TestUserRates::refusedFile_data() {
    QTest::addColumn<bool>("write");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("told");
    for (const bool write : {true, false}) {
        const char *who = write ? "window" : "command line";
        QTest::addRow("too large, %s", who) << write << QByteArray("70 MB") << "слишком велик";
        QTest::addRow("zero bytes, %s", who)
            << write << QByteArray("a=1\r\n\0\0\0b=2", 10) << "нулевые байты";
    }
}

// A file that is no rate file is told, in the window and on the command line
// alike; the history stands in, marked as not the file's table.
void TestUserRates::refusedFile() {
    QFETCH(bool, write);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, told);
    Home home;
    const QString path = openFirstRun();
    plantRateFile(path, bytes);
    const qint64 size = QFileInfo(path).size();

    const UserRates user =
        openUserRates(write ? RateFileAccess::ReadWrite : RateFileAccess::ReadOnly);
    QVERIFY2(user.problem.contains(told), qPrintable(user.problem));
    QVERIFY(user.refused);
    QCOMPARE(user.path, path);
    QCOMPARE(user.table.count(), 33);
    QCOMPARE(QFileInfo(path).size(), size);
}

void TestUserRates::lostSettings_data() {
    QTest::addColumn<QByteArray>("settings"); // what the settings file becomes; null: deleted
    QTest::newRow("settings file deleted") << QByteArray();
    QTest::newRow("patch written with blanks") << QByteArray("[Software\\Долгомер]\n"
                                                             "  patch = %1  \n");
    QTest::newRow("patch empty") << QByteArray("[Software\\Долгомер]\npatch=\n");
    QTest::newRow("section without patch") << QByteArray(" [ Software\\Долгомер ] \nk_stav=300\n");
}

// A hand-made table survives whatever happens to the settings store.
void TestUserRates::lostSettings() {
    QFETCH(QByteArray, settings);
    Home home;
    const QString path = openFirstRun();
    const QByteArray handMade =
        QStringEncoder("windows-1251")(QStringLiteral("с 1 января 2011 г.=7,75\r\n"));
    writeBytes(path, handMade);
    if (settings.isNull())
        QVERIFY(QFile::remove(settingsFilePath()));
    else
        writeBytes(settingsFilePath(), QString::fromUtf8(settings).replace("%1", path).toUtf8());

    const UserRates user = openUserRates(RateFileAccess::ReadWrite);
    QCOMPARE(user.path, path);
    QCOMPARE(user.table.lines(), QStringList{"с 1 января 2011 г.=7,75"});
    QCOMPARE(readBytes(path), handMade);
    QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("patch")), path);
    QCOMPARE(readBytes(settingsFilePath()).count("patch"), 1);
}

// A relative path in the settings is read from the application-data folder,
// wherever the program was started.
void TestUserRates::relativePath() {
    Home home;
    openFirstRun();
    const QByteArray bytes = "с 1 января 2011 г.=7\r\n";
    writeBytes(home.path(QStringLiteral("data/mine.txt")), bytes);
    writeSetting(kSettingsKey, false, QStringLiteral("patch"), QStringLiteral("mine.txt"));
    const UserRates user = openUserRates(RateFileAccess::ReadOnly);
    QCOMPARE(user.path, home.path(QStringLiteral("data/mine.txt")));
    QCOMPARE(user.table.count(), 1);
}

QTEST_GUILESS_MAIN(TestUserRates)
#include "tst_userrates.moc"
