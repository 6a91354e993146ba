// The two rate modes, the track bars and storing the settings on close.
#include "Unit1.h"

#include "calc/apperror.h"
#include "calc/numtext.h"
#include "rates/settings.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>

namespace {

const QColor kGrey(128, 128, 128);

// A stored setting that cannot be read counts as missing.
QString storedSetting(const QString &name) {
    try {
        return rates::SettingRead(rates::kSettingsKey, false, name);
    } catch (const AppError &) {
        return QString();
    }
}

// The small grey link back to the other mode, under the shown group box.
void makeSmallLink(QLabel *link, const QWidget *box) {
    link->move(box->x() + 162, box->y() + 42);
    QFont f = link->font();
    f.setPointSize(8);
    f.setBold(false);
    f.setUnderline(false);
    f.setItalic(false);
    link->setFont(f);
    QPalette p = link->palette();
    p.setColor(QPalette::WindowText, kGrey);
    link->setPalette(p);
    link->adjustSize();
    link->show();
}

// A whole decimal number: optional leading blanks, a sign, digits.
bool readInteger(const QString &text, int &value) {
    QStringView rest(text);
    while (!rest.isEmpty() && rest.front() == u' ')
        rest = rest.sliced(1);
    if (rest.isEmpty()) return false;
    for (qsizetype k = 0; k < rest.size(); ++k) {
        const char16_t c = rest[k].unicode();
        const bool sign = k == 0 && (c == u'+' || c == u'-');
        if (!sign && (c < u'0' || c > u'9')) return false;
    }
    bool ok = false;
    value = rest.toInt(&ok);
    return ok;
}

} // namespace

void TForm1::Label10Click() {
    Label10->hide();
    Label11->hide();
    GroupBox3->hide();
    GroupBox2->move(GroupBox2->x(), 216);
    GroupBox2->show();
    makeSmallLink(Label11, GroupBox2);
    int v = 0;
    const bool ok = readInteger(storedSetting(QStringLiteral("k_stav")), v);
    TrackBar2->setValue(ok && v > 0 && v < 370 ? v : 360);
}

void TForm1::Label11Click() {
    GroupBox2->hide();
    Label11->hide();
    Label10->hide();
    FormClick();
    GroupBox3->move(GroupBox3->x(), 216);
    GroupBox3->show();
    makeSmallLink(Label10, GroupBox3);
    long double x = 0;
    const bool ok = calc::TryReadNumber(storedSetting(QStringLiteral("dogovor")), x);
    Edit6->setText(ok && x > 0 && x < 500 ? calc::GeneralForm(x, 4) : QStringLiteral("0,1"));
}

void TForm1::TrackBar1Change() {
    Label21->setText(QString::number(TrackBar1->value()) + u'%');
}

void TForm1::TrackBar2Change() {
    Label17->setText(QString::number(TrackBar2->value()));
    Label17->adjustSize();
}

void TForm1::Label7Click() {
    // A store that cannot be written is reported, but it must not keep the
    // user in a window that has no other way to close.
    try {
        rates::SettingWrite(rates::kSettingsKey, true, QStringLiteral("k_stav"), Label17->text());
        rates::SettingWrite(rates::kSettingsKey, true, QStringLiteral("dogovor"), Edit6->text());
    } catch (const AppError &e) {
        ReportError(e.message());
    }
    close();
}

void TForm1::Image12Click() {
    Label7Click();
}
