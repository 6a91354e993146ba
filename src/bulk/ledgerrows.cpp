// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgerrows.h"

#include "calc/claimfields.h"
#include "common/apperror.h"

#include <QBuffer>
#include <QDataStream>

#include <cstring>

namespace bulk {
namespace {

constexpr qsizetype kChunk = 1 << 20;

QStringList readHeader(CsvReader &reader) {
    QStringList header;
    if (const QString problem = headerProblem(reader.next(header)); !problem.isEmpty())
        ledgerUnreadable(problem);
    return header;
}

} // namespace

void checkLedgerHeader(const QByteArray &firstLine) {
    QBuffer buffer;
    buffer.setData(firstLine);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(buffer);
    LedgerColumns columns;
    if (const QString problem = findLedgerColumns(readHeader(reader), columns); !problem.isEmpty())
        ledgerUnreadable(problem);
}

namespace {

QByteArrayView bytesOf(const QString &text) {
    return {reinterpret_cast<const char *>(text.utf16()), text.size() * 2};
}

// Field `index` of a plain line, blanks around it trimmed (as the reader trims them).
QByteArrayView plainField(QByteArrayView line, int index, char separator) {
    PlainFields split(line, separator);
    QByteArrayView field;
    for (int i = 0; i <= index; ++i)
        if (!split.next(field)) return {};
    return field;
}

// An account keeps no more rows than a claim may have and one: the count
// then says there are too many, and a single account of millions of rows
// does not fill the memory.
bool room(const LedgerAccount &a) {
    return a.numbers.size() + a.rows.size() <= calc::kMaxEntries;
}

// A record: the line, the status, whether it is a plain line, the length
// and the bytes.
constexpr qsizetype kRecordHead = 8 + 1 + 1 + 4;
void append(QByteArray &out, qint64 line, CsvReader::Status status, bool plain,
            QByteArrayView bytes) {
    const qint8 s = qint8(status), p = plain;
    const qint32 n = qint32(bytes.size());
    out.append(reinterpret_cast<const char *>(&line), 8);
    out.append(reinterpret_cast<const char *>(&s), 1);
    out.append(reinterpret_cast<const char *>(&p), 1);
    out.append(reinterpret_cast<const char *>(&n), 4);
    out.append(bytes);
}

class CsvRows : public LedgerRows {
public:
    explicit CsvRows(QFile &in) : LedgerRows(in), reader_(in) {
        const QStringList header = readHeader(reader_);
        if (const QString problem = findLedgerColumns(header, columns_); !problem.isEmpty())
            ledgerUnreadable(problem);
        format_ = reader_.format();
    }
    bool next() override {
        status_ = reader_.next(fields_);
        if (status_ == CsvReader::Status::End) return false;
        ++line_;
        if (status_ == CsvReader::Status::Broken)
            ledgerUnreadable(
                QStringLiteral("файл не читается как CSV после строки %1").arg(line_ - 1));
        whole_ = status_ == CsvReader::Status::Row || status_ == CsvReader::Status::NotUtf8;
        account_ = whole_ ? ledgerAccountOf(fields_, columns_) : QString();
        return true;
    }
    bool whole() const override { return whole_; }
    QByteArrayView key() const override { return bytesOf(account_); }
    void addTo(LedgerAccount &a) const override {
        if (room(a)) a.rows.append({line_, qint8(status_), fields_});
    }
    void write(QByteArray &out) const override {
        QByteArray fields;
        QDataStream to(&fields, QIODevice::WriteOnly);
        to << fields_;
        append(out, line_, status_, false, fields);
    }
    std::unique_ptr<LedgerRows> reopen() const override {
        if (!in_.seek(0)) ledgerUnreadable(QStringLiteral("файл не читается повторно"));
        return std::make_unique<CsvRows>(in_);
    }

private:
    CsvReader reader_;
    QStringList fields_;
    QString account_;
    CsvReader::Status status_ = CsvReader::Status::End;
    bool whole_ = false;
};

// Lines ended by LF (CR LF too), read a megabyte at a time.
class PlainRows : public LedgerRows {
public:
    // From the file's start (its byte order mark passed over), the header read.
    PlainRows(QFile &in, const LedgerColumns &columns, const CsvFormat &format) : LedgerRows(in) {
        columns_ = columns;
        format_ = format;
        if (!in_.seek(0)) ledgerUnreadable(QStringLiteral("файл не читается повторно"));
        if (format_.encoding == TextEncoding::Utf8WithBom) in_.read(kUtf8Bom.size());
        nextLine(); // the header
    }
    bool next() override {
        for (;;) {
            if (!nextLine()) return false;
            ++line_;
            if (tooLong_) return true;
            if (line_view_.trimmed().isEmpty()) continue; // a blank line is no row
            key_ = plainField(line_view_, columns_.account, format_.separator);
            return true;
        }
    }
    bool whole() const override { return !tooLong_; }
    QByteArrayView key() const override { return key_; }
    void addTo(LedgerAccount &a) const override {
        if (!room(a)) return;
        if (tooLong_) {
            a.rows.append({line_, qint8(CsvReader::Status::TooLong), {}});
            return;
        }
        a.lines += line_view_;
        a.lines += '\n';
        a.numbers.append(line_);
    }
    void write(QByteArray &out) const override {
        if (tooLong_)
            append(out, line_, CsvReader::Status::TooLong, false, {});
        else
            append(out, line_, CsvReader::Status::Row, true, line_view_);
    }
    std::unique_ptr<LedgerRows> reopen() const override {
        return std::make_unique<PlainRows>(in_, columns_, format_);
    }

private:
    // The next line without its end (or a line too long, passed over); false at the end.
    bool nextLine() {
        tooLong_ = false;
        for (;;) {
            const qsizetype end = buffer_.indexOf('\n', at_);
            if (end >= 0 && end - at_ <= CsvReader::kMaxLine) {
                line_view_ = QByteArrayView(buffer_).sliced(at_, end - at_);
                if (line_view_.endsWith('\r')) line_view_.chop(1);
                at_ = end + 1;
                return true;
            }
            if (end >= 0 || buffer_.size() - at_ > CsvReader::kMaxLine) { // too long: pass it
                tooLong_ = true;
                while (buffer_.indexOf('\n', at_) < 0) {
                    at_ = buffer_.size();
                    if (!refill()) return true;
                }
                at_ = buffer_.indexOf('\n', at_) + 1;
                return true;
            }
            if (!refill()) {
                if (at_ == buffer_.size()) return false;
                line_view_ = QByteArrayView(buffer_).sliced(at_); // the last line, unended
                if (line_view_.endsWith('\r')) line_view_.chop(1);
                at_ = buffer_.size();
                return true;
            }
        }
    }
    bool refill() {
        buffer_.remove(0, at_);
        at_ = 0;
        const QByteArray chunk = in_.read(kChunk);
        if (chunk.isEmpty()) {
            if (in_.error() != QFileDevice::NoError)
                ledgerUnreadable(QStringLiteral("файл не читается: %1").arg(in_.errorString()));
            return false;
        }
        buffer_ += chunk;
        return true;
    }

