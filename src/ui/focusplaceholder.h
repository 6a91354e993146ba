// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

namespace ui {

// Holds a place in the keyboard order for inputs that are made on first use:
// when Tab or Shift+Tab reaches it, it asks for them, and their part makes
// them, puts them in its place and gives them the focus. It draws nothing.
class FocusPlaceholder : public QWidget {
    Q_OBJECT
public:
    FocusPlaceholder(const QString &name, QWidget *parent);

signals:
    // The keyboard reached the place; `backwards` for Shift+Tab.
    void wanted(bool backwards);

protected:
    void focusInEvent(QFocusEvent *event) override;
};

} // namespace ui
