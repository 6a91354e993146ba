// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledger.h"

#include "batch.h"
#include "common/apperror.h"
#include "csvtable.h"
#include "ledgeraccount.h"
#include "ledgerrows.h"
#include "orderedwork.h"

#include <QDataStream>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTemporaryFile>
#include <algorithm>
#include <memory>
#include <queue>
#include <unordered_set>

namespace cli {
namespace {

[[noreturn]] void unreadable(const QString &why) {
    throw AppError(QStringLiteral("--ledger: %1").arg(why));
}

// Whether every account's rows are together (one pass over the file).
bool grouped(QFile &in) {
    const std::unique_ptr<LedgerRows> rows = LedgerRows::open(in);
    std::unordered_set<size_t> done;
    QByteArray current;
    bool any = false;
    while (rows->next()) {
        if (!rows->whole()) continue;
        const QByteArrayView key = rows->key();
        if (any && key == current) continue;
        if (any) done.insert(qHash(current));
        if (done.count(qHash(key))) return false;
        current = key.toByteArray();
        any = true;
    }
    return true;
}

// Takes the results: the output row, the details, the attachment, the
// count of errors and of progress.
struct Taker {
    QIODevice &out;
    const LedgerOptions &options;
    int failed = 0;
    qint64 accounts = 0;
    QElapsedTimer sinceTold;
    void take(LedgerResult &r) {
        writeOutput(out, r.row);
        if (options.details && !r.details.isEmpty()) writeOutput(*options.details, r.details);
        if (r.claim && options.attach) options.attach(r.name, *r.claim);
        failed += r.failed;
        ++accounts;
    }
    void tell(const LedgerRows &rows) {
        if (!options.progress || (sinceTold.isValid() && sinceTold.elapsed() < 100)) return;
        sinceTold.start();
        options.progress(accounts, rows.line() - 1, rows.share());
    }
};

using Work = OrderedWork<LedgerAccount, LedgerResult>;

// Accounts together: each is counted once its rows end.
void countGrouped(LedgerRows &rows, Work &work, Taker &taker) {
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

[[noreturn]] void tempFailed(const QFileDevice &f) {
    unreadable(QStringLiteral("временный файл: %1").arg(f.errorString()));
}

std::unique_ptr<QTemporaryFile> tempFile() {
    auto f = std::make_unique<QTemporaryFile>();
    if (!f->open()) tempFailed(*f);
    return f;
}

// Accounts apart: rows go to temporary files by their account's hash; each
// file is gathered into accounts in memory and counted, its results kept in
// a file of its own in the order of their first lines; the results are
// merged by first line.
void countScattered(LedgerRows &rows, Taker &taker, const LedgerOptions &options, qint64 size,
                    const std::function<LedgerResult(LedgerAccount &)> &count) {
    const int buckets = int(std::clamp<qint64>(size / (4 << 20), 8, 256));
    std::vector<std::unique_ptr<QTemporaryFile>> files, results;
    for (int i = 0; i < buckets; ++i)
        files.push_back(tempFile());
    {
        std::vector<std::unique_ptr<QDataStream>> streams;
        for (const auto &f : files)
            streams.push_back(std::make_unique<QDataStream>(f.get()));
        while (rows.next()) {
            // A row without an account to tell is one of its own.
            const size_t bucket =
                (rows.whole() ? qHash(rows.key()) : size_t(rows.line())) % size_t(buckets);
            QDataStream &s = *streams[bucket];
            rows.write(s);
            if (s.status() != QDataStream::Ok) tempFailed(*files[bucket]);
            taker.tell(rows);
        }
    }
    for (const auto &f : files) {
        if (!f->flush() || !f->seek(0)) tempFailed(*f);
        results.push_back(tempFile());
        QDataStream kept(results.back().get());
        {
            Work work(options.jobs, count, [&](LedgerResult &r) {
                kept << r.firstLine << r.row << r.details;
                if (kept.status() != QDataStream::Ok) tempFailed(*results.back());
                if (r.claim && options.attach) options.attach(r.name, *r.claim);
                taker.failed += r.failed;
                ++taker.accounts;
            });
            QDataStream in(f.get());
            QList<LedgerAccount> accounts;
            QHash<QByteArray, qsizetype> byKey;
            LedgerRows::Record record;
            while (!in.atEnd()) {
                if (!LedgerRows::read(in, record)) tempFailed(*f);
                const QByteArray key = rows.keyOf(record);
                const auto status = CsvReader::Status(record.status);
                const bool whole = record.plain || status == CsvReader::Status::Row ||
                                   status == CsvReader::Status::NotUtf8;
                qsizetype at = whole ? byKey.value(key, -1) : -1;
                if (at < 0) {
                    at = accounts.size();
                    accounts.append({QString(), record.line});
                    if (whole) byKey.insert(key, at);
                }
                LedgerRows::add(accounts[at], std::move(record));
            }
            f->resize(0); // its rows are read: the disk gets them back
            for (LedgerAccount &a : accounts)
                work.add(std::move(a));
            work.finish();
        }
        if (!results.back()->flush() || !results.back()->seek(0)) tempFailed(*results.back());
    }
    // The merge: the smallest first line of the files' next results, in turn.
    struct Next {
        qint64 line;
        size_t file;
        bool operator>(const Next &o) const { return line > o.line; }
    };
    std::vector<std::unique_ptr<QDataStream>> streams;
    std::priority_queue<Next, std::vector<Next>, std::greater<>> heads;
    std::vector<LedgerResult> held(results.size());
    const auto advance = [&](size_t i) {
        QDataStream &s = *streams[i];
        if (s.atEnd()) return;
        s >> held[i].firstLine >> held[i].row >> held[i].details;
        if (s.status() != QDataStream::Ok) tempFailed(*results[i]);
        heads.push({held[i].firstLine, i});
    };
    for (size_t i = 0; i < results.size(); ++i) {
        streams.push_back(std::make_unique<QDataStream>(results[i].get()));
        advance(i);
    }
    while (!heads.empty()) {
        const size_t i = heads.top().file;
        heads.pop();
        writeOutput(taker.out, held[i].row);
        if (options.details && !held[i].details.isEmpty())
            writeOutput(*options.details, held[i].details);
        advance(i);
    }
}

} // namespace

int runLedger(QFile &in, QIODevice &out, const LedgerOptions &options) {
    const bool together = grouped(in);
    if (!in.seek(0)) unreadable(QStringLiteral("файл не читается повторно"));
    const std::unique_ptr<LedgerRows> rows = LedgerRows::open(in);
    const CsvFormat format = rows->format();
    const LedgerColumns columns = rows->columns();
    if (format.encoding == TextEncoding::Utf8WithBom) {
        writeOutput(out, kUtf8Bom.toByteArray());
        if (options.details) writeOutput(*options.details, kUtf8Bom.toByteArray());
    }
    writeOutput(out, csvRow(ledgerResultHeader(columns.russian), format, true));
    if (options.details)
        writeOutput(*options.details, csvRow(ledgerDetailsHeader(columns.russian), format, true));
    Taker taker{out, options};
    const bool details = options.details != nullptr, attach = bool(options.attach);
    const std::function<LedgerResult(LedgerAccount &)> count = [&](LedgerAccount &a) {
        return countLedgerAccount(a, columns, options.base, format, details, attach);
    };
    if (together) {
        Work work(options.jobs, count, [&](LedgerResult &r) { taker.take(r); });
        countGrouped(*rows, work, taker);
        work.finish();
    } else {
        countScattered(*rows, taker, options, in.size(), count);
    }
    return taker.failed;
}

} // namespace cli