    QByteArray buffer_;
    qsizetype at_ = 0;
    QByteArrayView line_view_, key_;
    bool tooLong_ = false;
};

// Whether the file has no quote and no line ended by a CR alone: then its
// lines are its rows.
bool plainFile(QFile &in) {
    bool plain = true;
    char last = 0;
    for (QByteArray chunk; plain && !(chunk = in.read(kChunk)).isEmpty();) {
        plain = !chunk.contains('"');
        for (qsizetype i = chunk.indexOf('\r'); plain && i >= 0; i = chunk.indexOf('\r', i + 1))
            plain = i + 1 == chunk.size() || chunk[i + 1] == '\n';
        if (last == '\r' && chunk.front() != '\n') plain = false;
        last = chunk.back();
    }
    return plain;
}

} // namespace

double LedgerRows::share() const {
    return in_.size() > 0 ? double(in_.pos()) / double(in_.size()) : 1;
}

void ledgerUnreadable(const QString &why) {
    throw AppError(QStringLiteral("--ledger: %1").arg(why));
}

std::unique_ptr<LedgerRows> LedgerRows::open(QFile &in) {
    const CsvRows csv(in); // the header, the format, the columns
    if (!in.seek(0)) ledgerUnreadable(QStringLiteral("файл не читается повторно"));
    if (plainFile(in)) return std::make_unique<PlainRows>(in, csv.columns(), csv.format());
    return csv.reopen();
}

qsizetype LedgerRows::read(QByteArrayView from, Record &r) {
    if (from.size() < kRecordHead) return 0;
    qint32 n = 0;
    std::memcpy(&r.line, from.data(), 8);
    r.status = qint8(from[8]);
    r.plain = from[9] != 0;
    std::memcpy(&n, from.data() + 10, 4);
    if (n < 0 || from.size() < kRecordHead + n) return 0;
    r.bytes = from.sliced(kRecordHead, n);
    r.fields.clear();
    if (!r.plain) {
        QDataStream fields(r.bytes.toByteArray());
        fields >> r.fields;
    }
    return kRecordHead + n;
}

QByteArrayView LedgerRows::keyOf(const Record &r, QByteArray &storage) const {
    if (r.plain) return plainField(r.bytes, columns_.account, format_.separator);
    const auto status = CsvReader::Status(r.status);
    if (status != CsvReader::Status::Row && status != CsvReader::Status::NotUtf8) return {};
    storage = bytesOf(ledgerAccountOf(r.fields, columns_)).toByteArray();
    return storage;
}

void LedgerRows::add(LedgerAccount &a, Record &&r) {
    if (!room(a)) return;
    if (r.plain) {
        a.lines += r.bytes;
        a.lines += '\n';
        a.numbers.append(r.line);
        return;
    }
    a.rows.append({r.line, r.status, std::move(r.fields)});
}

} // namespace bulk
