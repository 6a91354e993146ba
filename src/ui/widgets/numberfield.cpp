// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/numberfield.h"

#include "calc/inputfield.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <memory>

namespace ui {

NumberField::NumberField(const QString &text, int typedLimit, Form form, QWidget *parent)
    : ClickableField(text, parent), typedLimit_(typedLimit), form_(form), previous_(text) {
    connect(this, &QLineEdit::textChanged, this, &NumberField::keepNumber);
    connect(this, &QLineEdit::textEdited, this, &NumberField::keepTypedLimit);
    connect(this, &ClickableField::doubleClicked, this, &QLineEdit::selectAll);
}

void NumberField::setEmptyText(const QString &text) {
    emptyText_ = text;
    keepNumber();
}

void NumberField::normalise() {
    setText(form_ == Form::Amount ? calc::normalisedAmount(text())
                                  : calc::normalisedNumber(text(), QStringLiteral("0")));
}

void NumberField::keyPressEvent(QKeyEvent *event) {
    // Tab and Shift+Tab never get here: they move the focus on. Shortcuts
    // (select all, copy, cut, undo) are the line edit's own; a paste is ours.
    if (event->matches(QKeySequence::Paste)) {
        pasteWithinLimit();
        return;
    }
    if (!(event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier)) && typeKey(event)) return;
    ClickableField::keyPressEvent(event);
}

void NumberField::contextMenuEvent(QContextMenuEvent *event) {
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    if (QAction *paste = pasteAction(menu.get())) {
        disconnect(paste, &QAction::triggered, nullptr, nullptr);
        connect(paste, &QAction::triggered, this, &NumberField::pasteWithinLimit);
    }
    menu->exec(event->globalPos());
}

// The line edit's own paste item: its text is Qt's (translated) "&Paste"
// followed by the shortcut.
QAction *NumberField::pasteAction(QMenu *menu) {
    const QString paste = QCoreApplication::translate("QLineEdit", "&Paste");
    for (QAction *action : menu->actions())
        if (action->text().section(u'\t', 0, 0) == paste) return action;
    return nullptr;
}

// Inserts, at the cursor, as much of the clipboard as fits the typed length;
// what was there stays. A full field takes nothing.
void NumberField::pasteWithinLimit() {
    insertWithinLimit(QGuiApplication::clipboard()->text());
}

void NumberField::insertWithinLimit(const QString &clip) {
    if (isReadOnly()) return;
    const qsizetype room = roomLeft();
    if (clip.isEmpty() || room <= 0) return;
    insert(clip.left(room));
}

// A middle click pastes the selection as Ctrl+V pastes the clipboard: what
// fits, at the place clicked.
void NumberField::mouseReleaseEvent(QMouseEvent *event) {
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (event->button() != Qt::MiddleButton || !clipboard->supportsSelection()) {
        ClickableField::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    if (!rect().contains(event->position().toPoint())) return;
    deselect();
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    insertWithinLimit(clipboard->text(QClipboard::Selection));
}

// How many characters may still be typed or pasted over the selection.
qsizetype NumberField::roomLeft() const {
    return typedLimit_ - (text().size() - selectedText().size());
}

bool NumberField::typeKey(QKeyEvent *event) {
    const QString typed = event->text();
    // Keys that type nothing (arrows, Home, Delete) edit the field as usual;
    // Enter and Escape go on to the window or dialog (a dialog's default
    // button, closing it), as from any other field.
    if (typed.isEmpty() || event->key() == Qt::Key_Delete) return false;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        return false;
    default:
        break;
    }
    const QChar c = calc::filterTypedKey(typed.front());
    if (c.isNull()) return true; // dropped
    if (c.unicode() == 8) return false;
    if (roomLeft() <= 0) return true;
    insert(QString(c));
    return true;
}

void NumberField::keepNumber() {
    if (!emptyText_.isEmpty() && text().isEmpty()) {
        setText(emptyText_);
        selectAll();
    } else {
        const QString kept = calc::longestNumberPrefix(text());
        if (kept != text()) setText(kept);
    }
    previous_ = text();
}

// Any other way text comes in (a middle click, a drop) may not make the text
// longer than can be typed: such an edit is refused whole. Edits that shorten
// the text never cut it: the program may have put a longer text there.
void NumberField::keepTypedLimit() {
    if (text().size() <= typedLimit_ || text().size() <= previous_.size()) return;
    const int cursor = cursorPosition() - int(text().size() - previous_.size());
    setText(previous_);
    setCursorPosition(std::max(0, cursor));
}

} // namespace ui
