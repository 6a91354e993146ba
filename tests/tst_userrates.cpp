// SPDX-License-Identifier: GPL-3.0-or-later
// The user's rate table as both front ends open it: the first run, later
// runs, a file gone or refused, settings lost, and the read-only opening of
// the command line, which never creates or writes anything.
#include "common/apperror.h"
#include "law/calendar.h"
#include "rates/tablefile.h"
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
    void placeHeldByANonFile_data();
    void placeHeldByANonFile();
    void userCalendar_data();
    void userCalendar();
    void lostSettings_data();
    void lostSettings();
    void relativePath();
    void editsOnAChangedFile_data();
    void editsOnAChangedFile();
    void reloadOnlyWithoutEdits();
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

void TestUserRates::placeHeldByANonFile_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<bool>("write");
    for (const char *kind : kNonFiles)
        for (const bool write : {true, false})
            QTest::addRow("%s, %s", kind, write ? "window" : "command line") << kind << write;
}

// Whatever holds the rate file's place when it is no file is told, and
// neither read, nor replaced by the first run's history, nor by an update.
void TestUserRates::placeHeldByANonFile() {
    QFETCH(QString, kind);
    QFETCH(bool, write);
    Home home;
    const QString path = storage::defaultRateFilePath();
    plantNonFile(path, kind);
    const QString before = placeSignature(path);
    const PipeUnblocker unblocker(path);
    const UserRates user =
        openUserRates(write ? RateFileAccess::ReadWrite : RateFileAccess::ReadOnly);
    QVERIFY2(user.refused && user.problem.contains(path) &&
                 user.problem.contains(QStringLiteral("встроенной таблице")),
             qPrintable(user.problem));
    QCOMPARE(user.table.count(), 33);
    TableFile file;
    file.open(user);
    QVERIFY_THROWS_EXCEPTION(AppError, file.replace(RateTable::builtIn(), path + ".bak"));
    QVERIFY_THROWS_EXCEPTION(AppError, file.save());
    QCOMPARE(placeSignature(path), before);
    QVERIFY(!QFileInfo::exists(path + ".bak"));
}

// The user's calendar beside the rate file adds its days; one that cannot be
// taken is told with its path and why, and the program's calendar serves.
void TestUserRates::userCalendar_data() {
    QTest::addColumn<QString>("kind"); // a non-file's kind, or "" for `bytes`
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("why"); // "" when taken
    QTest::newRow("a new year") << "" << QByteArray("# 2030\n10.01.2030;transfer\n") << "";
    QTest::newRow("a bad kind") << "" << QByteArray("02.01.2030;holiday\n03.01.2030;off\n")
                                << "строка 2: «03.01.2030;off»";
    QTest::newRow("no date") << "" << QByteArray("2030-01-02;holiday\n") << "строка 1:";
    QTest::newRow("UTF-16") << ""
                            << QByteArray("\xff\xfe"
                                          "0\x00"
                                          "2\x00",
                                          6)
                            << "UTF-8";
    QTest::newRow("too large") << "" << QByteArray(2 << 20, '#') << "";
    for (const char *kind : {"device", "fifo"})
        QTest::newRow(kind) << kind << QByteArray() << "";
}

void TestUserRates::userCalendar() {
    QFETCH(QString, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, why);
    Home home;
    const QString path = QFileInfo(storage::defaultRateFilePath()).dir().filePath("kalendar.txt");
    if (kind.isEmpty()) {
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
    } else {
        plantNonFile(path, kind);
    }
    const QString before = placeSignature(path);
    const PipeUnblocker unblocker(path);
    const UserRates user = openUserRates(RateFileAccess::ReadOnly);
    const bool taken = bytes.size() < (1 << 20) && kind.isEmpty() && why.isEmpty();
    QVERIFY2(taken == user.calendarProblem.isEmpty(), qPrintable(user.calendarProblem));
    if (!taken) QVERIFY(user.calendarProblem.contains(path) && user.calendarProblem.contains(why));
    QCOMPARE(law::movesDeadline(QDate(2030, 1, 10)), taken); // a Thursday
    QVERIFY(law::movesDeadline(QDate(2024, 5, 10)));         // the program's own
    QCOMPARE(placeSignature(path), before);
    law::useCalendar(law::builtInCalendar());
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

void TestUserRates::editsOnAChangedFile_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QString>("refused"); // why the edit no longer applies; "" when it does
    const QString newest = QStringLiteral("с 28 декабря 2009 г.=8,75");
    QTest::newRow("add") << int(TableEdit::Add) << ""
                         << "с 1 марта 2010 г.=8,5"
                         << "";
    QTest::newRow("add a key the file got meanwhile") << int(TableEdit::Add) << ""
                                                      << "с 1 января 2011 г.=8"
                                                      << "уже есть";
    QTest::newRow("change") << int(TableEdit::Replace) << newest << "с 28 декабря 2009 г.=8,5"
                            << "";
    QTest::newRow("change a line changed meanwhile")
        << int(TableEdit::Replace) << "с 25 ноября 2009 г. =9"
        << "с 25 ноября 2009 г.=9,1"
        << "больше нет";
    QTest::newRow("delete") << int(TableEdit::Remove) << newest << ""
                            << "";
    QTest::newRow("delete a line deleted meanwhile")
        << int(TableEdit::Remove) << "с 10 июня 1999 г.=55"
        << ""
        << "больше нет";
}

