// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window/claiminputs.h"

#include "calc/claimfields.h"
#include "law/vat.h"
#include "ui/widgets/datepicker.h"
#include "ui/widgets/focusring.h"
#include "ui/widgets/lookandfeel.h"
#include "ui/widgets/numberfield.h"

#include <QLabel>
#include <QRadioButton>
#include <QSlider>

namespace ui {

ClaimInputs::ClaimInputs(QWidget *window) : QObject(window) {
    setObjectName(QStringLiteral("claimInputs"));
    makeLabel(window, QStringLiteral("Долг с налогом (руб.):"), {7, 31}, plainFont(16));
    debtField_ = new NumberField(QStringLiteral("0,00"), calc::kAmountLength,
                                 NumberField::Form::Amount, window);
    debtField_->setObjectName(QStringLiteral("debtField"));
    debtField_->setAccessibleName(QStringLiteral("Долг с налогом, руб."));
    placeField(debtField_, {176, 24, 145, 28}, plainFont(16, true),
               QStringLiteral("Введите сумму задолженности с учетом налога"));

    makeLabel(window, QStringLiteral("Ставка налога:"), {8, 70}, plainFont(16));
    taxSlider_ = new QSlider(Qt::Horizontal, window);
    ringFocus(taxSlider_);
    taxSlider_->setObjectName(QStringLiteral("taxSlider"));
    taxSlider_->setAccessibleName(QStringLiteral("Ставка налога"));
    taxSlider_->setGeometry(169, 54, 90, 45);
    taxSlider_->setRange(calc::kMinTax, calc::kMaxTax);
    // The VAT in force today: the usual share of tax in a debt.
    const int vat = law::vatPercentOn(QDate::currentDate());
    taxSlider_->setValue(vat);
    taxSlider_->setTickPosition(QSlider::TicksBothSides);
    taxSlider_->setTickInterval(1);
    taxSlider_->setPageStep(5);
    taxRateLabel_ = makeLabel(window, QString::number(vat) + u'%', {265, 64}, plainFont(25));
    taxRateLabel_->setObjectName(QStringLiteral("taxRateLabel"));
    taxRateLabel_->setGeometry(265, 64, 50, 28);
    taxRateLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    makeLabel(window, QStringLiteral("Период просрочки с:"), {8, 103}, plainFont(16));
    periodStart_ = new DatePicker({176, 104, 145, 24}, window);
    periodStart_->setObjectName(QStringLiteral("periodStart"));
    periodStart_->setAccessibleName(QStringLiteral("Период просрочки с"));
    makeLabel(window, QStringLiteral("Период просрочки по:"), {8, 137}, plainFont(16));
    periodEnd_ = new DatePicker({176, 136, 145, 24}, window);
    periodEnd_->setObjectName(QStringLiteral("periodEnd"));
    periodEnd_->setAccessibleName(QStringLiteral("Период просрочки по"));

    makeLabel(window, QStringLiteral("Подсудность:"), {9, 178}, plainFont(16));
    arbitrationCourt_ = new QRadioButton(QStringLiteral("Арбитражный суд"), window);
    arbitrationCourt_->setObjectName(QStringLiteral("arbitrationCourt"));
    arbitrationCourt_->setGeometry(176, 165, 150, 25);
    arbitrationCourt_->setFont(plainFont(11));
    arbitrationCourt_->setChecked(true);
    generalCourt_ = new QRadioButton(QStringLiteral("Общая юрисдикция"), window);
    generalCourt_->setObjectName(QStringLiteral("generalCourt"));
    generalCourt_->setGeometry(176, 189, 148, 22);
    generalCourt_->setFont(plainFont(11));

    connect(debtField_, &NumberField::clicked, this, &ClaimInputs::clicked);
    connect(debtField_, &NumberField::clicked, debtField_, &QLineEdit::selectAll);
    connect(periodStart_, &DatePicker::clicked, this, &ClaimInputs::clicked);
    connect(periodEnd_, &DatePicker::clicked, this, &ClaimInputs::clicked);
    connect(periodEnd_, &QDateEdit::dateChanged, this, &ClaimInputs::periodEndChanged);
    connect(periodStart_, &QDateEdit::dateChanged, this, &ClaimInputs::periodStartChanged);
    connect(taxSlider_, &QSlider::valueChanged, this, &ClaimInputs::showTaxRate);
    // As the rows lie: the debt, the tax rate, the period.
    periodFocus_.place({debtField_, taxSlider_, periodStart_, periodEnd_});
    // The courts are one stop: Tab lands on the checked one.
    courtFocus_.place({generalCourt_, arbitrationCourt_});
}

QDate ClaimInputs::periodStartDate() const {
    return periodStart_->date();
}

QDate ClaimInputs::periodEndDate() const {
    return periodEnd_->date();
}

void ClaimInputs::reset() {
    periodStart_->setDate(QDate::currentDate());
    periodEnd_->setDate(periodStart_->date());
    debtField_->selectAll();
}

void ClaimInputs::normaliseDebt() {
    debtField_->normalise();
}

void ClaimInputs::fill(calc::CalcInput &input) const {
    input.debtText = debtField_->text();
    input.start = periodStart_->date();
    input.end = periodEnd_->date();
    input.taxPercent = taxSlider_->value();
    input.court = arbitrationCourt_->isChecked() ? calc::Court::Arbitration
                                                 : calc::Court::GeneralJurisdiction;
}

void ClaimInputs::show(const calc::PeriodInput &claim) {
    debtField_->setText(claim.debt);
    debtField_->normalise();
    periodStart_->setDate(claim.start);
    periodEnd_->setDate(claim.end);
    (claim.court == calc::Court::Arbitration ? arbitrationCourt_ : generalCourt_)->setChecked(true);
}

void ClaimInputs::showTaxRate(int percent) {
    taxRateLabel_->setText(QString::number(percent) + u'%');
}

void ClaimInputs::focusPeriodEnd(Qt::FocusReason reason) {
    periodEnd_->setFocus(reason);
}

} // namespace ui
