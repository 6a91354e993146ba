#include "Unit1.h"
#include "calc/numtext.h"
#include "rategrid.h"
#include "rates/ratefile.h"
#include "rates/settings.h"

#include <QApplication>
#include <QClipboard>
#include <QDateEdit>
#include <QDesktopServices>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QUrlQuery>
#include <memory>

#include "windowtest.h"

namespace {

const QStringList kWorkedExample = {
    QStringLiteral("Период просрочки: c 01.01.2010 по 30.01.2010 = 30 дн."),
    QStringLiteral("Ставка рефинансирования: 8,75%"),
    QStringLiteral("Cумма долга: 100000,00 руб., в том числе налог 18%: 18000,00 руб."),
    QStringLiteral("Сумма процентов: 100000,00 * 30 * 8,75 / 36000 = 729,17 руб."),
    QStringLiteral("ИТОГО: 100000,00 + 729,17 = 100729,17 руб."),
    QStringLiteral("Государственная пошлина: 3214,58 руб."),
};

} // namespace

class TestWindow : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void startUp();
    void typing_data();
    void typing();
    void pasteIsCut();
    void workedExamples();
    void badRateInTheCalculation();
    void storedDivisor_data();
    void storedDivisor();
    void storedContractRate_data();
    void storedContractRate();
    void modeSwitchesRestoreStoredValues();
    void closingStoresSettings();
    void closingWithAnUnwritableStore();
    void hoverLook();
    void errorText_data();
    void errorText();
    void lookupFollowsTheEndDate();
    void backgroundClickAndContactLink();
    void badStoredData_data();
    void badStoredData();

private:
    TForm1 &open() { return env_.open(); }
    WindowEnv env_;
    ScriptedBoxes &boxes_ = env_.boxes;
};

void TestWindow::init() {
    env_.start();
}

void TestWindow::cleanup() {
    env_.stop();
}

void TestWindow::startUp() {
    TForm1 &f = open();
    QCOMPARE(f.windowTitle(), QStringLiteral("Программа для Долгомер"));
    QCOMPARE(f.DateTimePicker1->date(), QDate::currentDate());
    QCOMPARE(f.DateTimePicker2->date(), QDate::currentDate());
    QVERIFY(f.Image2->isVisible() && f.Image3->isVisible() && f.Image4->isVisible());
    QVERIFY(!f.Image11->isVisible() && !f.Image12->isVisible() && !f.Image13->isVisible());
    int pictures = 0;
    for (QLabel *img : {f.Image1, f.Image6, f.Image7, f.Image9, f.Image14}) {
        if (img->isVisible()) {
            ++pictures;
            QCOMPARE(img->geometry(), QRect(336, 24, 249, 259));
            QVERIFY(img->pixmap().width() <= 249 && img->pixmap().height() <= 259);
        }
    }
    QCOMPARE(pictures, 1);
    QCOMPARE(f.outerHeight(), 284 + 20 + 42);
    QCOMPARE(f.RichEdit1->toPlainText(), QString());
    QCOMPARE(f.RichEdit1->width(), 465);
    QCOMPARE(f.Image4->pos(), QPoint(481, 370));
    QCOMPARE(f.Label12->pos(), QPoint(519, 376));
    QCOMPARE(f.Label19->y(), 4);
    QCOMPARE(f.Edit5->text(), QStringLiteral("8,75"));
    QCOMPARE(f.Edit1->selectedText(), QStringLiteral("0,00"));
    QVERIFY(f.Panel2->isHidden() && f.Panel1->isHidden());
    QVERIFY(boxes_.shown.isEmpty());
    // The first run leaves the rate file and its path in the settings.
    const QString path = env_.rateFile();
    QCOMPARE(f.RateFilePath, path);
    QCOMPARE(fileBytes(path), rates::EncodeRateFile(rates::RateTable::BuiltIn().lines()));
    QCOMPARE(rates::SettingRead(rates::kSettingsKey, false, QStringLiteral("patch")), path);
}

