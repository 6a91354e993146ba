// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateEdit>

class QKeyEvent;

namespace ui {

// A date field with a calendar drop-down, dates written dd.mm.yyyy whatever
// the desktop's locale, and clicked() for a press of the left button on its
// text or its drop-down button. Digits typed after a click replace the day,
// month or year under it; eight digits in a row (or a date with its dots)
// set the whole date wherever the click was, and a date that is none is
// refused: the field keeps the date it had and says why.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    DatePicker(QRect geometry, QWidget *parent);

signals:
    void clicked();
    // A whole date was typed that is none ("31.02.2024"): why, for the user.
    void refused(const QString &why);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    // The text is a line edit of its own, whose presses never reach the picker.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Takes a key into the run of typed digits; true when it completed a
    // whole date (set, or refused), which the field then must not see.
    bool takeTyped(QKeyEvent *event);

    // A key reaches the picker (its focus) or its text (sent there), never
    // both: the picker hands keys to the text directly, past the filter.
    QString typed_; // digits and dots since the last click or other key
    QDate before_;  // the date when the run began
};

} // namespace ui
