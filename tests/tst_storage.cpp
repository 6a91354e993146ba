// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/claimfields.h"
#include "common/apperror.h"
#include "storage/claimfile.h"
#include "storage/ratefile.h"
#include "storage/regularfile.h"
#include "storage/savedfile.h"
#include "storage/settings.h"

#include "storagetest.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <cerrno>
#include <cstring>

using namespace storage;

class TestStorage : public QObject {
    Q_OBJECT
private slots:
    void settingsRoundTrip();
    void settingsMissingKey();
    void settingsUnwritable();
    void encodeFile();
    void decodeFile_data();
    void decodeFile();
    void saveFailuresKeepTheFile();
    void settingsReadLikeIni();
    void claimSavedAndReopened();
    void claimFilesRefused_data();
    void claimFilesRefused();
    void placesThatAreNoFiles_data();
    void placesThatAreNoFiles();
    void writersRule_data();
    void writersRule();
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
    QCOMPARE(encodeRateFile(builtInLines()), expectedHistoryBytes());
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
    // What every Linux editor writes, with or without a BOM.
    QTest::newRow("UTF-8") << QByteArray("с 1 января=9\r\n") << QStringList{"с 1 января=9"};
    QTest::newRow("UTF-8 with a BOM")
        << QByteArray("\xEF\xBB\xBFс 1 января=9\n") << QStringList{"с 1 января=9"};
    QTest::newRow("code page 1251 that looks like UTF-8 at first")
        << QByteArray("\xd0\xa0 \xf1=9") << QStringList{"Р\u00a0 с=9"};
}

void TestStorage::decodeFile() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(decodeRateFile(bytes), lines);
}

void TestStorage::saveFailuresKeepTheFile() {
    Home home;
    const QString path = home.path(QStringLiteral("stavki.txt"));
    writeRateFile(path, builtInLines());

    QVERIFY_THROWS_EXCEPTION(
        AppError, writeRateFile(home.path(QStringLiteral("missing/stavki.txt")), builtInLines()));
    QVERIFY_THROWS_EXCEPTION(AppError, writeRateFile(QString(), builtInLines()));

    // A write that fails half-way must leave the last good file whole: a large
    // one, and a small one that fits a write buffer and would fail only when
    // the buffer goes to disk.
    QStringList big;
    for (int i = 0; i < 10000; ++i)
        big << QStringLiteral("с %1=1").arg(i);
    QStringList small = builtInLines();
    small.prepend(QStringLiteral("с 1 января 2011 г.=7,75"));
    for (const QStringList &lines : {big, small}) {
        FileSizeLimit limit(512);
        try {
            writeRateFile(path, lines);
            QFAIL("a failed write was reported as done");
        } catch (const AppError &e) {
            // The system's own reason, however far the write got.
            QVERIFY2(e.message().contains(QDir::toNativeSeparators(path)) &&
                         e.message().contains(QString::fromLocal8Bit(strerror(EFBIG))),
                     qPrintable(e.message()));
        }
    }
    QCOMPARE(readBytes(path), expectedHistoryBytes());
    QCOMPARE(QDir(home.path(QString())).entryList(QDir::Files), QStringList{"stavki.txt"});

    // The settings store likewise: a value that cannot reach the disk is an
    // error, and the stored ones stay.
    writeSetting(kSettingsKey, true, QStringLiteral("k_stav"), QStringLiteral("300"));
    {
        FileSizeLimit limit(10);
        QVERIFY_THROWS_EXCEPTION(
            AppError,
            writeSetting(kSettingsKey, false, QStringLiteral("dogovor"), QStringLiteral("0,2")));
    }
    QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("k_stav")), QStringLiteral("300"));

    if (geteuid() != 0) {
        QFile::setPermissions(home.path(QString()), QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY_THROWS_EXCEPTION(AppError, writeRateFile(path, big));
        QFile::setPermissions(home.path(QString()),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(readBytes(path), expectedHistoryBytes());
    }
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
    for (const QString &value :
         {QStringLiteral(" 300"), QStringLiteral("300 \t"), QStringLiteral("  "),
          QStringLiteral("a\\ "), QStringLiteral("\"0,5\""), QStringLiteral("\"")}) {
        writeSetting(kSettingsKey, false, QStringLiteral("dogovor"), value);
        QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("dogovor")), value);
    }

    // As the registry reads: a section name in another letter case is the same
    // section, a section written twice is one, and a value in quotes is read
    // without them.
    writeBytes(settingsFilePath(), "[software\\долгомер]\n"
                                   "patch = \"/q/hand/stavki.txt\"\n"
                                   "[SOFTWARE\\Долгомер]\n"
                                   "k_stav=\"300\"\n");
    QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("patch")),
             QStringLiteral("/q/hand/stavki.txt"));
    QCOMPARE(readSetting(kSettingsKey, false, QStringLiteral("k_stav")), QStringLiteral("300"));
    writeSetting(kSettingsKey, true, QStringLiteral("dogovor"), QStringLiteral("0,2"));
    const QByteArray merged = readBytes(settingsFilePath());
    QCOMPARE(merged.count("["), 1);
    QVERIFY2(merged.contains("dogovor=0,2") && merged.contains("k_stav=300"), merged.constData());
}

