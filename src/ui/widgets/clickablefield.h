// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLineEdit>

namespace ui {

// A line edit that tells of clicks, double clicks and the focus coming and
// going. A double click is the field's own: the word selection of a plain
// line edit would undo what the window does with it.
class ClickableField : public QLineEdit {
    Q_OBJECT
public:
    explicit ClickableField(const QString &text, QWidget *parent = nullptr);

signals:
    void clicked();
    void doubleClicked();
    void entered();
    // The focus went to another control. The window losing the focus (a
    // message box, another program, a popup) does not leave the field.
    void left();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    // Runs before `left` is told, when the field is really left.
    virtual void leaving() {}
};

} // namespace ui
