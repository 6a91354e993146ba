// Editing the rate table: adding, changing and deleting entries.
#include "Unit1.h"

#include "calc/apperror.h"
#include "calc/inputfield.h"
#include "calc/penalty.h"
#include "rategrid.h"
#include "rates/periodkey.h"
#include "rates/ratefile.h"

#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

namespace {

const QString kInputError = QStringLiteral("Ошибка ввода");
const QString kCheckInput =
    QStringLiteral("Возможно допущена ошибка в при вводе. Исправите, пожалуйста.");

} // namespace

void TForm1::saveAfterEdit() {
    try {
        rates::RateFileSave(RateFilePath, table);
    } catch (const AppError &e) {
        ask(ErrorText(e.message()), QStringLiteral("Ошибка сохранения"), MessageBoxes::Icon::Stop,
            MessageBoxes::Buttons::Ok);
    }
}

void TForm1::addClick() {
    setOuterHeight(Label6->y() + Label6->height() + 50);
    Panel1->show();
    Panel1->raise();
    Label22->hide();
    Label16->show();
    Label15->setText(QStringLiteral("Добавление записи"));
    DateTimePicker3->setDate(QDate::currentDate());
    Edit2->setText(table.count() > 0 ? table.rate(0) : QString());
    Edit2->setFocus();
    Edit2->selectAll();
}

void TForm1::Label16Click() {
    Edit2Exit();
    const QString line =
        rates::PeriodKeyConvert(calc::DateText(DateTimePicker3->date())) + u'=' + Edit2->text();
    ValueListEditor1->selectRow(1);
    try {
        table.insertTop(line);
    } catch (const AppError &) {
        ask(QStringLiteral("Дата ставки уникальна. Ошибка в повторении даты введения ставки"),
            kInputError, MessageBoxes::Icon::Stop, MessageBoxes::Buttons::Ok);
        Label23Click();
        return;
    }
    ValueListEditor1->refresh();
    saveAfterEdit();
    Label23Click();
}

void TForm1::Label22Click() {
    Edit2Exit();
    const QString line =
        rates::PeriodKeyConvert(calc::DateText(DateTimePicker3->date())) + u'=' + Edit2->text();
    const int i = ValueListEditor1->selectedRow() - 1;
    bool changed = false;
    // An empty table has no entry to change: that is an input error too.
    if (i < table.count()) {
        try {
            table.replace(i, line);
            changed = true;
        } catch (const AppError &) {
        }
    }
    if (changed) {
        ValueListEditor1->refresh();
        saveAfterEdit();
    } else {
        ask(kCheckInput, kInputError, MessageBoxes::Icon::Stop, MessageBoxes::Buttons::Ok);
    }
    Label23Click();
}

void TForm1::N2Click() {
    const int row = ValueListEditor1->selectedRow();
    if (table.count() == 0) return; // nothing to delete: no question, no error
    const QString key = table.key(row - 1);
    const QString text = QStringLiteral("Выбранная ставка:\r\n\r\n") + key + QStringLiteral(" = ") +
                         table.rate(row - 1) + QStringLiteral("%\r\n\r\nПроизвести удаление?");
    if (!ask(text, QStringLiteral("Подтверждение удаления"), MessageBoxes::Icon::Question,
             MessageBoxes::Buttons::OkCancel))
        return;
    Panel1->hide();
    if (row == table.count() && table.count() > 1) ValueListEditor1->selectRow(row - 1);
    table.remove(row - 1);
    ValueListEditor1->refresh();
    saveAfterEdit();
}

void TForm1::Label23Click() {
    Panel1->hide();
}

void TForm1::Edit2Change() {
    if (Edit2->text().isEmpty()) {
        Edit2->setText(QStringLiteral("0"));
        Edit2->selectAll();
        return;
    }
    keepNumber(Edit2);
}

void TForm1::Edit2DblClick() {
    Edit2->selectAll();
}

void TForm1::Edit2Exit() {
    Edit2->setText(calc::EditClean(Edit2->text(), QStringLiteral("0")));
}
