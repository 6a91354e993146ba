// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateEdit>

namespace ui {

// A date field with a calendar drop-down, dates written dd.mm.yyyy whatever
// the desktop's locale, and clicked() for a press of the left button on its
// text or its drop-down button.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    DatePicker(QRect geometry, QWidget *parent);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    // The text is a line edit of its own, whose presses never reach the picker.
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace ui
