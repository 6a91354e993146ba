#pragma once

#include <QByteArray>
#include <QList>
#include <QStringList>

// CSV as spreadsheets write it (comma-separated, quoted fields, CR LF or LF,
// UTF-8 with or without a byte order mark), read and written with libcsv.
namespace cli {

// The rows of a CSV text; blank lines are no rows. False when the text is
// not CSV (a quote left open at the end).
bool readCsv(const QByteArray &bytes, QList<QStringList> &rows);

// One row, fields quoted where they must be, ended by CR LF.
QByteArray csvRow(const QStringList &fields);

} // namespace cli