// A claim saved and opened again gives the same report, byte for byte.
void TestStorage::claimSavedAndReopened() {
    Home home;
    calc::PeriodInput c;
    c.debt = QStringLiteral("100000,00");
    c.start = QDate(2022, 3, 1);
    c.end = QDate(2022, 10, 31);
    c.court = calc::Court::GeneralJurisdiction;
    c.filed = QDate(2026, 12, 7);
    c.count = calc::PeriodCount::KeyFraction;
    c.fraction = 150;
    c.rateDate = QDate(2022, 6, 1);
    c.moratorium = false;
    c.arose = QDate(2022, 2, 20);
    c.payments = {{QDate(2022, 6, 10), QStringLiteral("5000,00")}};
    c.increases = {{QDate(2022, 8, 1), QStringLiteral("20000,00"), QDate(2022, 3, 25)}};
    const QString path = home.path(QStringLiteral("Иванов.dolgomer"));
    saveClaim(path, c);
    calc::PeriodInput back = loadClaim(path);
    QVERIFY(back.rates.isEmpty()); // counted with the table of the day it is opened
    c.rates = back.rates = {{QDate(2022, 2, 28), QStringLiteral("20")},
                            {QDate(2022, 4, 11), QStringLiteral("17")}};
    QCOMPARE(calc::calculatePeriods(back).lines, calc::calculatePeriods(c).lines);
    QCOMPARE(encodeClaim(back), readBytes(path));
    QCOMPARE(back.arose, c.arose);
    QCOMPARE(back.increases.value(0).arose, QDate(2022, 3, 25));
    // A file of format 1, before the day a debt arose was kept, reads as it did.
    QJsonObject first = QJsonDocument::fromJson(readBytes(path)).object();
    first.insert("version", 1);
    first.insert("count", "key_fraction"); // what is counted, by the older names
    first.remove("basis");
    for (const char *later :
         {"arose", "charges", "rate_day", "due_day", "shift", "moratorium_2020", "court_order"})
        first.remove(QLatin1String(later));
    first.insert("increases", QJsonArray{QJsonObject{{"date", "2022-08-01"}, {"amount", "1,00"}}});
    QVERIFY(decodeClaim(QJsonDocument(first).toJson()).arose.isNull());
    // A housing claim keeps its charges, named payments and settings.
    c.count = calc::PeriodCount::Housing;
    c.increases.clear();
    c.charges = {{QDate(2022, 1, 1), QStringLiteral("3000,00")}};
    c.payments[0].month = QDate(2022, 1, 1);
    c.rateDay = calc::RateDay::EachDay;
    c.dueDay = 25;
    c.shift = c.moratorium2020 = false;
    back = decodeClaim(encodeClaim(c));
    back.rates = c.rates;
    QCOMPARE(calc::calculatePeriods(back).lines, calc::calculatePeriods(c).lines);
    // Each count and its figures come back.
    c.count = calc::PeriodCount::Contractual;
    c.dailyPercent = QStringLiteral("0,5");
    c.rateDate = QDate();
    back = decodeClaim(encodeClaim(c));
    QCOMPARE(back.count, calc::PeriodCount::Contractual);
    QCOMPARE(back.dailyPercent, QStringLiteral("0,5"));
    QVERIFY(back.rateDate.isNull());
    // A file that cannot be written is said so, and the old one stays.
    {
        FileSizeLimit limit(100);
        QVERIFY_THROWS_EXCEPTION(AppError, saveClaim(path, c));
    }
    QCOMPARE(loadClaim(path).count, calc::PeriodCount::KeyFraction);
}