void TestWindow::typing_data() {
    QTest::addColumn<bool>("debtField");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("left");
    QTest::newRow("point becomes comma") << true << "" << 0 << "1.5"
                                         << "1,5"
                                         << "1,50";
    QTest::newRow("refused keys") << true << "12" << 2 << "a- E"
                                  << "12"
                                  << "12,00";
    QTest::newRow("second comma at the end") << true << "12,5" << 4 << ","
                                             << "12,5"
                                             << "12,50";
    QTest::newRow("comma after the 1") << true << "12,5" << 1 << ","
                                       << "1,2"
                                       << "1,20";
    QTest::newRow("emptied debt") << true << "7" << 1 << "\b"
                                  << ""
                                  << "0,00";
    QTest::newRow("emptied rate") << false << "7" << 1 << "\b"
                                  << ""
                                  << "0";
    QTest::newRow("leading comma, debt") << true << "" << 0 << ",5"
                                         << ",5"
                                         << "0,50";
    QTest::newRow("leading comma, rate") << false << "" << 0 << ",5"
                                         << ",5"
                                         << "0,5";
    QTest::newRow("trailing comma, debt") << true << "" << 0 << "12,"
                                          << "12,"
                                          << "12,00";
    QTest::newRow("trailing comma, rate") << false << "" << 0 << "12,"
                                          << "12,"
                                          << "12";
    QTest::newRow("zero rate") << false << "" << 0 << "0,0"
                               << "0,0"
                               << "0";
    QTest::newRow("trailing zero") << false << "" << 0 << "0,10"
                                   << "0,10"
                                   << "0,1";
    QTest::newRow("leading zeros") << false << "" << 0 << "007"
                                   << "007"
                                   << "7";
    QTest::newRow("tiny rate") << false << "" << 0 << "0,00001"
                               << "0,00001"
                               << "1E-5";
    QTest::newRow("13 digits at most") << true << "" << 0 << "12345678901234"
                                       << "1234567890123"
                                       << "1234567890123,00";
    QTest::newRow("8 characters at most") << false << "" << 0 << "0,1234567"
                                          << "0,123456"
                                          << "0,123456";
}

void TestWindow::typing() {
    QFETCH(bool, debtField);
    QFETCH(QString, start);
    QFETCH(int, cursor);
    QFETCH(QString, keys);
    QFETCH(QString, typed);
    QFETCH(QString, left);
    TForm1 &f = open();
    if (!debtField) f.Label11Click(); // the contractual field is shown in its mode
    QLineEdit *edit = debtField ? f.Edit1 : f.Edit6;
    edit->setFocus(Qt::MouseFocusReason);
    edit->setText(start);
    edit->setCursorPosition(cursor);
    for (QChar c : keys) {
        if (c == u'\b')
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClicks(edit, QString(c));
    }
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), typed);
    // Leaving the field normalises it.
    f.TrackBar1->setFocus(Qt::TabFocusReason);
    QCOMPARE(edit->text(), left);
}

void TestWindow::pasteIsCut() {
    TForm1 &f = open();
    f.Edit1->setFocus();
    f.Edit1->clear();
    QApplication::clipboard()->setText(QStringLiteral("12a"));
    f.Edit1->paste();
    QCOMPARE(f.Edit1->text(), QStringLiteral("12"));
    // Ctrl+V arrives as a character and is dropped.
    f.Edit1->clear();
    QTest::keyClick(f.Edit1, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.Edit1->text(), QString());
}

void TestWindow::workedExamples() {
    TForm1 &f = open();
    f.Edit1->setText(QStringLiteral("100000"));
    f.DateTimePicker1->setDate(QDate(2010, 1, 1));
    f.DateTimePicker2->setDate(QDate(2010, 1, 30));
    f.RadioButton2->setChecked(true);
    QTest::mouseClick(f.Label6, Qt::LeftButton);
    QCOMPARE(f.RichEdit1->toPlainText().split(u'\n'), kWorkedExample);
    QCOMPARE(f.outerHeight(), 328 + 117 + 40);
    QCOMPARE(f.Edit1->text(), QStringLiteral("100000,00"));

    // Recalculating from the report's menu gives the same report.
    f.RichEdit1->clear();
    f.N9->trigger();
    QCOMPARE(f.RichEdit1->toPlainText().split(u'\n'), kWorkedExample);

    QTest::mouseClick(f.Label11, Qt::LeftButton);
    f.Edit1->setText(QStringLiteral("50000"));
    f.Edit6->setText(QStringLiteral("0,1"));
    f.DateTimePicker1->setDate(QDate(2010, 3, 1));
    f.DateTimePicker2->setDate(QDate(2010, 3, 31));
    hover(f.Image2); // the highlighted icon is the clickable one
    QTest::mouseClick(f.Image11, Qt::LeftButton);
    const QStringList lines = f.RichEdit1->toPlainText().split(u'\n');
    QCOMPARE(lines.value(1), QStringLiteral("Размер договорной пени: 0,1%"));
    QCOMPARE(lines.value(3),
             QStringLiteral("Сумма процентов: 50000,00 * 31 * 0,1 / 100 = 1550,00 руб."));
    QVERIFY(boxes_.shown.isEmpty());
}

