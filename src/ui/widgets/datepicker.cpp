// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/datepicker.h"

#include "calc/claimfields.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QToolTip>

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

void DatePicker::keyPressEvent(QKeyEvent *event) {
    if (!takeTyped(event)) QDateEdit::keyPressEvent(event);
}

void DatePicker::focusInEvent(QFocusEvent *event) {
    typed_.clear();
    QDateEdit::focusInEvent(event);
}

bool DatePicker::takeTyped(QKeyEvent *event) {
    const QString text = event->text();
    if (text.size() != 1 || !(text[0].isDigit() || text[0] == u'.')) {
        typed_.clear(); // another key ends the run
        return false;
    }
    if (typed_.isEmpty()) before_ = date();
    typed_ += text;
    static const QRegularExpression whole(
        QStringLiteral("^(?:(\\d{2})(\\d{2})(\\d{4})|(\\d{1,2})\\.(\\d{1,2})\\.(\\d{4}))$"));
    const QRegularExpressionMatch m = whole.match(typed_);
    if (!m.hasMatch()) {
        if (typed_.size() >= 10) typed_.clear(); // no date is this long
        return false;
    }
    const int first = m.capturedLength(1) ? 1 : 4;
    const QDate day(m.captured(first + 2).toInt(), m.captured(first + 1).toInt(),
                    m.captured(first).toInt());
    typed_.clear();
    if (day.isValid() && day >= minimumDate() && day <= maximumDate()) {
        setDate(day);
        selectAll();
        return true;
    }
    setDate(before_);
    const QString why =
        day.isValid()
            ? QStringLiteral("Дата %1 раньше %2")
                  .arg(day.toString(displayFormat()), minimumDate().toString(displayFormat()))
            : QStringLiteral("Такой даты нет: %1.%2.%3")
                  .arg(m.captured(first), m.captured(first + 1), m.captured(first + 2));
    QToolTip::showText(mapToGlobal(QPoint(0, height())), why, this);
    emit refused(why);
    return true;
}

bool DatePicker::eventFilter(QObject *watched, QEvent *event) {
    if (watched == lineEdit() && event->type() == QEvent::KeyPress &&
        takeTyped(static_cast<QKeyEvent *>(event)))
        return true;
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonPress) typed_.clear();
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
