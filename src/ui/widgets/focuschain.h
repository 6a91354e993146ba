// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QWidget>

namespace ui {

// A part's place in the window's keyboard order. The window tells each link
// which one it follows; a part whose widgets are made on first use puts them
// after that link's last widget when they are made, so the order is the same
// whichever part is made first. A link whose widgets are not made yet passes
// its predecessor's last widget on to the link after it.
class FocusLink {
public:
    // Follows `before`; widgets already made take their place now.
    void follow(const FocusLink *before) {
        before_ = before;
        if (!widgets_.isEmpty()) place(widgets_);
    }
    // The widgets of this link, in order, after the link it follows.
    void place(const QList<QWidget *> &widgets) {
        widgets_ = widgets;
        QWidget *previous = before_ ? before_->last() : nullptr;
        for (QWidget *w : widgets) {
            if (previous) QWidget::setTabOrder(previous, w);
            previous = w;
        }
    }
    // The last widget of this link, or of the nearest link before it that has any.
    QWidget *last() const {
        if (!widgets_.isEmpty()) return widgets_.last();
        return before_ ? before_->last() : nullptr;
    }

private:
    const FocusLink *before_ = nullptr;
    QList<QWidget *> widgets_;
};

// Where Tab (or Shift+Tab, `next` false) goes in `window` from its focus:
// the next control in the chain that can be seen, passing over those below
// the window's edge (the report before the first calculation, a mode group
// not chosen), hidden under another part (the rate table under its editor)
// and an unchecked button beside the checked one of its group. Each control
// is visited once a round. Null when none can be seen.
QWidget *nextSeenInFocusChain(QWidget *window, bool next);

} // namespace ui
