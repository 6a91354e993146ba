#include "numberfield.h"

#include "calc/inputfield.h"

#include <QKeyEvent>

namespace ui {

NumberField::NumberField(const QString &text, int typedLimit, Form form, QWidget *parent)
    : ClickableField(text, parent), typedLimit_(typedLimit), form_(form) {
    connect(this, &QLineEdit::textChanged, this, &NumberField::keepNumber);
    connect(this, &QLineEdit::textEdited, this, &NumberField::keepTypedLimit);
    connect(this, &ClickableField::doubleClicked, this, &QLineEdit::selectAll);
}

void NumberField::setEmptyText(const QString &text) {
    emptyText_ = text;
    keepNumber();
}

void NumberField::normalise() {
    setText(form_ == Form::Amount ? calc::normalisedAmount(text())
                                  : calc::normalisedNumber(text(), QStringLiteral("0")));
}

bool NumberField::event(QEvent *event) {
    // Ahead of the line edit's own key handling, shortcuts included.
    if (event->type() == QEvent::KeyPress && typeKey(static_cast<QKeyEvent *>(event))) return true;
    return ClickableField::event(event);
}

bool NumberField::typeKey(QKeyEvent *event) {
    const QString typed = event->text();
    // Keys that type nothing (arrows, Home, Delete) edit the field as usual.
    if (typed.isEmpty() || event->key() == Qt::Key_Delete) return false;
    const QChar c = calc::filterTypedKey(typed.front());
    if (c.isNull()) return true; // dropped, clipboard shortcuts and Enter included
    if (c.unicode() == 8) return false;
    if (text().size() - selectedText().size() >= typedLimit_) return true;
    insert(QString(c));
    return true;
}

void NumberField::keepNumber() {
    if (!emptyText_.isEmpty() && text().isEmpty()) {
        setText(emptyText_);
        selectAll();
        return;
    }
    const QString kept = calc::longestNumberPrefix(text());
    if (kept != text()) setText(kept);
}

// Pasted text is cut to the field's length like typed text.
void NumberField::keepTypedLimit() {
    if (text().size() > typedLimit_) setText(text().left(typedLimit_));
}

} // namespace ui
