// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periods/claimoptions.h"

#include "calc/claimfields.h"
#include "calc/presets.h"
#include "calc/userwindows.h"
#include "common/dates.h"
#include "ui/periods/partiessection.h"
#include "ui/widgets/datepicker.h"
#include "ui/widgets/dialogs.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace ui {

ClaimOptions::ClaimOptions(QWidget *parent, Dialogs &dialogs) : QWidget(parent), dialogs_(dialogs) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *options = new QHBoxLayout;
    moratorium_ =
        new QCheckBox(QStringLiteral("Мораторий %1–%2")
                          .arg(dateText(calc::kMoratoriumStart), dateText(calc::kMoratoriumEnd)),
                      this);
    moratorium_->setObjectName(QStringLiteral("moratorium"));
    moratorium_->setChecked(true);
    options->addWidget(moratorium_);
    // The day the debt's claim arose decides the moratorium: goods of March
    // paid for by April are covered.
    debtAroseLabel_ = new QLabel(QStringLiteral("долг возник:"), this);
    debtArose_ = new DatePicker(QRect(0, 0, 120, 24), this);
    debtArose_->setObjectName(QStringLiteral("debtArose"));
    debtArose_->setAccessibleName(QStringLiteral("Долг возник"));
    debtArose_->setToolTip(QStringLiteral("День, когда возникло требование по долгу (для "
                                          "моратория); по умолчанию — начало просрочки"));
    debtAroseLabel_->setBuddy(debtArose_);
    options->addWidget(debtAroseLabel_);
    options->addWidget(debtArose_);
    options->addStretch();
    auto *filingLabel = new QLabel(QStringLiteral("Дата подачи:"), this);
    filingDate_ = new DatePicker(QRect(0, 0, 120, 24), this);
    filingDate_->setObjectName(QStringLiteral("filingDate"));
    filingDate_->setToolTip(
        QStringLiteral("День подачи иска: по нему выбирается шкала госпошлины"));
    filingLabel->setBuddy(filingDate_);
    filingDate_->setAccessibleName(QStringLiteral("Дата подачи"));
    options->addWidget(filingLabel);
    options->addWidget(filingDate_);
    layout->addLayout(options);
    courtOrder_ = new QCheckBox(QStringLiteral("Заявление о выдаче судебного приказа"), this);
    courtOrder_->setObjectName(QStringLiteral("courtOrder"));
    courtOrder_->setToolTip(QStringLiteral("Госпошлина — половина пошлины иска"));
    continuing_ =
        new QCheckBox(QStringLiteral("Строка «и далее по день фактической оплаты долга»"), this);
    continuing_->setObjectName(QStringLiteral("continuing"));
    continuing_->setToolTip(QStringLiteral("Ставка следующего дня и сумма в день с неоплаченного "
                                           "долга — для требования о взыскании до дня оплаты"));
    continuing_->setChecked(true);
    claimBase_ = new QCheckBox(QStringLiteral("Взыскать и основной долг"), this);
    claimBase_->setObjectName(QStringLiteral("claimBase"));
    claimBase_->setToolTip(QStringLiteral("Требовать и то, на что начислена неустойка "
                                          "(предоплату, цену работы, страховое возмещение), "
                                          "или только неустойку"));
    claimBase_->setChecked(true);
    claimBase_->setEnabled(false);
    auto *choices = new QHBoxLayout;
    choices->addWidget(courtOrder_);
    choices->addWidget(continuing_);
    choices->addWidget(claimBase_);
    choices->addStretch();
    layout->addLayout(choices);
    makeWindows(layout);
    parties_ = new PartiesSection(this, dialogs);
    layout->addWidget(parties_);

    connect(moratorium_, &QCheckBox::toggled, this, &ClaimOptions::changed);
    connect(courtOrder_, &QCheckBox::toggled, this, &ClaimOptions::changed);
    connect(continuing_, &QCheckBox::toggled, this, &ClaimOptions::changed);
    connect(claimBase_, &QCheckBox::toggled, this, &ClaimOptions::changed);
    connect(filingDate_, &DatePicker::dateChanged, this, &ClaimOptions::changed);
    connect(debtArose_, &DatePicker::dateChanged, this, &ClaimOptions::changed);
    connect(parties_, &PartiesSection::changed, this, &ClaimOptions::changed);
}

