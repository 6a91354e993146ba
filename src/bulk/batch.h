// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <QStringList>

// A whole CSV file of claims, a row at a time.
namespace bulk {

class ClaimRequest;
struct Defaults;
struct RunNotes;

// CSV in, CSV out, in the input's separator and encoding: every input column
// echoed in its place (those the program does not know as well), then the
// result columns and the error. Each row is written as soon as it is
// computed, each from the `options`' fields (none: the program's defaults)
// with its own columns over them. Returns how many rows could not be computed; `progress`, when
// given, hears of every thousandth row; `notes`, when given, of every row
// computed. Raises AppError for a file that is not CSV or whose header is
// unusable, for an option no row can use (no column changes what the rows
// count) and for output that cannot be written. The rows are counted on
// `jobs` threads and written in their order: the output is the same on any
// number.
int runBatch(QIODevice &in, QIODevice &out, const Defaults &defaults,
             const ClaimRequest *options = nullptr, QIODevice *progress = nullptr,
             RunNotes *notes = nullptr, int jobs = 1);
int runBatch(const QByteArray &csv, QIODevice &out, const Defaults &defaults,
             const ClaimRequest *options = nullptr, QIODevice *progress = nullptr,
             RunNotes *notes = nullptr, int jobs = 1);

// The columns the batch adds: days, rate, interest, total, fee, error.
QStringList resultColumnNames();

} // namespace bulk
