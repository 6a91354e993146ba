// SPDX-License-Identifier: GPL-3.0-or-later
#include "csvtable.h"

#include <QBuffer>
#include <QStringEncoder>
#include <cstring>

namespace bulk {
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
        case CsvReader::Status::OpenQuote:
        case CsvReader::Status::NotUtf8:
        case CsvReader::Status::Broken:
            return false;
        }
    }
}

QByteArray csvRow(const QStringList &fields, const CsvFormat &format, bool header) {
    thread_local QStringEncoder cp1251("windows-1251"); // rows are written on every core
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

} // namespace bulk
