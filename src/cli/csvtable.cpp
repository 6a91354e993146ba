#include "csvtable.h"

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
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        const QByteArray utf8 = fields[i].toUtf8();
        // A field is quoted only when it has to be: a comma, a quote, a line end.
        if (!utf8.contains(',') && !utf8.contains('"') && !utf8.contains('\n') &&
            !utf8.contains('\r')) {
            out += utf8;
            continue;
        }
        QByteArray quoted(utf8.size() * 2 + 2, Qt::Uninitialized);
        quoted.truncate(qsizetype(csv_write(quoted.data(), size_t(quoted.size()), utf8.constData(),
                                            size_t(utf8.size()))));
        out += quoted;
    }
    return out + "\r\n";
}

} // namespace cli
