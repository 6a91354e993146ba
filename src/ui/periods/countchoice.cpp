// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periods/countchoice.h"

#include "calc/claimfields.h"
#include "calc/presets.h"
#include "ui/guide/help.h"
#include "ui/widgets/datepicker.h"
#include "ui/widgets/numberfield.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>
#include <iterator>

namespace ui {

CountChoice::CountChoice(QWidget *parent) : QGroupBox(QStringLiteral("Основание"), parent) {
    setObjectName(QStringLiteral("countChoice"));
    auto *layout = new QGridLayout(this);
    QButtonGroup *counts = makeCounts();
    makePenaltyInputs(layout);
    makeRateInputs(layout);
    makeHousingInputs(layout);
    makeOtherBasis(layout, counts);
    makeOwnTerms(layout);
    connectInputs();
    enableInputs();
}

QButtonGroup *CountChoice::makeCounts() {
    statutory_ = new QRadioButton(QStringLiteral("Проценты по ст. 395 ГК РФ"), this);
    statutory_->setObjectName(QStringLiteral("statutoryCount"));
    contractual_ = new QRadioButton(QStringLiteral("Неустойка, % в день:"), this);
    contractual_->setObjectName(QStringLiteral("contractualCount"));
    keyFraction_ = new QRadioButton(QStringLiteral("Пени, доля ключевой ставки:"), this);
    keyFraction_->setObjectName(QStringLiteral("keyFractionCount"));
    housing_ = new QRadioButton(QStringLiteral("Пени за ЖКУ (ч. 14 ст. 155 ЖК РФ)"), this);
    housing_->setObjectName(QStringLiteral("housingCount"));
    statutory_->setChecked(true);
    auto *counts = new QButtonGroup(this);
    for (QRadioButton *b : {statutory_, contractual_, keyFraction_, housing_})
        counts->addButton(b);
    return counts;
}

// The contractual penalty: a percent a day, and its cap, a percent of the
// debt or roubles (empty: none).
void CountChoice::makePenaltyInputs(QGridLayout *layout) {
    dailyPercent_ =
        new NumberField(QStringLiteral("0,1"), calc::kRateLength, NumberField::Form::Number, this);
    dailyPercent_->setObjectName(QStringLiteral("penaltyDaily"));
    dailyPercent_->setAccessibleName(QStringLiteral("Неустойка, % в день"));
    dailyPercent_->setEmptyText(QStringLiteral("0"));
    auto *capLabel = new QLabel(QStringLiteral("не более:"), this);
    cap_ = new NumberField(QString(), calc::kAmountLength, NumberField::Form::Number, this);
    cap_->setObjectName(QStringLiteral("penaltyCap"));
    cap_->setAccessibleName(QStringLiteral("Предел неустойки"));
    cap_->setPlaceholderText(QStringLiteral("без предела"));
    // A screen reader reads a description where one is given, the
    // placeholder otherwise: "без предела" alone says nothing of the field.
    cap_->setAccessibleDescription(QStringLiteral("Пустое поле — неустойка без предела"));
    capLabel->setBuddy(cap_);
    capUnit_ = new QComboBox(this);
    capUnit_->setObjectName(QStringLiteral("penaltyCapUnit"));
    capUnit_->setAccessibleName(QStringLiteral("Предел неустойки в"));
    capUnit_->addItems({QStringLiteral("% долга"), QStringLiteral("руб.")});
    layout->addWidget(statutory_, 0, 0, 1, 2);
    layout->addWidget(contractual_, 1, 0);
    auto *penalty = new QHBoxLayout;
    penalty->addWidget(dailyPercent_);
    penalty->addWidget(capLabel);
    penalty->addWidget(cap_);
    penalty->addWidget(capUnit_);
    layout->addLayout(penalty, 1, 1);
    connect(contractual_, &QRadioButton::toggled, capLabel, &QWidget::setEnabled);
}

// A fraction of the key rate, and which day's rate: each period's or one date's.
void CountChoice::makeRateInputs(QGridLayout *layout) {
    fraction_ = new QSpinBox(this);
    fraction_->setObjectName(QStringLiteral("keyFraction"));
    fraction_->setAccessibleName(QStringLiteral("Доля ключевой ставки, 1/N"));
    fraction_->setRange(calc::kMinFraction, calc::kMaxFraction);
    fraction_->setValue(calc::kDefaultFraction);
    fraction_->setPrefix(QStringLiteral("1/"));
    eachPeriod_ = new QRadioButton(QStringLiteral("по ставке каждого периода"), this);
    oneDate_ = new QRadioButton(QStringLiteral("по ставке на дату:"), this);
    oneDate_->setObjectName(QStringLiteral("oneRateDate"));
    eachPeriod_->setChecked(true);
    auto *rateOf = new QButtonGroup(this);
    rateOf->addButton(eachPeriod_);
    rateOf->addButton(oneDate_);
    rateDate_ = new DatePicker(QRect(0, 0, 120, 24), this);
    rateDate_->setObjectName(QStringLiteral("rateDate"));
    rateDate_->setAccessibleName(QStringLiteral("Дата ставки"));
    layout->addWidget(keyFraction_, 2, 0);
    layout->addWidget(fraction_, 2, 1);
    auto *rate = new QHBoxLayout;
    rate->addWidget(eachPeriod_);
    rate->addWidget(oneDate_);
    rate->addWidget(rateDate_);
    rate->addStretch();
    layout->addLayout(rate, 3, 0, 1, 2);
}

// Every other legal basis, each with its law's own rules.
void CountChoice::makeOtherBasis(QGridLayout *layout, QButtonGroup *counts) {
    other_ = new QRadioButton(QStringLiteral("Другое основание:"), this);
    other_->setObjectName(QStringLiteral("otherCount"));
    counts->addButton(other_);
    otherBasis_ = new QComboBox(this);
    otherBasis_->setObjectName(QStringLiteral("otherBasis"));
    otherBasis_->setAccessibleName(QStringLiteral("Другое основание"));
    // Its longest titles would widen the dialog: the list shows them whole.
    otherBasis_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    otherBasis_->setMinimumContentsLength(24);
    for (const calc::Preset &p : calc::presets())
        if (!p.ownButton)
            otherBasis_->addItem(QString::fromUtf8(p.title), QString::fromLatin1(p.name));
    // F1 on the list opens the guide at the basis chosen.
    const auto guideAtChosen = [this] {
        otherBasis_->setProperty(kHelpSection,
                                 QStringLiteral("basis-") + otherBasis_->currentData().toString());
    };
    guideAtChosen();
    connect(otherBasis_, &QComboBox::currentIndexChanged, this, guideAtChosen);
    layout->addWidget(other_, 7, 0);
    layout->addWidget(otherBasis_, 7, 1);
}

void CountChoice::connectInputs() {
    connect(otherBasis_, &QComboBox::currentIndexChanged, this, [this] {
        enableInputs();
        emit basisChosen();
        emit changed();
    });
    for (QRadioButton *b :
         {statutory_, contractual_, keyFraction_, housing_, other_, eachPeriod_, oneDate_})
        connect(b, &QRadioButton::toggled, this, [this, b](bool on) {
            if (!on) return;
            enableInputs();
            if (b != eachPeriod_ && b != oneDate_) emit basisChosen();
            emit changed();
        });
    connect(dailyPercent_, &NumberField::textChanged, this, &CountChoice::changed);
    connect(cap_, &NumberField::textChanged, this, &CountChoice::changed);
    connect(capUnit_, &QComboBox::currentIndexChanged, this, &CountChoice::changed);
    connect(fraction_, &QSpinBox::valueChanged, this, &CountChoice::changed);
    connect(rateDate_, &DatePicker::dateChanged, this, &CountChoice::changed);
}

// The housing penalty's own: which day's rate (and the one date), the day
// bills fall due, whether a due date moves off a day off, the 2020 window.
void CountChoice::makeHousingInputs(QGridLayout *layout) {
    rateDay_ = new QComboBox(this);
    rateDay_->setObjectName(QStringLiteral("rateDay"));
    rateDay_->setAccessibleName(QStringLiteral("Ставка пеней за ЖКУ"));
    rateDay_->addItems({QStringLiteral("на день каждой оплаты"), QStringLiteral("на дату:"),
                        QStringLiteral("каждого периода")});
    rateDay_->setToolTip(QStringLiteral("Оплаченное — по ставке на день оплаты, неоплаченное — "
                                        "на дату подачи; либо по ставке одной даты; либо по "
                                        "ставке каждого дня"));
    housingRateDate_ = new DatePicker(QRect(0, 0, 120, 24), this);
    housingRateDate_->setObjectName(QStringLiteral("housingRateDate"));
    housingRateDate_->setAccessibleName(QStringLiteral("Дата ставки пеней за ЖКУ"));
    dueDay_ = new QSpinBox(this);
    dueDay_->setObjectName(QStringLiteral("dueDay"));
    dueDay_->setAccessibleName(QStringLiteral("Срок оплаты, число следующего месяца"));
    dueDay_->setRange(0, 31);
    dueDay_->setSpecialValueText(QStringLiteral("по закону"));
    dueDay_->setSuffix(QStringLiteral("-е число"));
    dueDay_->setToolTip(QStringLiteral("По закону — до 10-го числа следующего месяца, со счета "
                                       "за февраль 2026 года — до 15-го; иной день договора "
                                       "для этих счетов учитывается с предупреждением"));
    shift_ = new QCheckBox(QStringLiteral("срок в выходной — на рабочий день"), this);
    shift_->setObjectName(QStringLiteral("shiftDue"));
    shift_->setChecked(true);
    moratorium2020_ = new QCheckBox(QStringLiteral("без пеней 06.04.2020–31.12.2020"), this);
    moratorium2020_->setObjectName(QStringLiteral("moratorium2020"));
    moratorium2020_->setChecked(true);
    auto *rateLabel = new QLabel(QStringLiteral("ставка:"), this);
    rateLabel->setBuddy(rateDay_);
    auto *dueLabel = new QLabel(QStringLiteral("срок оплаты:"), this);
    dueLabel->setBuddy(dueDay_);
    layout->addWidget(housing_, 4, 0, 1, 2);
    // Its inputs under it, indented as the key rate's are not: two rows.
    const auto row = [&](int at, std::initializer_list<QWidget *> widgets) {
        auto *line = new QHBoxLayout;
        line->addSpacing(24);
        for (QWidget *w : widgets)
            line->addWidget(w);
        line->addStretch();
        layout->addLayout(line, at, 0, 1, 2);
    };
    row(5, {rateLabel, rateDay_, housingRateDate_, dueLabel, dueDay_});
    row(6, {shift_, moratorium2020_});
    for (QWidget *w : {static_cast<QWidget *>(rateLabel), static_cast<QWidget *>(dueLabel)})
        connect(housing_, &QRadioButton::toggled, w, &QWidget::setEnabled);
    connect(rateDay_, &QComboBox::currentIndexChanged, this, [this] {
        enableInputs();
        emit changed();
    });
    connect(housingRateDate_, &DatePicker::dateChanged, this, &CountChoice::changed);
    connect(dueDay_, &QSpinBox::valueChanged, this, &CountChoice::changed);
    connect(shift_, &QCheckBox::toggled, this, &CountChoice::changed);
    connect(moratorium2020_, &QCheckBox::toggled, this, &CountChoice::changed);
    rateLabel->setEnabled(false);
    dueLabel->setEnabled(false);
}

// What some bases take beside their law's rules: a greater share of the key
// rate a contract sets for wages, what a supplier fulfilled, the insured sum
// that caps an insurer's penalty.
void CountChoice::makeOwnTerms(QGridLayout *layout) {
    contractFraction_ = new QSpinBox(this);
    contractFraction_->setObjectName(QStringLiteral("contractFraction"));
    contractFraction_->setAccessibleName(QStringLiteral("Доля ключевой ставки по договору, 1/N"));
    contractFraction_->setRange(0, calc::kWagesFraction - 1);
    contractFraction_->setSpecialValueText(QStringLiteral("по закону"));
    contractFraction_->setPrefix(QStringLiteral("1/"));
    contractFraction_->setToolTip(QStringLiteral("Договор может установить компенсацию больше "
                                                 "1/150 ключевой ставки"));
    fulfilled_ = new NumberField(QString(), calc::kAmountLength, NumberField::Form::Amount, this);
    fulfilled_->setObjectName(QStringLiteral("fulfilled"));
    fulfilled_->setAccessibleName(QStringLiteral("Исполнено по контракту, руб."));
    fulfilled_->setPlaceholderText(QStringLiteral("0,00"));
    fulfilled_->setAccessibleDescription(
        QStringLiteral("Стоимость исполненного поставщиком; пени — на неисполненную часть"));
    fractionLabel_ = new QLabel(QStringLiteral("доля по договору:"), this);
    fractionLabel_->setBuddy(contractFraction_);
    fulfilledLabel_ = new QLabel(QStringLiteral("исполнено, руб.:"), this);
    fulfilledLabel_->setBuddy(fulfilled_);
    insuredSum_ = new NumberField(QString(), calc::kAmountLength, NumberField::Form::Amount, this);
    insuredSum_->setObjectName(QStringLiteral("insuredSum"));
    insuredSum_->setAccessibleName(QStringLiteral("Страховая сумма, руб."));
    insuredSum_->setPlaceholderText(QStringLiteral("400 000,00"));
    insuredSum_->setAccessibleDescription(
        QStringLiteral("Неустойка не больше страховой суммы: 400 000 руб., за вред жизни и "
                       "здоровью — 500 000 руб."));
    insuredLabel_ = new QLabel(QStringLiteral("страховая сумма:"), this);
    insuredLabel_->setBuddy(insuredSum_);
    auto *line = new QHBoxLayout;
    line->addSpacing(24);
    for (QWidget *w :
         {static_cast<QWidget *>(fractionLabel_), static_cast<QWidget *>(contractFraction_),
          static_cast<QWidget *>(fulfilledLabel_), static_cast<QWidget *>(fulfilled_),
          static_cast<QWidget *>(insuredLabel_), static_cast<QWidget *>(insuredSum_)})
        line->addWidget(w);
    line->addStretch();
    layout->addLayout(line, 8, 0, 1, 2);
    connect(contractFraction_, &QSpinBox::valueChanged, this, &CountChoice::changed);
    connect(fulfilled_, &NumberField::textChanged, this, &CountChoice::changed);
    connect(insuredSum_, &NumberField::textChanged, this, &CountChoice::changed);
}

// Housing bills, or a basis of the list counted by monthly bills as they are
// (capital-repair contributions).
bool CountChoice::isHousing() const {
    if (housing_->isChecked()) return true;
    if (!other_->isChecked()) return false;
    const calc::Preset *p = calc::presetNamed(otherBasis_->currentData().toString());
    return p && p->layout == calc::PeriodCount::Housing;
}

void CountChoice::setDailyRate(const QString &percent) {
    const QSignalBlocker quiet(dailyPercent_);
    dailyPercent_->setText(percent);
}

void CountChoice::setRateDate(QDate day) {
    const QSignalBlocker quiet(rateDate_), housing(housingRateDate_);
    rateDate_->setDate(day);
    housingRateDate_->setDate(day);
}

void CountChoice::enableInputs() {
    dailyPercent_->setEnabled(contractual_->isChecked());
    fraction_->setEnabled(keyFraction_->isChecked());
    eachPeriod_->setEnabled(keyFraction_->isChecked());
    oneDate_->setEnabled(keyFraction_->isChecked());
    rateDate_->setEnabled(keyFraction_->isChecked() && oneDate_->isChecked());
    const bool housing = isHousing();
    for (QWidget *w : {static_cast<QWidget *>(rateDay_), static_cast<QWidget *>(dueDay_),
                       static_cast<QWidget *>(shift_), static_cast<QWidget *>(moratorium2020_)})
        w->setEnabled(housing);
    housingRateDate_->setEnabled(housing && rateDay_->currentIndex() == 1);
    otherBasis_->setEnabled(other_->isChecked());
    const bool contract = contractual_->isChecked();
    cap_->setEnabled(contract);
    capUnit_->setEnabled(contract);
    const QString basis = other_->isChecked() ? otherBasis_->currentData().toString() : QString();
    for (QWidget *w :
         {static_cast<QWidget *>(fractionLabel_), static_cast<QWidget *>(contractFraction_)})
        w->setEnabled(calc::basisTakes(basis, calc::PresetTerm::ContractShare));
    for (QWidget *w : {static_cast<QWidget *>(fulfilledLabel_), static_cast<QWidget *>(fulfilled_)})
        w->setEnabled(calc::basisTakes(basis, calc::PresetTerm::FulfilledPart));
    for (QWidget *w : {static_cast<QWidget *>(insuredLabel_), static_cast<QWidget *>(insuredSum_)})
        w->setEnabled(calc::basisTakes(basis, calc::PresetTerm::InsuredSum));
}

void CountChoice::show(const calc::PeriodInput &in) {
    {
        const QSignalBlocker quiet(this);
        const QSignalBlocker percent(dailyPercent_), fraction(fraction_), date(rateDate_);
        const QSignalBlocker day(rateDay_), housingDate(housingRateDate_), due(dueDay_),
            shift(shift_), free(moratorium2020_);
        const bool housing = in.count == calc::PeriodCount::Housing;
        if (!in.dailyPercent.isEmpty()) dailyPercent_->setText(in.dailyPercent);
        const QSignalBlocker cap(cap_), unit(capUnit_), share(contractFraction_), done(fulfilled_),
            insured(insuredSum_);
        insuredSum_->setText(in.insuredSum);
        cap_->setText(in.capAmount.isEmpty() ? in.capPercent : in.capAmount);
        capUnit_->setCurrentIndex(in.capAmount.isEmpty() ? 0 : 1);
        contractFraction_->setValue(in.contractFraction);
        fulfilled_->setText(in.fulfilled);
        fraction_->setValue(in.fraction);
        if (in.rateDate.isValid()) (housing ? housingRateDate_ : rateDate_)->setDate(in.rateDate);
        (in.rateDate.isValid() && !housing ? oneDate_ : eachPeriod_)->setChecked(true);
        rateDay_->setCurrentIndex(
            int(std::find(std::begin(calc::kRateDays), std::end(calc::kRateDays), in.rateDay) -
                std::begin(calc::kRateDays)));
        dueDay_->setValue(in.dueDay);
        shift_->setChecked(in.shift);
        moratorium2020_->setChecked(in.moratorium2020);
        const QSignalBlocker other(otherBasis_);
        if (!in.basis.isEmpty())
            otherBasis_->setCurrentIndex(std::max(0, otherBasis_->findData(in.basis)));
        (!in.basis.isEmpty()                          ? other_
         : in.count == calc::PeriodCount::Contractual ? contractual_
         : in.count == calc::PeriodCount::KeyFraction ? keyFraction_
         : housing                                    ? housing_
                                                      : statutory_)
            ->setChecked(true);
    }
    enableInputs();
}

void CountChoice::fill(calc::PeriodInput &in) const {
    in.basis.clear();
    // Each count's own terms, the others' left empty: none reaches a count
    // it is not of.
    in.capPercent.clear();
    in.capAmount.clear();
    in.contractFraction = 0;
    in.fulfilled.clear();
    in.insuredSum.clear();
    if (other_->isChecked()) {
        in.count = calc::countOfBasis(otherBasis_->currentData().toString(), in.basis);
        if (calc::basisTakes(in.basis, calc::PresetTerm::ContractShare))
            in.contractFraction = contractFraction_->value();
        if (calc::basisTakes(in.basis, calc::PresetTerm::FulfilledPart))
            in.fulfilled = fulfilled_->text();
        if (calc::basisTakes(in.basis, calc::PresetTerm::InsuredSum))
            in.insuredSum = insuredSum_->text();
        if (in.count == calc::PeriodCount::Housing) fillBills(in);
    } else if (contractual_->isChecked()) {
        in.count = calc::PeriodCount::Contractual;
        in.dailyPercent = dailyPercent_->text();
        (capUnit_->currentIndex() == 0 ? in.capPercent : in.capAmount) = cap_->text();
    } else if (keyFraction_->isChecked()) {
        in.count = calc::PeriodCount::KeyFraction;
        in.fraction = fraction_->value();
        in.rateDate = oneDate_->isChecked() ? rateDate_->date() : QDate();
    } else if (housing_->isChecked()) {
        in.count = calc::PeriodCount::Housing;
        fillBills(in);
    } else {
        in.count = calc::PeriodCount::Statutory;
    }
}

// The terms of a count by monthly bills: the rate day, the due day, its
// shift past days off, the 2020 window.
void CountChoice::fillBills(calc::PeriodInput &in) const {
    in.rateDay = calc::kRateDays[std::max(0, rateDay_->currentIndex())];
    in.rateDate = in.rateDay == calc::RateDay::OneDate ? housingRateDate_->date() : QDate();
    in.dueDay = dueDay_->value();
    in.shift = shift_->isChecked();
    in.moratorium2020 = moratorium2020_->isChecked();
}

} // namespace ui
