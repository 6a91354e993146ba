#include "datepicker.h"

#include <QMouseEvent>

namespace ui {

DatePicker::DatePicker(QRect geometry, QWidget *parent) : QDateEdit(parent) {
    setGeometry(geometry);
    setCalendarPopup(true);
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    setMinimumDate(QDate(1990, 1, 1));
}

void DatePicker::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QDateEdit::mouseReleaseEvent(event);
}

} // namespace ui
