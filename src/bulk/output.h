// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QIODevice>
#include <QString>

// What the batch and the ledger write: whole, or not reported as written.
namespace bulk {

// Writes to the program's output; output that cannot be written (a full
// disk) raises AppError, and so does `flushOutput` for what a buffer held.
void writeOutput(QIODevice &out, const QByteArray &bytes);
void flushOutput(QFileDevice &out);

// A field as a spreadsheet will not run it as a formula: one starting with
// "=", "+", "-", "@" (after blanks too) or a control character gets an
// apostrophe before it.
QString inert(const QString &text);

} // namespace bulk
