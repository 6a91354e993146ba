// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

namespace ui {

// Draws a ring round `widget` while it has the keyboard focus, for a widget
// whose own look does not show it: a read-only text without a caret, an empty
// grid, a slider whose handle hardly changes, a grid whose current row is
// drawn as its chosen one. The ring is the style's focus frame, in the
// window's text colour, and is no object a screen reader lists.
void ringFocus(QWidget *widget);

} // namespace ui
