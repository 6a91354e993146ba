// SPDX-License-Identifier: GPL-3.0-or-later
// What the window does when it starts: the first run's rate file, stored data
// that cannot be used, and the parts it makes only when first wanted.
#include "storage/ratefile.h"
#include "storage/settings.h"
#include "storagetest.h"

#include <QFile>
#include <QTest>
#include <QTextEdit>

#include "windowtest.h"

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void init() { env_.start(); }
    void cleanup() { env_.stop(); }
    void startUp();
    void panelsAreMadeWhenFirstWanted();
    void choosingARowAsItStandsWritesNothing();
    void firstStartOnAFullDisk();
    void badStoredData_data();
    void badStoredData();

private:
    Window &open() { return env_.open(); }
    WindowEnv env_;
    ScriptedBoxes &boxes_ = env_.boxes;
};

void TestStartup::startUp() {
    Window &f = open();
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Долгомер — расчет процентов и пеней"));
    QCOMPARE(f.periodStart->date(), QDate::currentDate());
    QCOMPARE(f.periodEnd->date(), QDate::currentDate());
    for (const ui::HoverIcon *icon : {f.calculateIcon, f.closeIcon, f.printIcon})
        QVERIFY(icon->isVisible() && !icon->isLit());
    QVERIFY(f.picture->isVisible());
    QCOMPARE(f.picture->geometry(), QRect(336, 24, 249, 259));
    QVERIFY(f.picture->pixmap().width() <= 249 && f.picture->pixmap().height() <= 259);
    QVERIFY(!f.picture->pixmap().isNull());
    QCOMPARE(f.window.outerHeight(), 284 + 20 + 42);
    QCOMPARE(f.reportBox->toPlainText(), QString());
    QCOMPARE(f.reportBox->width(), 465);
    QCOMPARE(f.printIcon->pos(), QPoint(481, 370));
    QCOMPARE(f.printLink->pos(), QPoint(519, 376));
    QCOMPARE(f.contactLink->y(), 4);
    // A build given no address (the default) offers no placeholder to write to.
    ui::MainWindow plain(&boxes_, nullptr, QString());
    QVERIFY(!plain.findChild<QLabel *>(QStringLiteral("contactLink")));
    for (const QLabel *label : plain.findChildren<QLabel *>())
        QVERIFY(label->text() != QStringLiteral("Для связи:"));
    QCOMPARE(f.rateField->text(), QStringLiteral("8,75"));
    QCOMPARE(f.debtField->selectedText(), QStringLiteral("0,00"));
    QVERIFY(f.ratePanel->isHidden() && f.rateEditor->isHidden());
    QVERIFY(boxes_.shown.isEmpty());
    // The first run leaves the rate file and its path in the settings.
    const QString path = env_.rateFile();
    QCOMPARE(f.rateFilePath(), path);
    QCOMPARE(fileBytes(path), storage::encodeRateFile(rates::RateTable::builtIn().lines()));
    QCOMPARE(storage::readSetting(storage::kSettingsKey, false, QStringLiteral("patch")), path);
}

// The start-up lookup chooses a row before the rate panel exists; the panel
// made later shows that row, and the editor the chosen entry.
void TestStartup::panelsAreMadeWhenFirstWanted() {
    ui::MainWindow &window = env_.openWindow();
    QVERIFY(!window.findChild<QFrame *>(QStringLiteral("ratePanel")));
    QVERIFY(!window.findChild<QFrame *>(QStringLiteral("rateEditor")));
    QVERIFY(!window.findChild<QWidget *>(QStringLiteral("updateLink")));
    QVERIFY(!window.findChild<QWidget *>(QStringLiteral("statutoryBox")));
    QVERIFY(!window.findChild<QWidget *>(QStringLiteral("contractualBox")));
    named<ui::DatePicker>(&window, "periodEnd")->setDate(QDate(2009, 12, 1));
    // The statutory mode is on, with the looked-up rate, before its group exists.
    window.calculate();
    const QStringList report = named<QTextEdit>(&window, "reportBox")->toPlainText().split(u'\n');
    QCOMPARE(report.value(1), QStringLiteral("Ставка рефинансирования: 9%"));
    QVERIFY(report.value(3).endsWith(QStringLiteral(" / 36000 = 0,00 руб.")));
    QVERIFY(!window.findChild<QWidget *>(QStringLiteral("statutoryBox")));
    QCOMPARE(named<ui::RateModes>(&window, "rateModes")->refinancingRateField()->text(),
             QStringLiteral("9"));
    const int row = named<ui::RatePanel>(&window, "rateList")->selectedRow();
    QCOMPARE(row, 2);
    QVERIFY(!window.findChild<QFrame *>(QStringLiteral("ratePanel")));
    QTest::mouseClick(named<ui::RateModes>(&window, "rateModes")->refinancingRateField(),
                      Qt::LeftButton);
    QVERIFY(named<ui::RatePanel>(&window, "rateList")->isOpen());
    QCOMPARE(named<ui::RatePanel>(&window, "rateList")->grid()->selectedRow(), row);
    QVERIFY(named<ui::LinkLabel>(&window, "updateLink")->isVisible());
    QCOMPARE(named<ui::RateModes>(&window, "rateModes")->refinancingRateField()->text(),
             QStringLiteral("9"));
    named<ui::RateEditor>(&window, "rateEditing")->startEditing();
    QCOMPARE(named<ui::RateEditor>(&window, "rateEditing")->entryDate()->date(),
             QDate(2009, 11, 25));
    QCOMPARE(named<ui::RateEditor>(&window, "rateEditing")->entryRate()->text(),
             QStringLiteral("9"));
    QVERIFY(boxes_.shown.isEmpty());
}

