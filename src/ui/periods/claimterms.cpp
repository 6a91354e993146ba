// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periods/claimterms.h"

#include "calc/claimfields.h"
#include "ui/widgets/datepicker.h"
#include "ui/widgets/numberfield.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>

namespace ui {
namespace {

QLabel *labelFor(QWidget *field, const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setBuddy(field);
    return label;
}

} // namespace

ClaimTerms::ClaimTerms(QWidget *parent) : QWidget(parent) {
    setObjectName(QStringLiteral("claimTerms"));
    debt_ = new NumberField(QStringLiteral("0,00"), calc::kAmountLength, NumberField::Form::Amount,
                            this);
    debt_->setObjectName(QStringLiteral("termsDebt"));
    debt_->setAccessibleName(QStringLiteral("Долг с налогом, руб."));
    start_ = new DatePicker(QRect(0, 0, 120, 24), this);
    start_->setObjectName(QStringLiteral("termsStart"));
    start_->setAccessibleName(QStringLiteral("Период просрочки с"));
    end_ = new DatePicker(QRect(0, 0, 120, 24), this);
    end_->setObjectName(QStringLiteral("termsEnd"));
    end_->setAccessibleName(QStringLiteral("Период просрочки по"));
    court_ = new QComboBox(this);
    court_->setObjectName(QStringLiteral("termsCourt"));
    court_->setAccessibleName(QStringLiteral("Подсудность"));
    court_->addItem(QStringLiteral("Арбитражный суд"), int(calc::Court::Arbitration));
    court_->addItem(QStringLiteral("Общая юрисдикция"), int(calc::Court::GeneralJurisdiction));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(labelFor(debt_, QStringLiteral("Долг с налогом (руб.):"), this));
    layout->addWidget(debt_);
    layout->addWidget(labelFor(start_, QStringLiteral("с"), this));
    layout->addWidget(start_);
    layout->addWidget(labelFor(end_, QStringLiteral("по"), this));
    layout->addWidget(end_);
    layout->addWidget(court_);
    layout->addStretch();

    connect(debt_, &NumberField::textChanged, this, &ClaimTerms::changed);
    connect(start_, &DatePicker::dateChanged, this, &ClaimTerms::changed);
    connect(end_, &DatePicker::dateChanged, this, &ClaimTerms::changed);
    connect(court_, &QComboBox::currentIndexChanged, this, &ClaimTerms::changed);
}

void ClaimTerms::showTerms(const calc::PeriodInput &claim) {
    const QSignalBlocker debt(debt_), start(start_), end(end_), court(court_);
    debt_->setText(claim.debt);
    debt_->normalise();
    start_->setDate(claim.start);
    end_->setDate(claim.end);
    court_->setCurrentIndex(court_->findData(int(claim.court)));
}

void ClaimTerms::fill(calc::PeriodInput &in) const {
    in.debt = debt_->text();
    in.start = start_->date();
    in.end = end_->date();
    in.court = calc::Court(court_->currentData().toInt());
}

void ClaimTerms::setHousing(bool housing) {
    for (QWidget *w : {static_cast<QWidget *>(debt_), static_cast<QWidget *>(start_),
                       static_cast<QWidget *>(end_)})
        w->setEnabled(!housing);
}

} // namespace ui
