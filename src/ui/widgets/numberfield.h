// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/widgets/clickablefield.h"

class QAction;
class QMenu;

namespace ui {

// A field for a number typed by hand. Typed keys go through the key filter
// ("." becomes ",", letters are dropped) and stop at the typed length; Tab
// and the editing shortcuts work as in any field; the text is kept a number
// on every change, pasted text included; leaving the field normalises it. The program itself may
// write longer texts: "9999999999999,00" must survive normalisation, so the limit is not
// QLineEdit's maxLength.
class NumberField : public ClickableField {
    Q_OBJECT
public:
    enum class Form {
        Amount, // two decimals: "1234,50"
        Number  // the general form, "0" for nothing or zero: "0,125"
    };
    NumberField(const QString &text, int typedLimit, Form form, QWidget *parent = nullptr);

    // What an emptied field becomes at once (selected, so typing replaces
    // it); by default an emptied field stays empty.
    void setEmptyText(const QString &text);

    // The normalisation that leaving the field does.
    void normalise();

    // The paste item of a menu the field made (its standard context menu).
    static QAction *pasteAction(QMenu *menu);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaving() override { normalise(); }

private:
    // Handles a typed key; false when the line edit should have it.
    bool typeKey(QKeyEvent *event);
    qsizetype roomLeft() const;
    void keepNumber();
    void keepTypedLimit();
    void pasteWithinLimit();
    // Inserts at the cursor as much of `clip` as fits the typed length.
    void insertWithinLimit(const QString &clip);

    int typedLimit_;
    Form form_;
    QString emptyText_;
    QString previous_; // the text before the change being handled
};

} // namespace ui
