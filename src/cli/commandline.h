#pragma once

#include <QIODevice>
#include <QStringList>

// Долгомер without its window: one report, or a whole CSV file of claims.
namespace cli {

struct Defaults;

// Whether the arguments ask for the command line rather than the window:
// any argument that starts with "--".
bool wantsCommandLine(int argc, char **argv);

// Runs the command line; the exit code: 0 done, 1 some batch rows failed,
// 2 a bad option or value (told on standard error in Russian).
int runCommandLine(int argc, char **argv);

// The batch itself: CSV in, CSV out. Returns how many rows could not be
// computed; `progress`, when given, hears of every thousandth row. Raises
// AppError for a file that is not CSV or has an unknown column.
int runBatch(const QByteArray &csv, QIODevice &out, const Defaults &defaults,
             QIODevice *progress = nullptr);

// The Russian help text.
QString helpText();

} // namespace cli
