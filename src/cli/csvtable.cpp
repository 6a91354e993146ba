#include "csvtable.h"

#include <algorithm>
#include <csv.h>

namespace cli {
namespace {

struct Reader {
    QList<QStringList> *rows;
    QStringList row;
};

void onField(void *text, size_t length, void *data) {
    auto *r = static_cast<Reader *>(data);
    r->row.append(QString::fromUtf8(static_cast<const char *>(text), qsizetype(length)));
}

void onRowEnd(int, void *data) {
    auto *r = static_cast<Reader *>(data);
    r->rows->append(r->row);
    r->row.clear();
}

} // namespace

bool readCsv(const QByteArray &bytes, QList<QStringList> &rows) {
    QByteArrayView text(bytes);
    if (text.startsWith("\xEF\xBB\xBF")) text = text.sliced(3);
    csv_parser parser;
    if (csv_init(&parser, CSV_STRICT_FINI) != 0) return false;
    Reader reader{&rows, {}};
    bool ok = csv_parse(&parser, text.data(), size_t(text.size()), onField, onRowEnd, &reader) ==
              size_t(text.size());
    ok = csv_fini(&parser, onField, onRowEnd, &reader) == 0 && ok;
    csv_free(&parser);
    return ok;
}

QByteArray csvRow(const QStringList &fields) {
    QByteArray out;
    out.reserve(256);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        const QString &field = fields[i];
        // A field is quoted only when it has to be: a comma, a quote, a line end.
        const bool plain = std::none_of(field.cbegin(), field.cend(), [](QChar c) {
            return c == u',' || c == u'"' || c == u'\n' || c == u'\r';
        });
        if (plain) {
            out += field.toUtf8();
            continue;
        }
        const QByteArray utf8 = field.toUtf8();
        const qsizetype at = out.size();
        out.resize(at + utf8.size() * 2 + 2);
        const size_t written = csv_write(out.data() + at, size_t(utf8.size() * 2 + 2),
                                         utf8.constData(), size_t(utf8.size()));
        out.resize(at + qsizetype(written));
    }
    return out + "\r\n";
}

} // namespace cli
