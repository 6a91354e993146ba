// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace ui {

// A label with this property set true is an action link with a clicked() signal.
inline constexpr char kActionLink[] = "actionLink";
// A combo box with this property set true is named by its accessible name and
// valued by its chosen text.
inline constexpr char kNamedChoice[] = "namedChoice";

// What a screen reader sees of the window's own kinds of widget: an action
// link is a push button named by its text, whose "press" emits clicked(); a widget
// with the property "decorative" (the pictures, the icons beside their
// links) is left out as invisible. Installed once; later calls do nothing.
void installAccessibleParts();

} // namespace ui
