#include "calc/apperror.h"
#include "rates/ratefile.h"
#include "rates/settings.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

using namespace rates;

namespace {

QByteArray readBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The first-run file, byte for byte, built here from the texts themselves.
QByteArray expectedHistoryBytes() {
    const char *lines[] = {
        "с 28 декабря 2009 г.=8,75",  "с 25 ноября 2009 г. =9",     "с 30 октября 2009 г.=9,5 ",
        "с 30 сентября 2009 г.=10  ", "с 15 сентября 2009 г.=10,5", "с 10 августа 2009 г.=10,75",
        "с 13 июля 2009 г.=11  ",     "с 5 июня 2009 г.=11,5",      "с 14 мая 2009 г.=12  ",
        "с 24 апреля 2009 г.=12,5",   "с 1 декабря 2008 г.=13  ",   "с 12 ноября 2008 г.=12  ",
        "с 14 июля 2008 г.=11,00",    "с 10 июня 2008 г.=10,75",    "с 29 апреля 2008 г.=10,5",
        "с 4 февраля 2008 г.=10,25",  "с 19 июня 2007 г.=10",       "с 29 января 2007 г.=10,5",
        "с 23 октября 2006 г.=11,0",  "с 26 июня 2006 г.=11,5",     "с 26 декабря 2005 г.=12",
        "с 15 июня 2004 г.=13",       "с 15 января 2004 г.=14",     "с 21 июня 2003 г.=16",
        "с 17 февраля 2003 г.=18",    "с 7 августа 2002 г.=21",     "с 9 апреля 2002 г.=23",
        "с 4 ноября 2000 г.=25",      "с 10 июля 2000 г.=28",       "с 21 марта 2000 г.=33",
        "с 7 марта 2000 г.=38",       "с 24 января 2000 г.=45",     "с 10 июня 1999 г.=55",
    };
    QByteArray bytes;
    QStringEncoder cp1251("windows-1251");
    for (const char *l : lines)
        bytes += QByteArray(cp1251(QString::fromUtf8(l))) + "\r\n";
    return bytes;
}

// Each test gets its own home, so settings and data never leak between them.
class Home {
public:
    Home() : oldCwd_(QDir::currentPath()) {
        qputenv("HOME", dir_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir_.path() + "/config").toUtf8());
        qputenv("XDG_DATA_HOME", (dir_.path() + "/data").toUtf8());
    }
    ~Home() { QDir::setCurrent(oldCwd_); }
    QString path(const QString &rel) const { return dir_.path() + u'/' + rel; }
    QString dataFolder() const { return path(QStringLiteral("data/Долгомер")); }

private:
    QTemporaryDir dir_;
    QString oldCwd_;
};

} // namespace

class TestStorage : public QObject {
    Q_OBJECT
private slots:
    void settingsRoundTrip();
    void settingsMissingKey();
    void settingsUnwritable();
    void encodeFile();
    void decodeFile_data();
    void decodeFile();
    void loadAndSave();
    void loadRepeatedKeys();
    void loadLargeFiles();
    void saveFailuresKeepTheFile();
    void startupFirstRun();
    void startupLaterRuns();
    void startupFileGone();
    void startupUnreadableFile();
    void startupLostSettings_data();
    void startupLostSettings();
    void settingsReadLikeIni();
};

void TestStorage::settingsRoundTrip() {
    Home home;
    QVERIFY(!settingExists(kSettingsKey, false, QStringLiteral("patch")));
    writeSetting(kSettingsKey, true, QStringLiteral("patch"), QStringLiteral("/путь/stavki.txt"));
    writeSetting(kSettingsKey, false, QStringLiteral("k_stav"), QStringLiteral("360"));
    const QString odd = QStringLiteral(" a=b\\c\nd\r;#[x] ");
    writeSetting(kSettingsKey, false, QStringLiteral("dogovor"), odd);
    QVERIFY(settingExists(kSettingsKey, false, QStringLiteral("patch")));
    QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("patch")),
             QStringLiteral("/путь/stavki.txt"));
    QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("dogovor")), odd);
    QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("missing")), QString());

    // One readable section per key path, in UTF-8.
    const QString ini = QString::fromUtf8(readBytes(settingsFilePath()));
    QVERIFY2(ini.contains(QStringLiteral("[Software\\Долгомер]\n")), qPrintable(ini));
    QVERIFY(ini.contains(QStringLiteral("k_stav=360\n")));
    QCOMPARE(settingsFilePath(), home.path(QStringLiteral("config/Долгомер/registry.ini")));
}