void TestWindow::badRateInTheCalculation() {
    TForm1 &f = open();
    f.Edit5->setText(QStringLiteral("abc"));
    QTest::mouseClick(f.Label6, Qt::LeftButton);
    QCOMPARE(boxes_.shown.size(), 1);
    QCOMPARE(boxes_.shown[0].text, QStringLiteral("'abc' is not a valid floating point value."));
    QCOMPARE(boxes_.shown[0].caption, AppTitle());
    QCOMPARE(boxes_.shown[0].icon, MessageBoxes::Icon::Stop);
    QCOMPARE(f.RichEdit1->toPlainText(), QString());
    QCOMPARE(f.outerHeight(), 485);
    // The window stays usable.
    f.Edit5->setText(QStringLiteral("8,75"));
    QTest::mouseClick(f.Label6, Qt::LeftButton);
    QCOMPARE(f.RichEdit1->toPlainText().split(u'\n').size(), 6);
}

void TestWindow::storedDivisor_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("divisor");
    QTest::newRow("missing") << QString() << 360;
    QTest::newRow("300") << "300" << 300;
    QTest::newRow("0") << "0" << 360;
    QTest::newRow("400") << "400" << 360;
    QTest::newRow("abc") << "abc" << 360;
    QTest::newRow("368 is held at the end") << "368" << 365;
    QTest::newRow("leading blank") << " 300" << 300;
    QTest::newRow("trailing blank") << "300 " << 360;
}

void TestWindow::storedDivisor() {
    QFETCH(QString, stored);
    QFETCH(int, divisor);
    if (!stored.isNull())
        rates::SettingWrite(rates::kSettingsKey, true, QStringLiteral("k_stav"), stored);
    TForm1 &f = open();
    QTest::mouseClick(f.Label10, Qt::LeftButton);
    QCOMPARE(f.TrackBar2->value(), divisor);
    QCOMPARE(f.Label17->text(), QString::number(divisor));
    QVERIFY(!f.GroupBox2->isHidden() && f.GroupBox3->isHidden());
    QCOMPARE(f.GroupBox2->y(), 216);
    QVERIFY(f.Label10->isHidden());
    QCOMPARE(f.Label11->pos(), QPoint(f.GroupBox2->x() + 162, 216 + 42));
    QCOMPARE(f.Label11->palette().color(QPalette::WindowText), QColor(128, 128, 128));
}

void TestWindow::storedContractRate_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("rate");
    QTest::newRow("missing") << QString() << "0,1";
    QTest::newRow("0,25") << "0,25"
                          << "0,25";
    QTest::newRow("500") << "500"
                         << "0,1";
    QTest::newRow("0") << "0"
                       << "0,1";
    QTest::newRow("abc") << "abc"
                         << "0,1";
    QTest::newRow("four digits") << "0,123456"
                                 << "0,1235";
}

void TestWindow::storedContractRate() {
    QFETCH(QString, stored);
    QFETCH(QString, rate);
    if (!stored.isNull())
        rates::SettingWrite(rates::kSettingsKey, true, QStringLiteral("dogovor"), stored);
    TForm1 &f = open();
    QTest::mouseClick(f.Label11, Qt::LeftButton);
    QCOMPARE(f.Edit6->text(), rate);
    QVERIFY(f.GroupBox2->isHidden() && !f.GroupBox3->isHidden());
    QCOMPARE(f.GroupBox3->y(), 216);
    QCOMPARE(f.Label10->pos(), QPoint(f.GroupBox3->x() + 162, 216 + 42));
    // The contractual mode reaches the report.
    QTest::mouseClick(f.Label6, Qt::LeftButton);
    QVERIFY(f.RichEdit1->toPlainText().contains(QStringLiteral("Размер договорной пени: ") + rate));
}

