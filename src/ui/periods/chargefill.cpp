// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periods/chargefill.h"

#include "calc/claimfields.h"
#include "ui/widgets/numberfield.h"

#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>

namespace ui {
namespace {

QDateEdit *monthField(QDate month, const QString &name, QWidget *parent) {
    auto *field = new QDateEdit(month, parent);
    field->setDisplayFormat(QStringLiteral("MM.yyyy"));
    field->setMinimumDate(calc::kEarliestDate);
    field->setAccessibleName(name);
    return field;
}

} // namespace

bool askChargeRange(QWidget *parent, QDate &from, QDate &to, QString &amount) {
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("chargeFill"));
    dialog.setWindowTitle(QStringLiteral("Заполнить начисления"));
    auto *layout = new QFormLayout(&dialog);
    QDateEdit *first = monthField(from, QStringLiteral("С месяца"), &dialog);
    first->setObjectName(QStringLiteral("fillFrom"));
    QDateEdit *last = monthField(to, QStringLiteral("По месяц"), &dialog);
    last->setObjectName(QStringLiteral("fillTo"));
    auto *sum = new NumberField(amount, calc::kAmountLength, NumberField::Form::Amount, &dialog);
    sum->setObjectName(QStringLiteral("fillAmount"));
    sum->setAccessibleName(QStringLiteral("Начислено за месяц, руб."));
    layout->addRow(QStringLiteral("С месяца:"), first);
    layout->addRow(QStringLiteral("По месяц:"), last);
    layout->addRow(QStringLiteral("Начислено за месяц, руб.:"), sum);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return false;
    sum->normalise();
    from = first->date();
    to = last->date();
    amount = sum->text();
    return true;
}

} // namespace ui
