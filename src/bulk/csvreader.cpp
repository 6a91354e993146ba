// SPDX-License-Identifier: GPL-3.0-or-later
// Reading CSV a line at a time: libcsv parses, and the reader keeps the place
// where each row began, so that a quote that never closes costs only its row.
#include "csvtable.h"

#include <QFileDevice>
#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <unistd.h>
#include <utility>

namespace bulk {
namespace {

constexpr qsizetype kChunk = 64 * 1024;
// How far past the limit a quoted field is followed to its closing quote
// before the quote is taken as never closing.
constexpr qsizetype kQuotedReach = 16 * CsvReader::kMaxLine;

bool endsLine(char c) {
    return c == '\n' || c == '\r';
}

// Text that was meant as UTF-8 and is not: the decoder put a replacement
// character where the bytes held none.
bool badUtf8(const QString &text, QByteArrayView bytes) {
    return text.contains(QChar::ReplacementCharacter) &&
           !bytes.contains(QByteArrayView("\xEF\xBF\xBD"));
}

} // namespace

CsvReader::CsvReader(QIODevice &in)
    : in_(in), sequential_(in.isSequential()), cp1251_("windows-1251") {
    csv_init(&parser_, CSV_STRICT_FINI);
    // A pipe or a terminal is read as it comes, not a whole chunk at a time,
    // so that each row is answered soon after its line came in.
    if (auto *file = qobject_cast<QFileDevice *>(&in); file && in.isSequential())
        fd_ = file->handle();
}

CsvReader::~CsvReader() {
    csv_free(&parser_);
}

void CsvReader::onField(void *text, size_t length, void *data) {
    auto *r = static_cast<CsvReader *>(data);
    const QByteArrayView bytes(static_cast<const char *>(text), qsizetype(length));
    if (r->format_.encoding == TextEncoding::Cp1251) {
        r->row_.append(r->cp1251_(bytes));
        return;
    }
    r->row_.append(QString::fromUtf8(bytes));
    if (badUtf8(r->row_.back(), bytes)) r->rowNotUtf8_ = true;
}

void CsvReader::onRowEnd(int, void *data) {
    auto *r = static_cast<CsvReader *>(data);
    const qsizetype fields = r->row_.size();
    r->ready_.append({r->rowNotUtf8_ ? Status::NotUtf8 : Status::Row, std::move(r->row_)});
    r->row_ = QStringList();
    r->row_.reserve(fields); // rows of a file are alike
    r->rowNotUtf8_ = false;
}

// The separator is the one the header line has most of, outside quotes; the
// encoding UTF-8 when the start of the file reads as UTF-8, else code page 1251.
void CsvReader::detectFormat(QByteArrayView start) {
    format_.encoding = detectEncoding(start, true);
    int commas = 0, semicolons = 0, tabs = 0;
    bool quoted = false;
    for (const char c : start) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (endsLine(c)) break;
        commas += c == ',';
        semicolons += c == ';';
        tabs += c == '\t';
    }
    if (semicolons > commas && semicolons >= tabs)
        format_.separator = ';';
    else if (tabs > commas && tabs > semicolons)
        format_.separator = '\t';
    restart();
}

// A fresh parser in the file's format; the row being read is dropped.
void CsvReader::restart() {
    csv_free(&parser_);
    csv_init(&parser_, CSV_STRICT_FINI);
    csv_set_delim(&parser_, format_.separator);
    if (format_.separator == '\t') // a tab separates; it is no blank to trim
        csv_set_space_func(&parser_, [](unsigned char c) { return c == ' ' ? 1 : 0; });
    row_.clear();
    rowNotUtf8_ = false;
    rowBytes_ = 0;
    kept_.clear();
}

// Reads more input after what is left; false at its end.
bool CsvReader::refill() {
    if (atEnd_) return false;
    buffer_.remove(0, at_);
    bufferPos_ += at_;
    at_ = 0;
    QByteArray chunk;
    if (fd_ >= 0) {
        pollfd ready{fd_, POLLIN, 0};
        if (wait_ && poll(&ready, 1, 0) == 0) wait_();
        chunk.resize(kChunk);
        ssize_t n;
        do
            n = ::read(fd_, chunk.data(), size_t(kChunk));
        while (n < 0 && errno == EINTR);
        if (n < 0) broken_ = true;
        chunk.resize(std::max<qsizetype>(n, 0));
    } else {
        chunk = in_.read(kChunk);
    }
    if (!started_) {
        started_ = true;
        detectFormat(chunk);
        if (format_.encoding == TextEncoding::Utf8WithBom) {
            chunk.remove(0, kUtf8Bom.size());
            bufferPos_ += kUtf8Bom.size();
        }
    }
    if (chunk.isEmpty()) {
        atEnd_ = true;
        return false;
    }
    buffer_ += chunk;
    return true;
}

// The next physical line, its CR or LF included, or a piece of a long one;
// empty at the end of the input.
QByteArrayView CsvReader::nextLine() {
    if (at_ == buffer_.size() && !refill()) return {};
    const char *begin = buffer_.constData() + at_;
    const qsizetype most = std::min(buffer_.size() - at_, kChunk);
    qsizetype n = 0;
    while (n < most && !endsLine(begin[n]))
        ++n;
    if (n < most) ++n;
    at_ += n;
    return {begin, n};
}

QString headerProblem(CsvReader::Status status) {
    switch (status) {
    case CsvReader::Status::Row:
        return {};
    case CsvReader::Status::End:
        return QStringLiteral("в файле нет строки заголовка");
    case CsvReader::Status::TooLong:
        return QStringLiteral("строка заголовка длиннее 1 МБ");
    case CsvReader::Status::OpenQuote:
        return QStringLiteral("в строке заголовка не закрыта кавычка");
    case CsvReader::Status::NotUtf8:
    case CsvReader::Status::Broken:
        break;
    }
    return QStringLiteral("файл не читается как CSV");
}

