// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/clickablefield.h"

#include <QFocusEvent>
#include <QMouseEvent>

namespace ui {

ClickableField::ClickableField(const QString &text, QWidget *parent) : QLineEdit(parent) {
    setText(text);
}

void ClickableField::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLineEdit::mouseReleaseEvent(event);
}

void ClickableField::mouseDoubleClickEvent(QMouseEvent *) {
    emit doubleClicked();
}

void ClickableField::focusInEvent(QFocusEvent *event) {
    // Tab reached it going forward; Shift+Tab passes back through it, and the
    // focus given back to it (after its table closed) is no new arrival.
    if (event->reason() == Qt::TabFocusReason) emit entered();
    QLineEdit::focusInEvent(event);
}

void ClickableField::focusOutEvent(QFocusEvent *event) {
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        leaving();
        emit left();
    }
    QLineEdit::focusOutEvent(event);
}

} // namespace ui
