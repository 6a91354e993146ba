// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace ui {

// What a screen reader sees of the window's own kinds of widget: an action
// link is a push button named by its text, whose "press" runs it; a widget
// with the property "decorative" (the pictures, the icons beside their
// links) is left out as invisible. Installed once; later calls do nothing.
void installAccessibleParts();

} // namespace ui
