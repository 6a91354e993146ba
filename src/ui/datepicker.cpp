// SPDX-License-Identifier: GPL-3.0-or-later
#include "datepicker.h"

#include "calc/claimfields.h"

#include <QLineEdit>
#include <QMouseEvent>

namespace ui {

DatePicker::DatePicker(QRect geometry, QWidget *parent) : QDateEdit(parent) {
    setGeometry(geometry);
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    setMinimumDate(calc::kEarliestDate);
    lineEdit()->installEventFilter(this);
}

// A press, not a release: a press on the button opens the calendar, which
// takes the release.
void DatePicker::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) emit clicked();
    QDateEdit::mousePressEvent(event);
}

bool DatePicker::eventFilter(QObject *watched, QEvent *event) {
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
        emit clicked();
    return QDateEdit::eventFilter(watched, event);
}

} // namespace ui