void TestStorage::settingsMissingKey() {
    Home home;
    const QString ie = QStringLiteral("Software\\Microsoft\\Internet Explorer\\Main");
    QVERIFY_THROWS_EXCEPTION(AppError,
                             writeSetting(ie, false, QStringLiteral("x"), QStringLiteral("no")));
    QCOMPARE(readSetting(ie, false, QStringLiteral("x")), QString());
    QVERIFY(!settingExists(ie, false, QStringLiteral("x")));

    // Creating a key creates every level; an empty key still exists afterwards.
    QVERIFY(!settingExists(ie, true, QStringLiteral("x")));
    writeSetting(QStringLiteral("Software\\Microsoft"), false, QStringLiteral("y"),
                 QStringLiteral("1"));
    writeSetting(ie, false, QStringLiteral("x"), QStringLiteral("yes"));
    QCOMPARE(readSetting(ie, false, QStringLiteral("x")), QStringLiteral("yes"));
    QVERIFY(!settingExists(kSettingsKey, false, QStringLiteral("x")));
}

void TestStorage::settingsUnwritable() {
    Home home;
    // A file where the store's folder should be: nothing can be written there.
    writeBytes(home.path(QStringLiteral("config")), "not a folder");
    QVERIFY_THROWS_EXCEPTION(AppError, writeSetting(kSettingsKey, true, QStringLiteral("k_stav"),
                                                    QStringLiteral("360")));
    QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("k_stav")), QString());
}

void TestStorage::encodeFile() {
    QCOMPARE(encodeRateFile(RateTable::builtIn().lines()), expectedHistoryBytes());
    QCOMPARE(encodeRateFile({}), QByteArray());
    QCOMPARE(encodeRateFile({QString()}), QByteArray("\r\n"));
}

void TestStorage::decodeFile_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QByteArray("a=1\r\nb=2\r\n") << QStringList{"a=1", "b=2"};
    QTest::newRow("no final line end") << QByteArray("a=1\r\nb=2") << QStringList{"a=1", "b=2"};
    QTest::newRow("LF and CR") << QByteArray("a=1\nb=2\rc=3") << QStringList{"a=1", "b=2", "c=3"};
    QTest::newRow("empty line inside")
        << QByteArray("a=1\r\n\r\nb=2\r\n") << QStringList{"a=1", "", "b=2"};
    QTest::newRow("LF CR is two line ends")
        << QByteArray("a=1\n\rb=2") << QStringList{"a=1", "", "b=2"};
    QTest::newRow("NUL ends the text")
        << QByteArray("a=1\r\nb=2\0c=3\r\n", 15) << QStringList{"a=1", "b=2"};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    QTest::newRow("a lone line end") << QByteArray("\r\n") << QStringList{""};
    QTest::newRow("code page 1251")
        << QByteArray("\xf1 1 \xff\xed\xe2\xe0\xf0\xff=9") << QStringList{"с 1 января=9"};
}

void TestStorage::decodeFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(decodeRateFile(bytes), lines);
}

void TestStorage::loadAndSave() {
    Home home;
    const QString path = home.path(QStringLiteral("stavki.txt"));
    saveRateFile(path, RateTable::builtIn());
    QCOMPARE(readBytes(path), expectedHistoryBytes());
    RateTable t;
    loadRateFile(path, t);
    QCOMPARE(t.lines(), RateTable::builtIn().lines());

    saveRateFile(path, RateTable());
    QCOMPARE(QFileInfo(path).size(), 0);
    loadRateFile(path, t);
    QCOMPARE(t.count(), 0);
}

