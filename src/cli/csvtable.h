// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/textencoding.h"

#include <QByteArray>
#include <QList>
#include <QStringDecoder>
#include <QStringList>
#include <csv.h>

class QIODevice;

// CSV as spreadsheets write it: ",", ";" or a tab between fields (found from
// the header line), quoted fields, CR LF or LF, UTF-8 with or without a byte
// order mark or code page 1251. Read and written with libcsv, a row at a
// time, so a file of any length takes the same memory.
namespace cli {

struct CsvFormat {
    char separator = ',';
    TextEncoding encoding = TextEncoding::Utf8;
};

class CsvReader {
public:
    // No row or field may be longer than this: a file of one endless line
    // (a device, a binary) must not be read without limit.
    static constexpr qsizetype kMaxLine = 1 << 20;

    explicit CsvReader(QIODevice &in);
    ~CsvReader();
    CsvReader(const CsvReader &) = delete;
    CsvReader &operator=(const CsvReader &) = delete;

    enum class Status {
        Row,     // `row` holds the next row (blank lines are no rows)
        End,     // no more rows
        TooLong, // a line longer than kMaxLine was skipped; the next row follows it
        Broken,  // not CSV: a quote left open at the end
    };
    Status next(QStringList &row);
    // The separator and the encoding, known once the first row is read.
    const CsvFormat &format() const { return format_; }

private:
    bool feed();
    void detectFormat(QByteArrayView start);
    void configure();
    void skipLine();
    static void onField(void *text, size_t length, void *reader);
    static void onRowEnd(int, void *reader);

    QIODevice &in_;
    csv_parser parser_{};
    CsvFormat format_;
    QStringDecoder cp1251_;
    bool started_ = false, ended_ = false, broken_ = false;
    qsizetype lineBytes_ = 0; // fed since the last row ended
    QByteArray carry_;        // read past an overlong line, not parsed yet
    QStringList row_;
    QList<QStringList> ready_;
};

// The rows of a CSV text; false when it is not CSV or has an overlong line.
bool readCsv(const QByteArray &bytes, QList<QStringList> &rows);

// One row in `format`, fields quoted where they must be, ended by CR LF.
// A `header` row is read again for its separator, so any separator in it is quoted.
QByteArray csvRow(const QStringList &fields, const CsvFormat &format = {}, bool header = false);

} // namespace cli
