// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace ui {

class Dialogs;

// Opens the user's mail program on a message to `name <address>` with the
// subject given; with no mail program the address goes to the clipboard and
// a box says where to write.
void writeMail(Dialogs &dialogs, const QString &name, const QString &address,
               const QString &subject);

} // namespace ui