// Days in which nothing accrues, typed as the command line takes them.
void ClaimOptions::makeWindows(QLayout *layout) {
    auto *row = new QHBoxLayout;
    auto *label = new QLabel(QStringLiteral("Периоды без &начисления:"), this);
    windowsField_ = new QLineEdit(this);
    windowsField_->setObjectName(QStringLiteral("userWindows"));
    windowsField_->setAccessibleName(QStringLiteral("Периоды без начисления"));
    windowsField_->setAccessibleDescription(
        QStringLiteral("Дни, в которые ничего не начисляется, например 01.02.2024-29.02.2024; "
                       "несколько периодов — через точку с запятой"));
    windowsField_->setToolTip(
        QStringLiteral("Постановление, которого программа еще не знает, или решение суда: "
                       "дд.мм.гггг-дд.мм.гггг, несколько — через «;»"));
    windowsField_->setPlaceholderText(QStringLiteral("нет"));
    label->setBuddy(windowsField_);
    row->addWidget(label);
    row->addWidget(windowsField_, 1);
    static_cast<QBoxLayout *>(layout)->addLayout(row);
    connect(windowsField_, &QLineEdit::editingFinished, this, &ClaimOptions::readWindows);
}

// Read as the command line's --window reads it; text that is no list of
// spans is refused with a word and the field goes back to what it held.
void ClaimOptions::readWindows() {
    const calc::FieldInfo &info = calc::fieldInfo(calc::ClaimField::Windows);
    QList<calc::DaySpan> read;
    try {
        read =
            calc::readField(info, windowsField_->text(), QStringLiteral("Периоды без начисления"))
                .spans;
    } catch (const calc::FieldError &e) {
        showWindows(windows_);
        dialogs_.ask(e.message() + u'.', kInputError, MessageBoxes::Icon::Stop);
        return;
    }
    showWindows(read);
    if (read == windows_) return;
    windows_ = read;
    emit changed();
}

void ClaimOptions::showWindows(const QList<calc::DaySpan> &windows) {
    QStringList texts;
    for (const calc::DaySpan &w : windows)
        texts << calc::daySpanText(w);
    windowsField_->setText(texts.join(QStringLiteral("; ")));
}

void ClaimOptions::fill(calc::PeriodInput &in) const {
    in.windows = windows_;
    in.parties = parties_->parties();
    in.moratorium = moratorium_->isChecked();
    in.courtOrder = courtOrder_->isChecked();
    in.continuing = continuing_->isChecked();
    in.claimBase =
        calc::baseChosen(in.basis) ? std::optional(claimBase_->isChecked()) : std::nullopt;
    in.filed = filingDate_->date();
    in.arose = debtArose_->date() == in.start ? QDate() : debtArose_->date();
}

void ClaimOptions::showDates(const calc::PeriodInput &claim) {
    const QSignalBlocker filed(filingDate_), arose(debtArose_);
    filingDate_->setDate(claim.filed);
    debtArose_->setDate(claim.arose.isValid() ? claim.arose : claim.start);
}

void ClaimOptions::showChoices(const calc::PeriodInput &claim) {
    const QSignalBlocker quiet(moratorium_), order(courtOrder_), on(continuing_), base(claimBase_);
    continuing_->setChecked(claim.continuing);
    claimBase_->setChecked(claim.claimBase.value_or(true));
    followBasis(claim);
    if (moratorium_->isEnabled()) moratorium_->setChecked(claim.moratorium);
    courtOrder_->setChecked(claim.courtOrder);
    windows_ = claim.windows;
    showWindows(windows_);
    parties_->show(claim.parties);
}

void ClaimOptions::followBasis(const calc::PeriodInput &claim) {
    claimBase_->setEnabled(calc::baseChosen(claim.basis));
}

void ClaimOptions::openParties() {
    parties_->open();
}

void ClaimOptions::addPaperButton(QWidget *button) {
    parties_->addBeside(button);
}

bool ClaimOptions::followMoratorium(const calc::PeriodInput &claim) {
    const bool covered = calc::moratoriumMayCover(claim);
    if (covered != moratorium_->isEnabled()) {
        const QSignalBlocker quiet(moratorium_);
        moratorium_->setEnabled(covered);
        moratorium_->setChecked(covered);
    }
    const QString noun = calc::chargeNoun(claim);
    moratorium_->setToolTip(
        covered ? QString()
                : QStringLiteral("Мораторий касается только долгов, возникших "
                                 "до %1: долги этого расчета возникли позже, "
                                 "%2 %3 и в дни моратория")
                      .arg(dateText(calc::kMoratoriumStart), noun, calc::accrualVerb(noun, true)));
    return moratorium_->isChecked();
}

void ClaimOptions::setHousing(bool housing) {
    debtArose_->setEnabled(!housing);
    debtAroseLabel_->setEnabled(!housing);
}

} // namespace ui
