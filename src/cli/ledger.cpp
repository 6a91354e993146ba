// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger.h"

#include "ledgerwork.h"

#include <QFile>
#include <memory>
#include <unordered_set>

namespace cli {
namespace {

// Whether every account's rows are together (one pass over the file).
bool grouped(LedgerRows &rows) {
    std::unordered_set<size_t> done;
    QByteArray current;
    bool any = false;
    while (rows.next()) {
        if (!rows.whole()) continue;
        const QByteArrayView key = rows.key();
        if (any && key == current) continue;
        if (any) done.insert(qHash(current));
        if (done.count(qHash(key))) return false;
        current = key.toByteArray();
        any = true;
    }
    return true;
}

// Accounts together: each is counted once its rows end.
void countGrouped(LedgerRows &rows, LedgerWork &work, LedgerTaker &taker) {
    LedgerAccount current;
    QByteArray key;
    bool any = false;
    while (rows.next()) {
        if (!rows.whole()) { // no account to tell: a row of its own
            LedgerAccount lost{QString(), rows.line()};
            rows.addTo(lost);
            work.add(std::move(lost));
            continue;
        }
        if (!any || rows.key() != key) {
            if (any) work.add(std::move(current));
            current = LedgerAccount{QString(), rows.line()};
            key = rows.key().toByteArray();
            any = true;
        }
        rows.addTo(current);
        taker.tell(rows);
    }
    if (any) work.add(std::move(current));
}

} // namespace

int runLedger(QFile &in, QIODevice &out, const LedgerOptions &options) {
    const std::unique_ptr<LedgerRows> first = LedgerRows::open(in);
    const bool together = grouped(*first);
    const std::unique_ptr<LedgerRows> rows = first->reopen();
    const CsvFormat format = rows->format();
    const LedgerColumns columns = rows->columns();
    if (format.encoding == TextEncoding::Utf8WithBom) {
        writeOutput(out, kUtf8Bom.toByteArray());
        if (options.details) writeOutput(*options.details, kUtf8Bom.toByteArray());
    }
    writeOutput(out, csvRow(ledgerResultHeader(columns.russian), format, true));
    if (options.details)
        writeOutput(*options.details, csvRow(ledgerDetailsHeader(columns.russian), format, true));
    LedgerTaker taker{out, options};
    const bool details = options.details != nullptr, attach = bool(options.attach);
    const LedgerCount count = [&](LedgerAccount &a) {
        return countLedgerAccount(a, columns, options.base, format, details, attach);
    };
    if (together) {
        LedgerWork work(options.jobs, count, [&](LedgerResult &r) {
            taker.write(r.row, r.details);
            taker.counted(r);
        });
        countGrouped(*rows, work, taker);
        work.finish();
    } else {
        countScattered(*rows, taker, in.size(), count);
    }
    return taker.failed;
}

} // namespace cli
