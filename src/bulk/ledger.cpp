// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger.h"

#include "ledgerwork.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <unordered_set>

namespace bulk {
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

// Accounts together: each is counted once its rows end. A row with no
// account to tell is a row of its own, handed on after the account being
// read (which appeared first), so the output keeps the order of first lines.
void countGrouped(LedgerRows &rows, LedgerWork &work, LedgerTaker &taker) {
    LedgerAccount current;
    QList<LedgerAccount> lost;
    QByteArray key;
    bool any = false;
    const auto handOn = [&] {
        if (any) work.add(std::move(current));
        for (LedgerAccount &row : lost)
            work.add(std::move(row));
        lost.clear();
    };
    while (rows.next()) {
        if (!rows.whole()) {
            lost.append(LedgerAccount{QString(), rows.line()});
            rows.addTo(lost.last());
            if (!any) handOn();
            continue;
        }
        if (!any || rows.key() != key) {
            handOn();
            current = LedgerAccount{QString(), rows.line()};
            key = rows.key().toByteArray();
            any = true;
        }
        rows.addTo(current);
        taker.tell(rows);
    }
    handOn();
}

// The file as the first pass found it: a file that grows or shrinks (still
// being written) is refused, never counted half-old.
struct Seen {
    qint64 size = 0;
    QDateTime modified;
    static Seen of(const QFile &in) {
        const QFileInfo info(in.fileName());
        return {in.size(), info.lastModified()};
    }
    void check(const QFile &in) const {
        const Seen now = of(in);
        if (now.size != size || now.modified != modified)
            ledgerUnreadable(QStringLiteral("файл изменился во время расчета; дождитесь, пока его "
                                            "запишут, и запустите расчет снова"));
    }
};

} // namespace

int runLedger(QFile &in, QIODevice &out, const LedgerOptions &options) {
    const Seen seen = Seen::of(in);
    const std::unique_ptr<LedgerRows> first = LedgerRows::open(in);
    const bool together = grouped(*first);
    if (options.betweenPasses) options.betweenPasses();
    seen.check(in);
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
    const bool details = options.details != nullptr;
    const LedgerClaims claims = !options.attach  ? LedgerClaims::None
                                : options.papers ? LedgerClaims::ForPapers
                                                 : LedgerClaims::WithDebt;
    const LedgerCount count = [&](LedgerAccount &a) {
        return countLedgerAccount(a, columns, options.base, format, details, claims);
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
    seen.check(in);
    return taker.failed;
}

} // namespace bulk
