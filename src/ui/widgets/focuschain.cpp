// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/focuschain.h"

#include <QAbstractButton>

namespace ui {

QWidget *nextSeenInFocusChain(QWidget *window, bool next) {
    QWidget *const start = window->focusWidget() ? window->focusWidget() : window;
    QWidget *w = start;
    for (int guard = 0; guard < 1000; ++guard) {
        w = next ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == start) break;
        if (w->window() != window || w->focusProxy() || !(w->focusPolicy() & Qt::TabFocus) ||
            !w->isVisibleTo(window) || !w->isEnabled())
            continue;
        if (const auto *button = qobject_cast<QAbstractButton *>(w);
            button && button->autoExclusive() && !button->isChecked())
            continue;
        const QPoint middle = w->mapTo(window, w->rect().center());
        const QWidget *onTop = window->rect().contains(middle) ? window->childAt(middle) : nullptr;
        if (!onTop || !(onTop == w || w->isAncestorOf(onTop))) continue;
        return w;
    }
    return nullptr;
}

} // namespace ui