// Another program changed the file after it was read (a line added on top,
// one changed, one deleted): the one edit the user made is made to the file's
// lines, or, when it no longer applies there, nothing is written and the
// table becomes the file's.
void TestUserRates::editsOnAChangedFile() {
    QFETCH(int, kind);
    QFETCH(QString, before);
    QFETCH(QString, after);
    QFETCH(QString, refused);
    Home home;
    TableFile file;
    file.open(openUserRates(RateFileAccess::ReadWrite));
    QStringList theirs = builtInLines();
    theirs.prepend(QStringLiteral("с 1 января 2011 г.=7,75"));
    theirs[2] = QStringLiteral("с 25 ноября 2009 г.=9,0");
    theirs.removeLast();
    const QByteArray onDisk = storage::encodeRateFile(theirs);
    writeBytes(file.path(), onDisk);

    const TableEdit edit{TableEdit::Kind(kind), before, after};
    edit.applyTo(file.table()); // as the window does, on what it shows
    file.record(edit);
    if (refused.isEmpty()) {
        QCOMPARE(file.save(), TableFile::Saved::OverOtherChanges);
        RateTable merged;
        merged.setLines(theirs);
        edit.applyTo(merged);
        QCOMPARE(file.table().lines(), merged.lines());
        QCOMPARE(readBytes(file.path()), storage::encodeRateFile(merged.lines()));
    } else {
        try {
            file.save();
            QFAIL("an edit that no longer applies was saved");
        } catch (const AppError &e) {
            QVERIFY2(e.message().contains(refused), qPrintable(e.message()));
        }
        QCOMPARE(file.table().lines(), theirs);
        QCOMPARE(readBytes(file.path()), onDisk);
    }
    QVERIFY(!file.hasUnsavedEdits());
    // Unchanged since: the next save writes the table as shown.
    file.record({TableEdit::Add, QString(), QStringLiteral("с 1 мая 2012 г.=8")});
    file.table().insertTop(QStringLiteral("с 1 мая 2012 г.=8"));
    QCOMPARE(file.save(), TableFile::Saved::AsShown);
}

// A file changed on disk is shown when no edit waits; an edit that waits
// (its save failed) keeps the table as the user made it.
void TestUserRates::reloadOnlyWithoutEdits() {
    Home home;
    TableFile file;
    file.open(openUserRates(RateFileAccess::ReadWrite));
    QVERIFY(!file.reload());
    const QByteArray added = readBytes(file.path()) + "a=1\r\n";
    writeBytes(file.path(), added);
    file.record({TableEdit::Remove, QStringLiteral("с 10 июня 1999 г.=55"), QString()});
    QVERIFY(!file.reload());
    QCOMPARE(file.table().count(), 33);
    TableFile fresh;
    fresh.open(openUserRates(RateFileAccess::ReadWrite));
    QCOMPARE(fresh.table().count(), 34);
    writeBytes(file.path(), added + "b=2\r\n");
    QVERIFY(fresh.reload());
    QCOMPARE(fresh.table().lines().last(), QStringLiteral("b=2"));
    QVERIFY(!fresh.reload());
}

QTEST_GUILESS_MAIN(TestUserRates)
#include "tst_userrates.moc"
