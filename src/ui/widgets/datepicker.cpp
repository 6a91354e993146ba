// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/datepicker.h"

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
    const bool left = (event->type() == QEvent::MouseButtonPress ||
                       event->type() == QEvent::MouseButtonRelease) &&
                      static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
    if (watched == lineEdit() && left && event->type() == QEvent::MouseButtonPress) emit clicked();
    // One click selects the day, month or year under the pointer, so that
    // typed digits replace it (a drag keeps its own selection).
    if (watched == lineEdit() && left && event->type() == QEvent::MouseButtonRelease)
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!lineEdit()->hasSelectedText()) setSelectedSection(currentSection());
            },
            Qt::QueuedConnection);
    return QDateEdit::eventFilter(watched, event);
}

} // namespace ui
