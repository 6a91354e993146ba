// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIODevice>
#include <QStringList>

// Долгомер without its window: one report, or a whole CSV file of claims.
namespace cli {

// Whether the arguments ask for the command line rather than the window:
// any argument that starts with "--", or -h, or -V.
bool wantsCommandLine(int argc, char **argv);

// Runs the command line; the exit code: 0 done, 1 some batch rows failed,
// 2 a bad option or value (told on standard error in Russian).
int runCommandLine(int argc, char **argv);

// The Russian help text.
QString helpText();

} // namespace cli