void TestWindow::modeSwitchesRestoreStoredValues() {
    TForm1 &f = open();
    f.Label10Click();
    f.TrackBar2->setValue(300);
    QCOMPARE(f.Label17->text(), QStringLiteral("300"));
    f.Label11Click();
    f.Label10Click();
    QCOMPARE(f.TrackBar2->value(), 360);
    f.TrackBar1->setValue(0);
    QCOMPARE(f.Label21->text(), QStringLiteral("0%"));
    f.Label6Click();
    QVERIFY(f.RichEdit1->toPlainText().contains(QStringLiteral("налог 0%: 0,00 руб.")));
}

void TestWindow::closingStoresSettings() {
    TForm1 &f = open();
    f.Label10Click();
    f.TrackBar2->setValue(300);
    f.Edit6->setText(QStringLiteral("0,25"));
    hover(f.Image3);
    QVERIFY(f.Image12->isVisible());
    QTest::mouseClick(f.Image12, Qt::LeftButton);
    QVERIFY(!f.isVisible());
    QCOMPARE(rates::SettingRead(rates::kSettingsKey, false, QStringLiteral("k_stav")),
             QStringLiteral("300"));
    QCOMPARE(rates::SettingRead(rates::kSettingsKey, false, QStringLiteral("dogovor")),
             QStringLiteral("0,25"));

    // Closed by the window manager instead: nothing is stored.
    TForm1 &g = open();
    g.TrackBar2->setValue(100);
    g.close();
    QCOMPARE(rates::SettingRead(rates::kSettingsKey, false, QStringLiteral("k_stav")),
             QStringLiteral("300"));
}

void TestWindow::closingWithAnUnwritableStore() {
    TForm1 &f = open();
    QFile::remove(rates::SettingsFilePath());
    QDir(QFileInfo(rates::SettingsFilePath()).absolutePath()).removeRecursively();
    QFile blocker(QFileInfo(rates::SettingsFilePath()).absolutePath());
    QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the store's folder belongs
    blocker.close();
    QTest::mouseClick(f.Label7, Qt::LeftButton);
    QCOMPARE(boxes_.shown.size(), 1);
    QCOMPARE(boxes_.shown[0].icon, MessageBoxes::Icon::Stop);
    QVERIFY(!f.isVisible());
}

void TestWindow::hoverLook() {
    TForm1 &f = open();
    const struct {
        QLabel *label, *plain, *lit;
    } pairs[] = {{f.Label6, f.Image2, f.Image11},
                 {f.Label7, f.Image3, f.Image12},
                 {f.Label12, f.Image4, f.Image13}};
    for (const auto &p : pairs) {
        hover(p.label);
        QVERIFY(p.label->font().bold() && p.label->font().underline());
        QVERIFY(p.lit->isVisible() && !p.plain->isVisible());
        leave(p.label);
        QVERIFY(p.label->font().bold() && !p.label->font().underline());
        QVERIFY(p.lit->isVisible()); // leaving the label keeps the icon
        hover(&f);                   // the background resets everything
        QVERIFY(p.plain->isVisible() && !p.lit->isVisible());
        hover(p.plain);
        QVERIFY(p.lit->isVisible() && p.label->font().underline());
    }
    hover(&f);
    for (const auto &p : pairs)
        QVERIFY(p.plain->isVisible() && !p.lit->isVisible() && !p.label->font().underline());
    hover(f.Label19);
    QVERIFY(f.Label19->font().underline() && !f.Label19->font().bold());
    leave(f.Label19);
    QVERIFY(!f.Label19->font().underline());
    // Moving over a control is not moving over the background.
    hover(f.Label6);
    hover(f.Label1);
    QVERIFY(f.Image11->isVisible());
}

void TestWindow::errorText_data() {
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << "Ошибка"
                            << "Ошибка.";
    QTest::newRow("full stop") << "Ошибка."
                               << "Ошибка.";
    QTest::newRow("quote") << "'x' is bad'"
                           << "'x' is bad'";
    QTest::newRow("digit") << "код 5"
                           << "код 5.";
    QTest::newRow("slash, just above the stop") << "a/"
                                                << "a/.";
    QTest::newRow("comma, just below") << "a,"
                                       << "a,";
    QTest::newRow("empty") << ""
                           << "";
}