void TestStorage::loadRepeatedKeys() {
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

void TestStorage::loadLargeFiles() {
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
    QVERIFY_THROWS_EXCEPTION(RateFileUnreadable, loadRateFile(home.path(QString()), t));
    QCOMPARE(t.count(), 100001);
}

void TestStorage::saveFailuresKeepTheFile() {
    Home home;
    const QString path = home.path(QStringLiteral("stavki.txt"));
    saveRateFile(path, RateTable::builtIn());

    QVERIFY_THROWS_EXCEPTION(AppError, saveRateFile(home.path(QStringLiteral("missing/stavki.txt")),
                                                    RateTable::builtIn()));
    QVERIFY_THROWS_EXCEPTION(AppError, saveRateFile(QString(), RateTable::builtIn()));

    // A write that fails half-way (here: the file size limit) must leave the
    // last good file whole. Permissions would not stop a test running as root.
    RateTable big;
    QStringList lines;
    for (int i = 0; i < 10000; ++i)
        lines << QStringLiteral("с %1=1").arg(i);
    big.setLines(lines);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    bool raised = false;
    try {
        saveRateFile(path, big);
    } catch (const AppError &e) {
        raised = true;
        QVERIFY(e.message().contains(QDir::toNativeSeparators(path)));
    }
    setrlimit(RLIMIT_FSIZE, &old);
    QVERIFY(raised);
    QCOMPARE(readBytes(path), expectedHistoryBytes());
    QCOMPARE(QDir(home.path(QString())).entryList(QDir::Files), QStringList{"stavki.txt"});

    if (geteuid() != 0) {
        QFile::setPermissions(home.path(QString()), QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY_THROWS_EXCEPTION(AppError, saveRateFile(path, big));
        QFile::setPermissions(home.path(QString()),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(readBytes(path), expectedHistoryBytes());
    }
}

void TestStorage::startupFirstRun() {
    Home home;
    RateTable t = RateTable::builtIn();
    QString path;
    openRateStorage(t, path);
    const QString expected = home.dataFolder() + QStringLiteral("/stavki.txt");
    QCOMPARE(path, expected);
    QCOMPARE(readBytes(expected), expectedHistoryBytes());
    QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("patch")), expected);
    QCOMPARE(QDir::currentPath(), home.dataFolder());
}

void TestStorage::startupLaterRuns() {
    Home home;
    RateTable first = RateTable::builtIn();
    QString path;
    openRateStorage(first, path);
    QStringEncoder cp1251("windows-1251");
    writeBytes(path,
               cp1251(QStringLiteral("с 1 января 2011 г.=7,75\r\nс 28 декабря 2009 г.=8.75 \r\n")));

    RateTable t = RateTable::builtIn();
    QString again;
    openRateStorage(t, again);
    QCOMPARE(again, path);
    QCOMPARE(t.lines(), (QStringList{"с 1 января 2011 г.=7,75", "с 28 декабря 2009 г.=8.75 "}));
    QCOMPARE(QDir::currentPath(), home.path(QStringLiteral("data")));
}

void TestStorage::startupFileGone() {
    Home home;
    RateTable t = RateTable::builtIn();
    QString path;
    openRateStorage(t, path);
    QFile::remove(path);
    QDir(home.dataFolder()).removeRecursively();

    QString again;
    openRateStorage(t, again);
    QCOMPARE(again, path);
    QCOMPARE(readBytes(path), expectedHistoryBytes());

    // The file's folder is not recreated unless it is the data folder: the
    // save then fails with a clear error, and the data folder exists.
    const QString elsewhere = home.path(QStringLiteral("data/elsewhere/stavki.txt"));
    writeSetting(kSettingsKey, false, QStringLiteral("patch"), elsewhere);
    QDir(home.dataFolder()).removeRecursively();
    QString third;
    QVERIFY_THROWS_EXCEPTION(AppError, openRateStorage(t, third));
    QCOMPARE(third, elsewhere);
    QVERIFY(QFileInfo(home.dataFolder()).isDir());
}

void TestStorage::startupUnreadableFile() {
    Home home;
    RateTable first = RateTable::builtIn();
    QString path;
    openRateStorage(first, path);
    // Too large to be a rate file (sparse, so it costs no disk).
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.resize(65 * 1024 * 1024));
    f.close();

    RateTable t = RateTable::builtIn();
    QString again = QStringLiteral("unset");
    QVERIFY_THROWS_EXCEPTION(RateFileUnreadable, openRateStorage(t, again));
    QVERIFY(again.isEmpty());
    QCOMPARE(t.count(), 33);
    // Saving the stand-in table must not overwrite the user's file.
    QVERIFY_THROWS_EXCEPTION(AppError, saveRateFile(again, t));
    QCOMPARE(QFileInfo(path).size(), 65 * 1024 * 1024);
}

