// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/textencoding.h"

#include <QByteArray>
#include <QList>
#include <QStringDecoder>
#include <QStringList>
#include <csv.h>
#include <functional>

class QIODevice;

// CSV as spreadsheets write it: ",", ";" or a tab between fields (found from
// the header line), quoted fields, CR LF or LF, UTF-8 with or without a byte
// order mark or code page 1251. Read and written with libcsv, a row at a
// time, so a file of any length takes the same memory.
namespace bulk {

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
        Row,       // `row` holds the next row (blank lines are no rows)
        End,       // no more rows
        TooLong,   // a row longer than kMaxLine was passed over; the next row follows it
        OpenQuote, // a quote opened in this row never closed (by the end of the
                   // input, or far past the limit): the row is passed over and
                   // reading goes on at the line after the row's first line
        NotUtf8,   // a row of a UTF-8 file that is not UTF-8; `row` holds it read so
        Broken,    // the input could not be read on
    };
    Status next(QStringList &row);
    // The separator and the encoding, known once the first row is read.
    const CsvFormat &format() const { return format_; }
    // Called before the reader waits for input that has not come yet (a pipe
    // fed a row at a time), so that what is owed for the rows so far can be
    // written out first.
    void onWait(std::function<void()> wait) { wait_ = std::move(wait); }

private:
    struct Ready {
        Status status;
        QStringList fields;
    };
    bool refill();
    QByteArrayView nextLine();
    void feed(QByteArrayView line);
    void splitPlain(QByteArrayView line);
    void detectFormat(QByteArrayView start);
    void restart();
    Status passLongLine();
    Status passQuotedField();
    Status resumeAfterOpenQuote();
    static void onField(void *text, size_t length, void *reader);
    static void onRowEnd(int, void *reader);

    QIODevice &in_;
    bool sequential_; // cannot be read again: a row's first bytes are kept instead
    int fd_ = -1;     // a pipe or terminal read as it comes; -1 for other input
    std::function<void()> wait_;
    csv_parser parser_{};
    CsvFormat format_;
    QStringDecoder cp1251_;
    bool started_ = false, atEnd_ = false, finished_ = false, broken_ = false;
    QByteArray buffer_; // read, from at_ on not parsed yet
    qsizetype at_ = 0;
    qint64 bufferPos_ = 0; // where buffer_ starts in a seekable input
    // The row being read: its bytes so far, where it began, the length of
    // its first line (-1 until that line ends) and, from an input that cannot
    // be read again, its first kMaxLine bytes.
    qsizetype rowBytes_ = 0;
    qint64 rowStart_ = 0;
    qsizetype firstLine_ = -1;
    QByteArray kept_;
    bool rowNotUtf8_ = false;
    QStringList row_;
    QList<Ready> ready_;
};

// The fields of a line with no quote in it (and no line end), one at a
// time, as the reader splits them: the bytes between separators, blanks
// around them trimmed (a tab is a blank unless it separates).
class PlainFields {
public:
    PlainFields(QByteArrayView line, char separator) : line_(line), separator_(separator) {}
    // The next field; false after the last.
    bool next(QByteArrayView &field);

private:
    QByteArrayView line_;
    char separator_;
    qsizetype from_ = 0; // past the end after the last field
};

// The fields of a line with no quote in it, as the reader splits it (its
// line end dropped, blanks around each field trimmed; none for a blank
// line); `notUtf8` tells that a field of a UTF-8 text is not UTF-8.
QStringList splitPlainLine(QByteArrayView line, const CsvFormat &format, bool &notUtf8);

// What is wrong with a file whose first row, its header, came with
// `status` ("" for a row read whole).
QString headerProblem(CsvReader::Status status);

// The rows of a CSV text; false when a row is too long, has a quote that
// never closes or is not in the text's encoding.
bool readCsv(const QByteArray &bytes, QList<QStringList> &rows);

// One row in `format`, fields quoted where they must be, ended by CR LF.
// A `header` row is read again for its separator, so any separator in it is quoted.
QByteArray csvRow(const QStringList &fields, const CsvFormat &format = {}, bool header = false);

} // namespace bulk
