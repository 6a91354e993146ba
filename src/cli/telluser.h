// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace cli {

// A line for the user on standard error: "dolgomer: " and the message, the
// system's common reasons in Russian.
void tellUser(const QString &message);

} // namespace cli
