// The rate table: the lookup for the end date, the row selection and the
// rate table panel.
#include "Unit1.h"

#include "calc/apperror.h"
#include "rategrid.h"
#include "rates/ratefile.h"

#include <QDateEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

void TForm1::DateTimePicker2Change() {
    const rates::RateLookupPlan plan = rates::PlanRateLookup(table, DateTimePicker2->date());
    ValueListEditor1->selectRow(plan.lastRow + 1);
    if (!plan.error.isEmpty()) throw AppError(plan.error);
    if (plan.chosen < 0) return;
    Edit5->setText(plan.edit5Text);
    ValueListEditor1->selectRow(plan.chosen + 1);
}

void TForm1::ValueListEditor1SelectCell(int row) {
    const int i = row - 1;
    if (i < 0 || i >= table.count()) return; // the empty row of an empty table
    const rates::RowSelection s = rates::NormaliseRow(table.key(i), table.rate(i));
    if (s.outcome == rates::RowSelection::Nothing) return;
    if (s.outcome != rates::RowSelection::BadRate) {
        table.setRate(i, s.rate);
        ValueListEditor1->refresh();
        rates::RateFileSave(RateFilePath, table);
    }
    if (s.outcome != rates::RowSelection::Ok) {
        ask(QStringLiteral("Возможно допущена ошибка в при вводе. Исправите, пожалуйста."),
            QStringLiteral("Ошибка ввода"), MessageBoxes::Icon::Stop, MessageBoxes::Buttons::Ok);
        N1Click();
        return;
    }
    DateTimePicker3->setDate(s.date);
    Edit2->setText(s.rate);
    Edit5->setText(Edit2->text());
    if (Panel1->isVisibleTo(this) && Label22->isVisibleTo(Panel1)) N1Click();
}

void TForm1::N1Click() {
    setOuterHeight(Label6->y() + Label6->height() + 45);
    Panel1->show();
    Label16->hide();
    Label22->show();
    Label15->setText(QStringLiteral("Редактирование записи"));
}

void TForm1::Edit5Click() {
    Edit5->setEnabled(false);
    Panel2->show();
    Panel2->raise();
    DateTimePicker2Change();
    ValueListEditor1->setFocus();
}

void TForm1::Edit5Enter() {
    Edit5Click();
}

void TForm1::Edit5DblClick() {
    Edit5->selectAll();
    Edit5->setCursor(Qt::IBeamCursor);
}

void TForm1::ValueListEditor1DblClick() {
    FormClick();
}

void TForm1::ValueListEditor1KeyPress() {
    FormClick();
}

void TForm1::N3Click() {
    FormClick();
}
