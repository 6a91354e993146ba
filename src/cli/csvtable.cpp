// SPDX-License-Identifier: GPL-3.0-or-later
#include "csvtable.h"

#include <QBuffer>
#include <QStringEncoder>
#include <algorithm>
#include <cstring>
#include <utility>

namespace cli {
namespace {

constexpr qsizetype kChunk = 64 * 1024;

} // namespace

CsvReader::CsvReader(QIODevice &in) : in_(in), cp1251_("windows-1251") {
    csv_init(&parser_, CSV_STRICT_FINI);
}

CsvReader::~CsvReader() {
    csv_free(&parser_);
}

void CsvReader::onField(void *text, size_t length, void *data) {
    auto *r = static_cast<CsvReader *>(data);
    const auto *chars = static_cast<const char *>(text);
    r->row_.append(r->format_.encoding == TextEncoding::Cp1251
                       ? r->cp1251_(QByteArrayView(chars, qsizetype(length)))
                       : QString::fromUtf8(chars, qsizetype(length)));
}

void CsvReader::onRowEnd(int, void *data) {
    auto *r = static_cast<CsvReader *>(data);
    const qsizetype fields = r->row_.size();
    r->ready_.append(std::move(r->row_));
    r->row_ = QStringList();
    r->row_.reserve(fields); // rows of a file are alike
    r->lineBytes_ = 0;
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
        if (c == '\n' || c == '\r') break;
        commas += c == ',';
        semicolons += c == ';';
        tabs += c == '\t';
    }
    if (semicolons > commas && semicolons >= tabs)
        format_.separator = ';';
    else if (tabs > commas && tabs > semicolons)
        format_.separator = '\t';
    configure();
}

void CsvReader::configure() {
    csv_set_delim(&parser_, format_.separator);
    if (format_.separator == '\t') // a tab separates; it is no blank to trim
        csv_set_space_func(&parser_, [](unsigned char c) { return c == ' ' ? 1 : 0; });
}

// Reads and parses the next chunk; false at the end of the input.
bool CsvReader::feed() {
    if (ended_) return false;
    QByteArray chunk = carry_.isEmpty() ? in_.read(kChunk) : std::exchange(carry_, {});
    if (!started_) {
        started_ = true;
        detectFormat(chunk);
        if (format_.encoding == TextEncoding::Utf8WithBom) chunk.remove(0, kUtf8Bom.size());
    }
    if (chunk.isEmpty()) {
        ended_ = true;
        if (csv_fini(&parser_, onField, onRowEnd, this) != 0) broken_ = true;
        return !ready_.isEmpty();
    }
    const qsizetype before = ready_.size();
    lineBytes_ += chunk.size();
    if (csv_parse(&parser_, chunk.constData(), size_t(chunk.size()), onField, onRowEnd, this) !=
        size_t(chunk.size()))
        broken_ = true;
    // A row ended in this chunk: what follows it is a fraction of the chunk.
    if (ready_.size() > before) lineBytes_ = std::min(lineBytes_, kChunk);
    return true;
}

// Drops the overlong line: the parser starts afresh after the next line end.
// A line that does not end within many times the limit ends the reading: no
// input is read on without limit.
void CsvReader::skipLine() {
    csv_free(&parser_);
    csv_init(&parser_, CSV_STRICT_FINI);
    configure();
    row_.clear();
    lineBytes_ = 0;
    for (qsizetype skipped = 0; skipped < 16 * kMaxLine;) {
        const QByteArray chunk = in_.read(kChunk);
        if (chunk.isEmpty()) break;
        const qsizetype end = chunk.indexOf('\n');
        if (end >= 0) {
            carry_ = chunk.mid(end + 1);
            return;
        }
        skipped += chunk.size();
    }
    ended_ = true;
    broken_ = !in_.atEnd();
}

CsvReader::Status CsvReader::next(QStringList &row) {
    while (ready_.isEmpty()) {
        if (broken_) return Status::Broken;
        if (lineBytes_ > kMaxLine) {
            skipLine();
            return Status::TooLong;
        }
        if (!feed()) return broken_ ? Status::Broken : Status::End;
    }
    row = ready_.takeFirst();
    return Status::Row;
}

bool readCsv(const QByteArray &bytes, QList<QStringList> &rows) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    CsvReader reader(buffer);
    QStringList row;
    for (;;) {
        switch (reader.next(row)) {
        case CsvReader::Status::Row:
            rows.append(row);
            continue;
        case CsvReader::Status::End:
            return true;
        case CsvReader::Status::TooLong:
        case CsvReader::Status::Broken:
            return false;
        }
    }
}

QByteArray csvRow(const QStringList &fields, const CsvFormat &format, bool header) {
    static QStringEncoder cp1251("windows-1251");
    const char16_t separator = char16_t(format.separator);
    // Room for the worst case, written through a pointer: a row is written
    // for every claim of a batch.
    qsizetype room = 2;
    for (const QString &field : fields)
        room += 3 * field.size() + 3;
    QByteArray out(room, Qt::Uninitialized);
    char *p = out.data();
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) *p++ = format.separator;
        const QString &field = fields[i];
        const auto *chars = reinterpret_cast<const char16_t *>(field.constData());
        const qsizetype n = field.size();
        // A field is quoted only when it has to be: a separator, a quote, a
        // line end, or blanks at its ends (a reader would trim them). In the
        // header any of the separators is quoted: the header tells a reader
        // which one the file has.
        bool plain = n == 0 || (chars[0] != u' ' && chars[n - 1] != u' ');
        bool ascii = true;
        for (qsizetype k = 0; k < n; ++k) {
            const char16_t u = chars[k];
            plain = plain && u != separator && u != u'"' && u != u'\n' && u != u'\r' &&
                    !(header && (u == u',' || u == u';' || u == u'\t'));
            ascii = ascii && u < 0x80;
        }
        if (!plain) *p++ = '"';
        if (ascii) {
            for (qsizetype k = 0; k < n; ++k) {
                if (chars[k] == u'"') *p++ = '"';
                *p++ = char(chars[k]);
            }
        } else {
            const QString text =
                plain ? field : QString(field).replace(u'"', QStringLiteral("\"\""));
            const QByteArray bytes =
                format.encoding == TextEncoding::Cp1251 ? QByteArray(cp1251(text)) : text.toUtf8();
            // Doubled quotes can outgrow the room of a short field.
            const qsizetype at = p - out.data();
            if (at + bytes.size() + 4 > out.size()) {
                out.resize(at + bytes.size() + room);
                p = out.data() + at;
            }
            std::memcpy(p, bytes.constData(), size_t(bytes.size()));
            p += bytes.size();
        }
        if (!plain) *p++ = '"';
    }
    *p++ = '\r';
    *p++ = '\n';
    out.truncate(p - out.data());
    return out;
}

} // namespace cli
