// SPDX-License-Identifier: GPL-3.0-or-later
#include "countchoice.h"

#include "calc/claimfields.h"
#include "datepicker.h"
#include "numberfield.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSpinBox>

namespace ui {

CountChoice::CountChoice(QWidget *parent) : QGroupBox(QStringLiteral("Что считать"), parent) {
    setObjectName(QStringLiteral("countChoice"));
    auto *layout = new QGridLayout(this);
    statutory_ = new QRadioButton(QStringLiteral("Проценты по ст. 395 ГК РФ"), this);
    contractual_ = new QRadioButton(QStringLiteral("Неустойка, % в день:"), this);
    keyFraction_ = new QRadioButton(QStringLiteral("Пени, доля ключевой ставки:"), this);
    statutory_->setChecked(true);
    auto *counts = new QButtonGroup(this);
    for (QRadioButton *b : {statutory_, contractual_, keyFraction_})
        counts->addButton(b);

    dailyPercent_ =
        new NumberField(QStringLiteral("0,1"), calc::kRateLength, NumberField::Form::Number, this);
    dailyPercent_->setObjectName(QStringLiteral("penaltyDaily"));
    dailyPercent_->setAccessibleName(QStringLiteral("Неустойка, % в день"));
    dailyPercent_->setEmptyText(QStringLiteral("0"));
    fraction_ = new QSpinBox(this);
    fraction_->setObjectName(QStringLiteral("keyFraction"));
    fraction_->setAccessibleName(QStringLiteral("Доля ключевой ставки, 1/N"));
    fraction_->setRange(calc::kMinFraction, calc::kMaxFraction);
    fraction_->setValue(calc::kDefaultFraction);
    fraction_->setPrefix(QStringLiteral("1/"));
    eachPeriod_ = new QRadioButton(QStringLiteral("по ставке каждого периода"), this);
    oneDate_ = new QRadioButton(QStringLiteral("по ставке на дату:"), this);
    eachPeriod_->setChecked(true);
    auto *rateOf = new QButtonGroup(this);
    rateOf->addButton(eachPeriod_);
    rateOf->addButton(oneDate_);
    rateDate_ = new DatePicker(QRect(0, 0, 120, 24), this);
    rateDate_->setObjectName(QStringLiteral("rateDate"));
    rateDate_->setAccessibleName(QStringLiteral("Дата ставки"));

    layout->addWidget(statutory_, 0, 0, 1, 2);
    layout->addWidget(contractual_, 1, 0);
    layout->addWidget(dailyPercent_, 1, 1);
    layout->addWidget(keyFraction_, 2, 0);
    layout->addWidget(fraction_, 2, 1);
    auto *rate = new QHBoxLayout;
    rate->addWidget(eachPeriod_);
    rate->addWidget(oneDate_);
    rate->addWidget(rateDate_);
    rate->addStretch();
    layout->addLayout(rate, 3, 0, 1, 2);

    for (QRadioButton *b : {statutory_, contractual_, keyFraction_, eachPeriod_, oneDate_})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (!on) return;
            enableInputs();
            emit changed();
        });
    connect(dailyPercent_, &NumberField::textChanged, this, &CountChoice::changed);
    connect(fraction_, &QSpinBox::valueChanged, this, &CountChoice::changed);
    connect(rateDate_, &DatePicker::dateChanged, this, &CountChoice::changed);
    enableInputs();
}

void CountChoice::setDailyRate(const QString &percent) {
    const QSignalBlocker quiet(dailyPercent_);
    dailyPercent_->setText(percent);
}

void CountChoice::setRateDate(QDate day) {
    const QSignalBlocker quiet(rateDate_);
    rateDate_->setDate(day);
}

void CountChoice::enableInputs() {
    dailyPercent_->setEnabled(contractual_->isChecked());
    fraction_->setEnabled(keyFraction_->isChecked());
    eachPeriod_->setEnabled(keyFraction_->isChecked());
    oneDate_->setEnabled(keyFraction_->isChecked());
    rateDate_->setEnabled(keyFraction_->isChecked() && oneDate_->isChecked());
}

void CountChoice::show(const calc::PeriodInput &in) {
    {
        const QSignalBlocker quiet(this);
        const QSignalBlocker percent(dailyPercent_), fraction(fraction_), date(rateDate_);
        if (!in.dailyPercent.isEmpty()) dailyPercent_->setText(in.dailyPercent);
        fraction_->setValue(in.fraction);
        if (in.rateDate.isValid()) rateDate_->setDate(in.rateDate);
        (in.rateDate.isValid() ? oneDate_ : eachPeriod_)->setChecked(true);
        (in.count == calc::PeriodCount::Contractual   ? contractual_
         : in.count == calc::PeriodCount::KeyFraction ? keyFraction_
                                                      : statutory_)
            ->setChecked(true);
    }
    enableInputs();
}

void CountChoice::fill(calc::PeriodInput &in) const {
    if (contractual_->isChecked()) {
        in.count = calc::PeriodCount::Contractual;
        in.dailyPercent = dailyPercent_->text();
    } else if (keyFraction_->isChecked()) {
        in.count = calc::PeriodCount::KeyFraction;
        in.fraction = fraction_->value();
        in.rateDate = oneDate_->isChecked() ? rateDate_->date() : QDate();
    } else {
        in.count = calc::PeriodCount::Statutory;
    }
}

} // namespace ui
