// The number fields and the calculation.
#include "Unit1.h"

#include "calc/inputfield.h"
#include "rategrid.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QTextEdit>

bool TForm1::filterKey(QLineEdit *edit, QKeyEvent *event) {
    const QString text = event->text();
    // Keys that type nothing (arrows, Home, Delete) edit the field as usual.
    if (text.isEmpty() || event->key() == Qt::Key_Delete) return false;
    const QChar c = calc::FilterKey(text.front());
    if (c.isNull()) return true; // dropped, clipboard shortcuts and Enter included
    if (c.unicode() == 8) return false;
    // Typing stops at the field's length; the program may write longer texts.
    const int limit = typedLimit_.value(edit);
    if (edit->text().size() - edit->selectedText().size() >= limit) return true;
    edit->insert(QString(c));
    return true;
}

void TForm1::keepNumber(QLineEdit *edit) {
    const QString kept = calc::EditCheck(edit->text());
    if (kept != edit->text()) edit->setText(kept);
}

// Pasted text is cut to the field's length like typed text.
void TForm1::limitTyped(QLineEdit *edit) {
    const int limit = typedLimit_.value(edit);
    if (edit->text().size() > limit) edit->setText(edit->text().left(limit));
}

void TForm1::Edit1Change() {
    keepNumber(Edit1);
}

void TForm1::Edit6Change() {
    keepNumber(Edit6);
}

void TForm1::Edit1Click() {
    FormClick();
    Edit1->selectAll();
}

void TForm1::Edit6Click() {
    FormClick();
}

void TForm1::Edit1DblClick() {
    Edit1->selectAll();
}

void TForm1::Edit6DblClick() {
    Edit6->selectAll();
}

void TForm1::Edit1Exit() {
    Edit1->setText(calc::Edit1Exit(Edit1->text()));
}

void TForm1::Edit6Exit() {
    Edit6->setText(calc::EditClean(Edit6->text(), QStringLiteral("0")));
}

void TForm1::DateTimePicker1Click() {
    FormClick();
}

void TForm1::DateTimePicker2Click() {
    FormClick();
}

bool TForm1::statutoryMode() const {
    // The mode is whether the statutory group box is shown (it is, below the
    // window's edge, until a mode is chosen).
    return !GroupBox2->isHidden();
}

void TForm1::Label6Click() {
    Edit6Exit();
    Edit1Exit();
    FormClick();
    RichEdit1->clear();
    RichEdit1->show();
    setOuterHeight(RichEdit1->y() + RichEdit1->height() + 40);
    dateParts = calc::DecodeDates(DateTimePicker1->date(), DateTimePicker2->date());

    calc::CalcInput in;
    in.debtText = Edit1->text();
    in.refinancingText = Edit5->text();
    in.contractText = Edit6->text();
    in.start = DateTimePicker1->date();
    in.end = DateTimePicker2->date();
    in.taxPercent = TrackBar1->value();
    in.divisorText = Label17->text();
    in.statutory = statutoryMode();
    in.court =
        RadioButton1->isChecked() ? calc::Court::Arbitration : calc::Court::GeneralJurisdiction;
    RichEdit1->setPlainText(calc::Calculate(in).lines.join(u'\n'));
}

void TForm1::Image11Click() {
    Label6Click();
}

void TForm1::N9Click() {
    Label6Click();
}

void TForm1::N7Click() {
    RichEdit1->copy();
}

void TForm1::N5Click() {
    RichEdit1->selectAll();
}