void TestStorage::claimFilesRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("told");
    const QByteArray good = encodeClaim([] {
        calc::PeriodInput c;
        c.debt = QStringLiteral("1,00");
        c.start = c.end = c.filed = QDate(2024, 1, 1);
        return c;
    }());
    QTest::newRow("not JSON") << QByteArray("\x00\xff{", 3) << "это не файл расчета";
    QTest::newRow("another program's JSON") << QByteArray("{\"a\": 1}") << "это не файл расчета";
    QTest::newRow("a newer format") << QByteArray(good).replace("\"version\": 4", "\"version\": 7")
                                    << "более новой версией программы (формат 7";
    QTest::newRow("a newer format past 32 bits")
        << QByteArray(good).replace("\"version\": 4", "\"version\": 99999999999")
        << "более новой версией программы (формат 99999999999";
    QTest::newRow("a JSON array") << QByteArray("[1, 2]") << "в нем список JSON, а не объект";
    QTest::newRow("an unknown key")
        << QByteArray(good).replace("\"debt\"", "\"dept\"") << "неизвестный ключ \"dept\"";
    QTest::newRow("a key written twice")
        << QByteArray(good).replace("\"debt\": \"1,00\"", "\"debt\": \"1,00\", \"debt\": \"9,00\"")
        << "ключ \"debt\" записан дважды";
    QTest::newRow("a bad date") << QByteArray(good).replace("2024-01-01", "2024-02-30")
                                << "\"start\": \"2024-02-30\" — не дата";
    QTest::newRow("a date and more") << QByteArray(good).replace("2024-01-01", "2024-01-01x")
                                     << "\"start\": \"2024-01-01x\" — не дата вида ГГГГ-ММ-ДД";
    QTest::newRow("a date and a time")
        << QByteArray(good).replace("2024-01-01", "2024-01-01T10:00") << "— не дата вида";
    QTest::newRow("the next format, whatever it holds")
        << QByteArray(good).replace("\"version\": 4", "\"version\": 5").replace("\"debt\"", "\"x\"")
        << "более новой версией программы (формат 5";
    QTest::newRow("a party of two lines")
        << QByteArray(good).replace("\"court\":", "\"debtor\": \"ООО\\nЛютик\", \"court\":")
        << "\"debtor\": управляющий символ";
    QTest::newRow("a party in format 3")
        << QByteArray(good)
               .replace("\"version\": 4", "\"version\": 3")
               .replace("\"court\":", "\"debtor\": \"ООО Лютик\", \"court\":")
        << "неизвестный ключ \"debtor\"";
    QTest::newRow("an unknown court")
        << QByteArray(good).replace("arbitration", "supreme") << "\"court\": неизвестное значение";
    QTest::newRow("an unknown basis (once read as the statutory interest)")
        << QByteArray(good).replace("\"basis\": \"395\"", "\"basis\": \"penalty\"")
        << "\"basis\": неизвестное значение \"penalty\"";
    QTest::newRow("an unknown count of format 2")
        << QByteArray(good)
               .replace("\"version\": 4", "\"version\": 2")
               .replace("\"basis\": \"395\"", "\"count\": \"penalty\"")
        << "\"count\": неизвестное значение \"penalty\"";
    QTest::newRow("a count in format 3")
        << QByteArray(good).replace("\"debt\"", "\"count\": \"statutory\", \"debt\"")
        << "неизвестный ключ \"count\"";
    QTest::newRow("the moratorium as a string")
        << QByteArray(good).replace("\"moratorium\": true", "\"moratorium\": \"false\"")
        << "\"moratorium\" должен быть true или false";
    QTest::newRow("the moratorium as a number")
        << QByteArray(good).replace("\"moratorium\": true", "\"moratorium\": 0")
        << "\"moratorium\" должен быть true или false";
    QTest::newRow("payments as an object")
        << QByteArray(good).replace("\"payments\": [\n    ]", "\"payments\": {}")
        << "\"payments\" должен быть списком";
    QTest::newRow("the fraction as a string")
        << QByteArray(good).replace("\"key_fraction\": 300", "\"key_fraction\": \"150\"")
        << "\"key_fraction\" должен быть целым числом от 1 до 1000";
    QTest::newRow("a charge's month that is none")
        << QByteArray(good).replace("\"charges\": [\n    ]",
                                    "\"charges\": [{\"month\": \"2024-13\", \"amount\": \"1\"}]")
        << "\"month\": \"2024-13\" — не месяц";
    calc::PeriodInput many = decodeClaim(good);
    many.payments =
        QList<calc::Payment>(calc::kMaxEntries + 1, {many.start, QStringLiteral("1,00")});
    QTest::newRow("10,001 payments") << encodeClaim(many) << "может быть не больше 10000";
    QByteArray padded = good;
    padded.append(QByteArray(4 * 1024 * 1024 + 1 - good.size(), ' ')); // JSON allows the blanks
    QTest::newRow("a byte past 4 MiB") << padded << "слишком велик для файла расчета";
    QTest::newRow("a debt that is no amount")
        << QByteArray(good).replace("\"1,00\"", "\"1E5\"") << "\"debt\": \"1E5\" — не сумма";
}