bool PlainFields::next(QByteArrayView &field) {
    if (from_ > line_.size()) return false;
    qsizetype to = line_.indexOf(separator_, from_);
    if (to < 0) to = line_.size();
    const auto blank = [this](char c) { return c == ' ' || (c == '\t' && separator_ != '\t'); };
    qsizetype a = from_, b = to;
    while (a < b && blank(line_[a]))
        ++a;
    while (b > a && blank(line_[b - 1]))
        --b;
    field = line_.sliced(a, b - a);
    from_ = to + 1;
    return true;
}

QStringList splitPlainLine(QByteArrayView line, const CsvFormat &format, bool &notUtf8) {
    QStringList fields;
    notUtf8 = false;
    while (!line.isEmpty() && endsLine(line.back()))
        line.chop(1);
    if (line.isEmpty()) return fields;                  // a blank line is no row
    thread_local QStringDecoder cp1251("windows-1251"); // ledgers are read on every core
    fields.reserve(line.count(format.separator) + 1);
    PlainFields split(line, format.separator);
    for (QByteArrayView bytes; split.next(bytes);) {
        if (format.encoding == TextEncoding::Cp1251) {
            fields.append(cp1251(bytes));
        } else {
            fields.append(QString::fromUtf8(bytes));
            notUtf8 = notUtf8 || badUtf8(fields.back(), bytes);
        }
    }
    return fields;
}

// A whole line with no quote in it is split as the parser would split it,
// at a fraction of its cost (a ledger has millions of such lines).
void CsvReader::splitPlain(QByteArrayView line) {
    row_ = splitPlainLine(line, format_, rowNotUtf8_);
    if (!row_.isEmpty()) onRowEnd(0, this);
}

void CsvReader::feed(QByteArrayView line) {
    if (rowBytes_ == 0 && endsLine(line.back()) && !line.contains('"')) {
        splitPlain(line);
        return;
    }
    if (rowBytes_ == 0) {
        rowStart_ = bufferPos_ + at_ - line.size();
        firstLine_ = -1;
    }
    rowBytes_ += line.size();
    const bool ended = endsLine(line.back());
    if (ended && firstLine_ < 0) firstLine_ = rowBytes_;
    if (sequential_ && kept_.size() < kMaxLine)
        kept_ += line.first(std::min(line.size(), kMaxLine - kept_.size()));
    if (csv_parse(&parser_, line.data(), size_t(line.size()), onField, onRowEnd, this) !=
        size_t(line.size()))
        broken_ = true; // out of memory: nothing can be read on
    // After a line end the row is over unless a quoted field goes on.
    if (ended && !parser_.quoted) {
        rowBytes_ = 0;
        kept_.clear();
    }
}

CsvReader::Status CsvReader::next(QStringList &row) {
    while (ready_.isEmpty()) {
        if (broken_) return Status::Broken;
        if (rowBytes_ > kMaxLine) return parser_.quoted ? passQuotedField() : passLongLine();
        const QByteArrayView line = nextLine();
        if (!line.isEmpty()) {
            feed(line);
            continue;
        }
        if (broken_) return Status::Broken;
        if (rowBytes_ > 0 && parser_.quoted) return resumeAfterOpenQuote();
        if (finished_) return Status::End;
        finished_ = true;
        csv_fini(&parser_, onField, onRowEnd, this);
    }
    Ready ready = ready_.takeFirst();
    row = std::move(ready.fields);
    return ready.status;
}

// An unquoted line over the limit: passed over up to its end. A line that
// does not end within many times the limit ends the reading: no input is
// read on without limit.
CsvReader::Status CsvReader::passLongLine() {
    restart();
    for (qsizetype passed = 0; passed < kQuotedReach;) {
        const QByteArrayView piece = nextLine();
        if (piece.isEmpty()) return Status::TooLong;
        if (endsLine(piece.back())) return Status::TooLong;
        passed += piece.size();
    }
    broken_ = true;
    return Status::TooLong;
}

// A quoted field over the limit is followed, quotes counted, to the end of
// its row: a long field costs its row and the reading stays in step. When its
// quote does not close by the end of the input or far past the limit, the
// quote is taken as never closing.
CsvReader::Status CsvReader::passQuotedField() {
    bool quoted = true;
    for (qsizetype passed = 0; passed < kQuotedReach; ++passed) {
        if (at_ == buffer_.size() && !refill()) break;
        const char c = buffer_[at_++];
        if (c == '"')
            quoted = !quoted; // a doubled quote inside opens and closes again
        else if (!quoted && endsLine(c)) {
            restart();
            return Status::TooLong;
        }
    }
    return resumeAfterOpenQuote();
}

// The row whose quote never closed is passed over; reading goes on at the
// line after its first one, read again from the input where it can be, else
// from the row's first kMaxLine bytes kept for this.
CsvReader::Status CsvReader::resumeAfterOpenQuote() {
    const qint64 start = rowStart_;
    const qsizetype first = firstLine_;
    QByteArray kept = std::exchange(kept_, {});
    restart();
    if (first < 0) return Status::OpenQuote; // one line to the end: nothing to read again
    if (sequential_) {
        buffer_ = kept.mid(first) + buffer_.mid(at_);
    } else {
        if (!in_.seek(start + first)) broken_ = true;
        buffer_.clear();
        bufferPos_ = start + first;
        atEnd_ = false;
    }
    at_ = 0;
    return Status::OpenQuote;
}

} // namespace bulk