void TestStorage::startupLostSettings_data() {
    QTest::addColumn<QByteArray>("settings"); // what the settings file becomes; null: deleted
    QTest::newRow("settings file deleted") << QByteArray();
    QTest::newRow("patch written with blanks") << QByteArray("[Software\\Долгомер]\n"
                                                             "  patch = %1  \n");
    QTest::newRow("patch empty") << QByteArray("[Software\\Долгомер]\npatch=\n");
    QTest::newRow("section without patch") << QByteArray(" [ Software\\Долгомер ] \nk_stav=300\n");
}

// A hand-made table survives whatever happens to the settings store.
void TestStorage::startupLostSettings() {
    QFETCH(QByteArray, settings);
    Home home;
    RateTable first = RateTable::builtIn();
    QString path;
    openRateStorage(first, path);
    const QByteArray handMade =
        QStringEncoder("windows-1251")(QStringLiteral("с 1 января 2011 г.=7,75\r\n"));
    writeBytes(path, handMade);
    if (settings.isNull())
        QVERIFY(QFile::remove(settingsFilePath()));
    else
        writeBytes(settingsFilePath(), QString::fromUtf8(settings).replace("%1", path).toUtf8());

    RateTable t = RateTable::builtIn();
    QString again;
    openRateStorage(t, again);
    QCOMPARE(again, path);
    QCOMPARE(t.lines(), QStringList{"с 1 января 2011 г.=7,75"});
    QCOMPARE(readBytes(path), handMade);
    QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("patch")), path);
    QCOMPARE(readBytes(settingsFilePath()).count("patch"), 1);
}

void TestStorage::settingsReadLikeIni() {
    Home home;
    writeSetting(kSettingsKey, true, QStringLiteral("k_stav"), QStringLiteral("360"));
    writeBytes(settingsFilePath(), "\t[Software\\Долгомер]  \n"
                                   "  patch =  /data/stavki.txt \t\n"
                                   "k_stav=300\n"
                                   " update_url = http://127.0.0.1/x \n");
    QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("patch")),
             QStringLiteral("/data/stavki.txt"));
    QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("update_url")),
             QStringLiteral("http://127.0.0.1/x"));
    // Writing a value read that way replaces it: one line, not a second one.
    writeSetting(kSettingsKey, false, QStringLiteral("patch"), QStringLiteral("/other"));
    QCOMPARE(readBytes(settingsFilePath()).count("patch"), 1);
    QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("patch")), QStringLiteral("/other"));
    QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("k_stav")), QStringLiteral("300"));
    // Blanks the program itself writes at either end are kept.
    for (const QString &value : {QStringLiteral(" 300"), QStringLiteral("300 \t"),
                                 QStringLiteral("  "), QStringLiteral("a\\ ")}) {
        writeSetting(kSettingsKey, false, QStringLiteral("dogovor"), value);
        QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("dogovor")), value);
    }
}

QTEST_GUILESS_MAIN(TestStorage)
#include "tst_storage.moc"
