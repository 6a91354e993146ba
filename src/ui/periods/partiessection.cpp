// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periods/partiessection.h"

#include "calc/claimfields.h"
#include "ui/widgets/dialogs.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace ui {
namespace {

using F = calc::ClaimField;

// The fields in the order the papers name them, with their labels.
struct PartyField {
    F field;
    const char *label;
};
const PartyField kFields[] = {
    {F::Claimant, "&Взыскатель (истец):"},
    {F::ClaimantAddress, "Адрес взыскателя:"},
    {F::ClaimantId, "ИНН, ОГРН или паспорт взыскателя:"},
    {F::Debtor, "&Должник (ответчик):"},
    {F::DebtorAddress, "Адрес должника:"},
    {F::DebtorId, "ИНН, ОГРН или паспорт должника:"},
    {F::DebtorBorn, "Дата и место рождения должника:"},
    {F::Ground, "Основание требования:"},
    {F::CourtName, "С&уд (кому):"},
    {F::CourtAddress, "Адрес суда:"},
};

QString withoutMnemonic(const char *label) {
    QString text = QString::fromUtf8(label).remove(u'&');
    text.chop(1); // the colon
    return text;
}

} // namespace

PartiesSection::PartiesSection(QWidget *parent, Dialogs &dialogs)
    : QWidget(parent), dialogs_(dialogs) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    toggle_ = new QToolButton(this);
    toggle_->setObjectName(QStringLiteral("partiesToggle"));
    toggle_->setText(QStringLiteral("Стороны"));
    toggle_->setAccessibleName(QStringLiteral("Стороны и суд для документов"));
    toggle_->setToolTip(QStringLiteral("Взыскатель, должник, основание и суд — для претензии, "
                                       "заявления о выдаче судебного приказа и иска"));
    toggle_->setCheckable(true);
    toggle_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    toggle_->setArrowType(Qt::RightArrow);
    toggle_->setAutoRaise(true);
    row_ = new QHBoxLayout;
    row_->addWidget(toggle_);
    row_->addStretch();
    layout->addLayout(row_);
    connect(toggle_, &QToolButton::toggled, this, &PartiesSection::unfold);
}

void PartiesSection::addBeside(QWidget *widget) {
    row_->insertWidget(row_->count() - 1, widget);
}

void PartiesSection::unfold(bool open) {
    toggle_->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
    if (open && !form_) makeFields();
    if (form_) form_->setVisible(open);
}

void PartiesSection::makeFields() {
    form_ = new QWidget(this);
    form_->setObjectName(QStringLiteral("partiesForm"));
    auto *form = new QFormLayout(form_);
    form->setContentsMargins(0, 0, 0, 0);
    // The section's fields follow its row in the keyboard's order.
    QWidget *before = row_->itemAt(row_->count() - 2)->widget();
    for (const PartyField &p : kFields) {
        auto *field = new QLineEdit(form_);
        field->setObjectName(QLatin1String(calc::fieldInfo(p.field).column));
        field->setAccessibleName(withoutMnemonic(p.label));
        form->addRow(QString::fromUtf8(p.label), field);
        setTabOrder(before, field);
        before = field;
        const int index = int(fields_.size());
        connect(field, &QLineEdit::editingFinished, this, [this, index] { readField(index); });
        fields_.append(field);
    }
    static_cast<QVBoxLayout *>(layout())->addWidget(form_);
    showFields();
}

// Read as a batch's column is read: text that is no party's is refused
// with a word and the field goes back to what it held.
void PartiesSection::readField(int index) {
    const calc::FieldInfo &info = calc::fieldInfo(kFields[index].field);
    QString *kept = calc::partyText(parties_, info.field);
    QString read;
    try {
        read = calc::readField(info, fields_[index]->text(), withoutMnemonic(kFields[index].label))
                   .text;
    } catch (const calc::FieldError &e) {
        fields_[index]->setText(*kept);
        dialogs_.ask(e.message() + u'.', kInputError, MessageBoxes::Icon::Stop);
        return;
    }
    fields_[index]->setText(read);
    if (read == *kept) return;
    *kept = read;
    emit changed();
}

void PartiesSection::show(const calc::Parties &parties) {
    parties_ = parties;
    showFields();
}

void PartiesSection::showFields() {
    for (int i = 0; i < fields_.size(); ++i)
        fields_[i]->setText(*calc::partyText(parties_, kFields[i].field));
}

void PartiesSection::open() {
    toggle_->setChecked(true);
    for (QLineEdit *field : fields_)
        if (field->text().isEmpty()) {
            field->setFocus(Qt::OtherFocusReason);
            return;
        }
}

} // namespace ui