// Choosing a row whose rate is already in normal form changes nothing, so the
// file is not written (a start chooses rows too); a rate that the choice
// normalises is a change and is written.
void TestStartup::choosingARowAsItStandsWritesNothing() {
    Window &f = open();
    // A line another program added meanwhile: nothing of ours overwrites it.
    const QByteArray marker = fileBytes(env_.rateFile()) + cp1251({"с 1 января 2011 г.=7,75"});
    writeFile(env_.rateFile(), marker);
    f.panel->selectRow(2); // "с 25 ноября 2009 г. =9"
    QCOMPARE(fileBytes(env_.rateFile()), marker);
    QCOMPARE(f.rateField->text(), QStringLiteral("9"));
    f.panel->selectRow(3); // "с 30 октября 2009 г.=9,5 "
    QCOMPARE(f.table().rate(2), QStringLiteral("9,5"));
    QCOMPARE(f.table().lines().last(), QStringLiteral("с 1 января 2011 г.=7,75"));
    QCOMPARE(fileBytes(env_.rateFile()), storage::encodeRateFile(f.table().lines()));
}

// The first start cannot write the rate file: the user is told, and no
// half-written file is left to be read as the table next time.
void TestStartup::firstStartOnAFullDisk() {
    {
        FileSizeLimit limit(512);
        open();
    }
    QCOMPARE(boxes_.shown.size(), 1);
    QVERIFY2(boxes_.shown[0].text.contains(QStringLiteral("stavki.txt")),
             qPrintable(boxes_.shown[0].text));
    QVERIFY(!QFile::exists(env_.rateFile()));
}

void TestStartup::badStoredData_data() {
    QTest::addColumn<QByteArray>("rateFile");
    QTest::addColumn<bool>("blockSettings");
    QTest::addColumn<QString>("message");
    QTest::newRow("repeated key") << QByteArray("a=1\r\nA=2\r\n") << false << "\"A\"";
    QTest::newRow("key with no date") << QByteArray("x=1\r\ny=2\r\n") << false << "\"x\"";
    QTest::newRow("random bytes") << QByteArray("\x01\xff=\0\x80\r\r\n=", 10) << false
                                  << "нулевые байты";
    QTest::newRow("UTF-8") << QByteArray("с 1 января 2010 г.=7\r\nс 1 мая 2009 г.=9\r\n") << false
                           << "";
    QTest::newRow("unwritable settings store") << QByteArray() << true << "registry.ini";
    // Told as the command line tells it, by the same rules.
    QTest::newRow("too large to be a rate file") << QByteArray("70 MB") << false << "слишком велик";
    QTest::newRow("a negative rate in force")
        << QByteArray("\xf1 1 \xff\xed\xe2\xe0\xf0\xff 2010 \xe3.=-5,00\r\n"
                      "\xf1 1 \xec\xe0\xff 2009 \xe3.=9\r\n")
        << false << "нет ставки, которую можно применить";
}

void TestStartup::badStoredData() {
    QFETCH(QByteArray, rateFile);
    QFETCH(bool, blockSettings);
    QFETCH(QString, message);
    const QString dataDir = env_.path(QStringLiteral("data/Долгомер"));
    const QString path = dataDir + QStringLiteral("/stavki.txt");
    if (blockSettings) {
        QFile blocker(env_.path(QStringLiteral("config")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    } else {
        plantRateFile(path, rateFile);
        storage::writeSetting(storage::kSettingsKey, true, QStringLiteral("patch"), path);
    }
    Window &f = open();
    QVERIFY(f.window.isVisible());
    if (message.isEmpty()) {
        QVERIFY(boxes_.shown.isEmpty());
    } else {
        // The lookup's error comes last, after any row it selected on the way.
        QVERIFY(!boxes_.shown.isEmpty());
        QVERIFY2(boxes_.shown.last().text.contains(message), qPrintable(boxes_.shown.last().text));
    }
    QVERIFY(!f.rateField->text().contains(u'-'));
    // The window still calculates.
    f.rateField->setText(QStringLiteral("8,75"));
    f.window.calculate();
    QCOMPARE(f.reportBox->toPlainText().split(u'\n').size(), 6);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