void TestStorage::claimFilesRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, told);
    Home home;
    const QString path = home.path(QStringLiteral("claim.dolgomer"));
    if (bytes.size() > 4 * 1024 * 1024) { // exactly the limit is read
        writeBytes(path, bytes.first(bytes.size() - 1));
        QCOMPARE(loadClaim(path).debt, QStringLiteral("1,00"));
    }
    writeBytes(path, bytes);
    try {
        loadClaim(path);
        QFAIL("taken");
    } catch (const AppError &e) {
        QVERIFY2(e.message().contains(told) &&
                     e.message().contains(QStringLiteral("claim.dolgomer")),
                 qPrintable(e.message()));
    }
    QCOMPARE(readBytes(path), bytes); // never written
}

void TestStorage::placesThatAreNoFiles_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("told");
    const char *told[] = {"устройство", "канал", "папка", "кольцо", "несуществующий"};
    for (int i = 0; i < 5; ++i)
        QTest::newRow(kNonFiles[i]) << QString::fromLatin1(kNonFiles[i]) << told[i];
}

// A device never ends, a pipe may never answer, a folder or a broken link is
// no file: every reader refuses them at once, naming the path and why, and
// nothing is ever written through them.
void TestStorage::placesThatAreNoFiles() {
    QFETCH(QString, kind);
    QFETCH(QString, told);
    Home home;
    const QString path = home.path(QStringLiteral("place"));
    plantNonFile(path, kind);
    const QString before = placeSignature(path);
    const PipeUnblocker unblocker(path);
    QCOMPARE(placeAt(path), Place::Other);
    const auto refused = [&](auto read) {
        try {
            read();
        } catch (const AppError &e) {
            return e.message().contains(told) && e.message().contains(path);
        }
        return false;
    };
    QVERIFY(refused([&] { loadClaim(path); }));
    QVERIFY(refused([&] { readRateFileBytes(path); }));
    QVERIFY(refused([&] { writeRateFile(path, {QStringLiteral("с 1 января 2024 г.=16")}); }));
    QFile batch(path);
    QVERIFY(openRegularFile(batch).contains(told) && !batch.isOpen());
    QCOMPARE(placeSignature(path), before);
    QCOMPARE(placeAt(home.path(QStringLiteral("nothing"))), Place::Nothing);
}

void TestStorage::writersRule_data() {
    QTest::addColumn<QString>("place"); // what stands at the name written
    QTest::addColumn<QString>("told");  // "": written
    const char *told[] = {"устройство", "канал", "папка", "кольцо", "несуществующий"};
    for (int i = 0; i < 5; ++i)
        QTest::newRow(kNonFiles[i]) << QString::fromLatin1(kNonFiles[i]) << told[i];
    QTest::newRow("nothing") << "nothing"
                             << "";
    QTest::newRow("a file") << "file"
                            << "";
    QTest::newRow("a read-only file") << "read-only"
                                      << "только для чтения";
    QTest::newRow("a link inside the folder") << "link inside"
                                              << "";
    QTest::newRow("a link out of the folder") << "link outside"
                                              << "за пределы папки";
}

// Every writer (documents, claims, the rate file, attachments) writes a
// regular file or a new one, in the folder the user named.
void TestStorage::writersRule() {
    QFETCH(QString, place);
    QFETCH(QString, told);
    Home home;
    const QString folder = home.path(QStringLiteral("out")), name = folder + "/claim.pdf";
    QVERIFY(QDir().mkpath(folder));
    const QString real = place == u"link outside" ? home.path("elsewhere.pdf") : folder + "/real";
    if (place.startsWith(u"link")) {
        writeBytes(real, "old");
        QVERIFY(QFile::link(real, name));
    } else if (place == u"file" || place == u"read-only") {
        writeBytes(name, "old");
        if (place == u"read-only") QFile::setPermissions(name, QFileDevice::ReadOwner);
    } else if (place != u"nothing") {
        plantNonFile(name, place);
    }
    const QString before = placeSignature(name);
    const PipeUnblocker unblocker(name);
    const QString failed = saveFile(name, "new", folder);
    QVERIFY2(told.isEmpty() ? failed.isEmpty() : failed.contains(told), qPrintable(failed));
    if (place.startsWith(u"link")) {
        QVERIFY(QFileInfo(name).isSymLink()); // the link kept, its target written or not
        QCOMPARE(readBytes(real), told.isEmpty() ? QByteArray("new") : QByteArray("old"));
    } else if (!told.isEmpty()) {
        QCOMPARE(placeSignature(name), before);
        if (place == u"read-only") QCOMPARE(readBytes(name), QByteArray("old"));
    } else {
        QCOMPARE(readBytes(name), QByteArray("new"));
    }
}

QTEST_GUILESS_MAIN(TestStorage)
#include "tst_storage.moc"