void TestWindow::errorText() {
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(TForm1::ErrorText(message), shown);
}

void TestWindow::lookupFollowsTheEndDate() {
    TForm1 &f = open();
    f.DateTimePicker2->setDate(QDate(2008, 7, 14));
    QCOMPARE(f.Edit5->text(), QStringLiteral("11,00"));
    f.DateTimePicker2->setDate(QDate(2008, 7, 13));
    QCOMPARE(f.Edit5->text(), QStringLiteral("10,75"));
    QCOMPARE(f.ValueListEditor1->selectedRow(), 14);
    f.DateTimePicker2->setDate(QDate(1999, 1, 1));
    QCOMPARE(f.Edit5->text(), QStringLiteral("55"));
    QVERIFY(boxes_.shown.isEmpty());
}

void TestWindow::badStoredData_data() {
    QTest::addColumn<QByteArray>("rateFile");
    QTest::addColumn<bool>("blockSettings");
    QTest::addColumn<QString>("message");
    QTest::newRow("repeated key") << QByteArray("a=1\r\nA=2\r\n") << false << "\"A\"";
    QTest::newRow("key with no date") << QByteArray("x=1\r\ny=2\r\n") << false << "\"x\"";
    QTest::newRow("random bytes") << QByteArray("\x01\xff=\0\x80\r\r\n=", 10) << false << "";
    QTest::newRow("unwritable settings store") << QByteArray() << true << "registry.ini";
}

void TestWindow::badStoredData() {
    QFETCH(QByteArray, rateFile);
    QFETCH(bool, blockSettings);
    QFETCH(QString, message);
    const QString dataDir = env_.path(QStringLiteral("data/Долгомер"));
    const QString path = dataDir + QStringLiteral("/stavki.txt");
    if (blockSettings) {
        QFile blocker(env_.path(QStringLiteral("config")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    } else {
        QDir().mkpath(dataDir);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(rateFile);
        file.close();
        rates::SettingWrite(rates::kSettingsKey, true, QStringLiteral("patch"), path);
    }
    TForm1 &f = open();
    QVERIFY(f.isVisible());
    if (message.isEmpty()) {
        QVERIFY(boxes_.shown.isEmpty());
    } else {
        // The lookup's error comes last, after any row it selected on the way.
        QVERIFY(!boxes_.shown.isEmpty());
        QVERIFY2(boxes_.shown.last().text.contains(message), qPrintable(boxes_.shown.last().text));
    }
    // The window still calculates.
    f.Edit5->setText(QStringLiteral("8,75"));
    f.Label6Click();
    QCOMPARE(f.RichEdit1->toPlainText().split(u'\n').size(), 6);
}

// Catches the mail link instead of starting a mail program.
class MailCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> opened;
public slots:
    void open(const QUrl &url) { opened.append(url); }
};

void TestWindow::backgroundClickAndContactLink() {
    TForm1 &f = open();
    f.Edit5Click();
    f.N1Click();
    QVERIFY(f.Panel2->isVisible() && f.Panel1->isVisible() && !f.Edit5->isEnabled());
    QTest::mouseClick(&f, Qt::LeftButton, Qt::NoModifier, QPoint(5, 215));
    QVERIFY(f.Panel2->isHidden() && f.Panel1->isHidden() && f.Edit5->isEnabled());
    // A click on a control is not a click on the background.
    f.Edit5Click();
    QTest::mouseClick(f.Label1, Qt::LeftButton);
    QVERIFY(f.Panel2->isVisible());

    MailCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
    f.N1Click();
    QTest::mouseClick(f.Label19, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    QVERIFY(f.Panel2->isHidden() && f.Panel1->isHidden());
    QCOMPARE(catcher.opened.size(), 1);
    const QUrl url = catcher.opened[0];
    QCOMPARE(url.scheme(), QStringLiteral("mailto"));
    QVERIFY(url.path().contains(f.Label19->text()));
    QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
             QStringLiteral("Программа для Долгомер"));
}

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
