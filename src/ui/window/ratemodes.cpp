// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window/ratemodes.h"

#include "calc/claimfields.h"
#include "storage/modesettings.h"
#include "ui/widgets/clickablefield.h"
#include "ui/widgets/focusring.h"
#include "ui/widgets/linklabel.h"
#include "ui/widgets/lookandfeel.h"
#include "ui/widgets/numberfield.h"

#include <QGroupBox>
#include <QLabel>
#include <QSlider>

namespace ui {

RateModes::RateModes(QWidget *window) : QObject(window), window_(window) {
    setObjectName(QStringLiteral("rateModes"));
    statutoryLink_ = new LinkLabel(
        QStringLiteral("Применить законную пеню"), window, {72, 224, 161, 16}, plainFont(13), kBlue,
        QStringLiteral("Использовать в случае, если ответственность дебитора установлена законом "
                       "(ст. 395 ГК РФ)"));
    statutoryLink_->setObjectName(QStringLiteral("statutoryLink"));
    contractualLink_ = new LinkLabel(
        QStringLiteral("Применить договорную пеню"), window, {65, 248, 176, 16}, plainFont(13),
        kBlue,
        QStringLiteral(
            "Использовать в случае, если ответственность дебитора установлена договором"));
    contractualLink_->setObjectName(QStringLiteral("contractualLink"));
    // Each box is as wide as its text, at every scale.
    for (LinkLabel *link : {statutoryLink_, contractualLink_})
        link->resize(std::max(link->width(), link->sizeHint().width()), link->height());
    for (LinkLabel *link : {statutoryLink_, contractualLink_})
        link->setHoverFont(false, true);
    connect(statutoryLink_, &LinkLabel::clicked, this, &RateModes::chooseStatutory);
    connect(contractualLink_, &LinkLabel::clicked, this, &RateModes::chooseContractual);
    focus_.place({statutoryLink_, contractualLink_});
}

// The made inputs take their place in the keyboard order; the window's
// keyboard passes over those out of sight (a group not chosen lies below its
// edge).
void RateModes::placeInOrder() {
    // As they lie: the chosen group at the links' place, the other mode's
    // link below it.
    // The rate field opens the rate table, whose grid comes next; the
    // divisor follows the table.
    QList<QWidget *> statutory, contractual;
    if (statutoryBox_) statutory << divisorSlider_;
    if (contractualBox_) contractual << dailyRateField_;
    QWidget *rateField = refinancingRateField_;
    if (chosen_ == Mode::Statutory) {
        focus_.place({rateField});
        afterRate_.place(statutory << contractualLink_ << contractual);
    } else {
        QList<QWidget *> links{statutoryLink_, contractualLink_};
        if (chosen_ == Mode::Contractual) links = QList<QWidget *>{dailyRateField_, statutoryLink_};
        focus_.place(links);
        QList<QWidget *> rest;
        if (rateField) rest << rateField << statutory;
        if (chosen_ != Mode::Contractual) rest << contractual;
        afterRate_.place(rest);
    }
}

void RateModes::makeStatutoryBox() {
    if (statutoryBox_) return;
    statutoryBox_ = new QGroupBox(window_);
    statutoryBox_->setObjectName(QStringLiteral("statutoryBox"));
    statutoryBox_->setAttribute(Qt::WA_NoMousePropagation);
    statutoryBox_->setGeometry(8, 457, 313, 40);
    // The label ends well before its field, in the box's old size.
    makeLabel(statutoryBox_, QStringLiteral("Ставка рефин. (%):"), {6, 14}, plainFont(13));
    refinancingRateField_ = new ClickableField(refinancingRate_, statutoryBox_);
    refinancingRateField_->setObjectName(QStringLiteral("refinancingRateField"));
    placeField(refinancingRateField_, {128, 10, 48, 22}, plainFont(13),
               QStringLiteral("Нажмите и в таблице справа выберите соответствующую ставку"));
    refinancingRateField_->setCursor(Qt::ArrowCursor);
    refinancingRateField_->setAccessibleName(QStringLiteral("Ставка рефин. (%)")); // as its label
    makeLabel(statutoryBox_, QStringLiteral("/"), {182, 8}, plainFont(21),
              window_->palette().color(QPalette::Shadow));
    divisorSlider_ = new QSlider(Qt::Horizontal, statutoryBox_);
    ringFocus(divisorSlider_);
    divisorSlider_->setObjectName(QStringLiteral("divisorSlider"));
    divisorSlider_->setGeometry(194, 12, 80, 20);
    divisorSlider_->setRange(calc::kMinDivisor, calc::kMaxDivisor);
    divisorSlider_->setValue(storage::kDefaultDivisor);
    divisorSlider_->setPageStep(1);
    divisorSlider_->setTickPosition(QSlider::NoTicks);
    divisorSlider_->setAccessibleName(QStringLiteral("Делитель ставки"));
    divisorSlider_->setToolTip(
        QStringLiteral("Выберите коэф. использования ставки (например, 1/300 ставки рефин.)"));
    divisorLabel_ = makeLabel(statutoryBox_, QString::number(storage::kDefaultDivisor), {278, 12},
                              plainFont(16));
    divisorLabel_->setObjectName(QStringLiteral("divisorLabel"));
    statutoryBox_->setVisible(chosen_ != Mode::Contractual);
    connect(refinancingRateField_, &ClickableField::clicked, this, &RateModes::rateTableWanted);
    connect(refinancingRateField_, &ClickableField::entered, this, &RateModes::rateTableWanted);
    connect(refinancingRateField_, &ClickableField::doubleClicked, this,
            &RateModes::selectRefinancingRate);
    connect(divisorSlider_, &QSlider::valueChanged, this, &RateModes::showDivisor);
    placeInOrder();
}

void RateModes::makeContractualBox() {
    if (contractualBox_) return;
    contractualBox_ = new QGroupBox(window_);
    contractualBox_->setObjectName(QStringLiteral("contractualBox"));
    contractualBox_->setAttribute(Qt::WA_NoMousePropagation);
    contractualBox_->setGeometry(8, 501, 313, 40);
    makeLabel(contractualBox_, QStringLiteral("Договорная пеня (%):"), {8, 14}, plainFont(13));
    dailyRateField_ = new NumberField(storage::kDefaultDailyRate, calc::kRateLength,
                                      NumberField::Form::Number, contractualBox_);
    dailyRateField_->setObjectName(QStringLiteral("dailyRateField"));
    dailyRateField_->setAccessibleName(QStringLiteral("Договорная пеня, % в день"));
    placeField(dailyRateField_, {150, 10, 70, 22}, plainFont(13),
               QStringLiteral("Введите размер дневной пени в соответствии с условиями договора"));
    contractualBox_->setVisible(chosen_ != Mode::Statutory);
    connect(dailyRateField_, &NumberField::clicked, this, &RateModes::panelsDismissed);
    placeInOrder();
}

ClickableField *RateModes::refinancingRateField() {
    makeStatutoryBox();
    return refinancingRateField_;
}

QSlider *RateModes::divisorSlider() {
    makeStatutoryBox();
    return divisorSlider_;
}

NumberField *RateModes::dailyRateField() {
    makeContractualBox();
    return dailyRateField_;
}

void RateModes::setRateFieldEnabled(bool enabled) {
    if (refinancingRateField_) refinancingRateField_->setEnabled(enabled);
}

void RateModes::chooseStatutory() {
    // Chosen by the keyboard, the mode's first input takes the focus (the
    // rate field then opens the rate table, as when Tab reaches it).
    const bool byKeyboard = statutoryLink_->hasFocus() || contractualLink_->hasFocus();
    statutoryLink_->hide();
    contractualLink_->hide();
    chosen_ = Mode::Statutory;
    if (contractualBox_) contractualBox_->hide();
    makeStatutoryBox();
    statutoryBox_->move(statutoryBox_->x(), 216);
    statutoryBox_->show();
    showBackLink(contractualLink_, statutoryBox_);
    divisorSlider_->setValue(storage::storedDivisor());
    placeInOrder();
    if (byKeyboard) refinancingRateField_->setFocus(Qt::TabFocusReason);
}

void RateModes::chooseContractual() {
    const bool byKeyboard = statutoryLink_->hasFocus() || contractualLink_->hasFocus();
    chosen_ = Mode::Contractual;
    if (statutoryBox_) statutoryBox_->hide();
    contractualLink_->hide();
    statutoryLink_->hide();
    emit panelsDismissed();
    makeContractualBox();
    contractualBox_->move(contractualBox_->x(), 216);
    contractualBox_->show();
    showBackLink(statutoryLink_, contractualBox_);
    dailyRateField_->setText(storage::storedDailyRate());
    placeInOrder();
    if (byKeyboard) dailyRateField_->setFocus(Qt::TabFocusReason);
}

bool RateModes::isStatutory() const {
    return chosen_ != Mode::Contractual;
}

void RateModes::setRefinancingRate(const QString &rate) {
    refinancingRate_ = rate;
    if (refinancingRateField_) refinancingRateField_->setText(rate);
}

void RateModes::normaliseDailyRate() {
    if (dailyRateField_) dailyRateField_->normalise();
}

QString RateModes::refinancingRateText() const {
    return refinancingRateField_ ? refinancingRateField_->text() : refinancingRate_;
}

QString RateModes::divisorText() const {
    return divisorLabel_ ? divisorLabel_->text() : QString::number(storage::kDefaultDivisor);
}

QString RateModes::dailyRateText() const {
    return dailyRateField_ ? dailyRateField_->text() : storage::kDefaultDailyRate;
}

void RateModes::fill(calc::CalcInput &input) const {
    input.refinancingText = refinancingRateText();
    input.contractText = dailyRateText();
    input.divisorText = divisorText();
    input.statutory = isStatutory();
}

void RateModes::storeSettings() const {
    storage::storeModeValues(divisorText(), dailyRateText());
}

// A double click lets the rate be selected and copied.
void RateModes::selectRefinancingRate() {
    refinancingRateField_->selectAll();
    refinancingRateField_->setCursor(Qt::IBeamCursor);
}

void RateModes::showDivisor(int divisor) {
    divisorLabel_->setText(QString::number(divisor));
    divisorLabel_->adjustSize();
}

// The small grey link back to the other mode, under the shown group.
void RateModes::showBackLink(LinkLabel *link, const QGroupBox *box) {
    link->move(box->x() + 162, box->y() + 42);
    QFont f = link->font();
    f.setPointSize(8);
    f.setBold(false);
    f.setUnderline(false);
    f.setItalic(false);
    link->setFont(f);
    QPalette p = link->palette();
    p.setColor(QPalette::WindowText, readableColor(kGrey, link));
    link->setPalette(p);
    link->adjustSize();
    link->show();
}

} // namespace ui
