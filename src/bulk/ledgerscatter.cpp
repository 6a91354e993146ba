// SPDX-License-Identifier: GPL-3.0-or-later
// A ledger whose accounts' rows are apart: its rows go to temporary files by
// their account's hash, so that each file holds whole accounts and fits in
// memory; each is gathered and counted while the next is read; the results,
// kept in files by group in the order of their first lines, are merged.
#include "common/apperror.h"
#include "ledgerwork.h"
#include "storage/savedfile.h"
#include "storage/temporary.h"

#include <QHash>
#include <QTemporaryFile>
#include <algorithm>
#include <cstring>
#include <memory>
#include <queue>
#include <vector>

namespace bulk {
namespace {

constexpr qsizetype kBuffer = 256 << 10; // written out when it holds this much
constexpr qsizetype kRead = 1 << 20;

[[noreturn]] void tempFailed(const QFileDevice &f) {
    ledgerUnreadable(QStringLiteral("временный файл в папке \"%1\": %2")
                         .arg(storage::temporaryFolder(), f.errorString()));
}

// Temporary files each written through a buffer of its own.
class Spool {
public:
    explicit Spool(int count) : buffers_(size_t(count)) {
        for (int i = 0; i < count; ++i) {
            files_.push_back(std::make_unique<QTemporaryFile>(storage::temporaryTemplate()));
            if (!files_.back()->open()) tempFailed(*files_.back());
        }
    }
    QByteArray &buffer(size_t i) { return buffers_[i]; }
    void wrote(size_t i) {
        if (buffers_[i].size() >= kBuffer) flush(i);
    }
    // Every buffer written out; the files ready to be read from the start.
    void rewind() {
        for (size_t i = 0; i < files_.size(); ++i) {
            flush(i);
            if (!files_[i]->flush() || !files_[i]->seek(0)) tempFailed(*files_[i]);
        }
    }
    QTemporaryFile &file(size_t i) { return *files_[i]; }
    size_t size() const { return files_.size(); }

private:
    void flush(size_t i) {
        if (!storage::writeWhole(*files_[i], buffers_[i])) tempFailed(*files_[i]);
        buffers_[i].clear();
    }
    std::vector<std::unique_ptr<QTemporaryFile>> files_;
    std::vector<QByteArray> buffers_;
};

// A file read a megabyte at a time: `next` gives what is unread, `take`
// drops what was used, `more` reads on (false at the end).
class Chunks {
public:
    explicit Chunks(QFile &file) : file_(file) {}
    QByteArrayView next() const { return QByteArrayView(buffer_).sliced(at_); }
    void take(qsizetype n) { at_ += n; }
    bool more() {
        buffer_.remove(0, at_);
        at_ = 0;
        const QByteArray chunk = file_.read(kRead);
        if (chunk.isEmpty()) {
            if (file_.error() != QFileDevice::NoError) tempFailed(file_);
            return false;
        }
        buffer_ += chunk;
        return true;
    }
    bool done() const { return at_ == buffer_.size(); }

private:
    QFile &file_;
    QByteArray buffer_;
    qsizetype at_ = 0;
};

void appendPod(QByteArray &out, const auto &value) {
    out.append(reinterpret_cast<const char *>(&value), sizeof value);
}

// A result's record: its first line, its row and its details.
void keep(QByteArray &out, const LedgerResult &r) {
    appendPod(out, r.firstLine);
    appendPod(out, qint32(r.row.size()));
    out += r.row;
    appendPod(out, qint32(r.details.size()));
    out += r.details;
}

struct Kept {
    qint64 line = 0;
    QByteArrayView row, details;
};
qsizetype readKept(QByteArrayView from, Kept &k) {
    qint32 n = 0, m = 0;
    if (from.size() < 12) return 0;
    std::memcpy(&k.line, from.data(), 8);
    std::memcpy(&n, from.data() + 8, 4);
    if (from.size() < 16 + n) return 0;
    std::memcpy(&m, from.data() + 12 + n, 4);
    if (from.size() < 16 + n + m) return 0;
    k.row = from.sliced(12, n);
    k.details = from.sliced(16 + n, m);
    return 16 + n + m;
}

// The accounts of one group file, in the order of their first rows.
QList<LedgerAccount> gather(QFile &file, const LedgerRows &rows, int group) {
    QList<LedgerAccount> accounts;
    QHash<QByteArray, qsizetype> byKey;
    Chunks chunks(file);
    LedgerRows::Record record;
    QByteArray storage;
    for (bool more = chunks.more(); more || !chunks.done(); more = chunks.more()) {
        for (qsizetype n; (n = LedgerRows::read(chunks.next(), record)) > 0; chunks.take(n)) {
            const QByteArrayView key = rows.keyOf(record, storage);
            const auto status = CsvReader::Status(record.status);
            const bool whole = record.plain || status == CsvReader::Status::Row ||
                               status == CsvReader::Status::NotUtf8;
            qsizetype at =
                whole ? byKey.value(QByteArray::fromRawData(key.data(), key.size()), -1) : -1;
            if (at < 0) {
                at = accounts.size();
                accounts.append({QString(), record.line});
                accounts.back().group = group;
                if (whole) byKey.insert(key.toByteArray(), at);
            }
            LedgerRows::add(accounts[at], std::move(record));
        }
        if (!more && !chunks.done()) tempFailed(file); // a record cut short
        if (!more) break;
    }
    return accounts;
}

} // namespace

void countScattered(LedgerRows &rows, LedgerTaker &taker, qint64 size, const LedgerCount &count) {
    const int groups = int(std::clamp<qint64>(size / (4 << 20), 8, 256));
    Spool spread(groups);
    while (rows.next()) {
        // A row without an account to tell is one of its own.
        const size_t group =
            (rows.whole() ? qHash(rows.key()) : size_t(rows.line())) % size_t(groups);
        rows.write(spread.buffer(group));
        spread.wrote(group);
        taker.tell(rows);
    }
    spread.rewind();
    Spool results(groups);
    {
        LedgerWork work(taker.options.jobs, count, [&](LedgerResult &r) {
            taker.counted(r);
            keep(results.buffer(size_t(r.group)), r);
            results.wrote(size_t(r.group));
        });
        for (int g = 0; g < groups; ++g) {
            QList<LedgerAccount> accounts = gather(spread.file(size_t(g)), rows, g);
            spread.file(size_t(g)).resize(0); // read: the disk gets it back
            for (LedgerAccount &a : accounts)
                work.add(std::move(a));
        }
        work.finish();
    }
    results.rewind();

    // The merge: the smallest first line of the groups' next results, in turn.
    std::vector<std::unique_ptr<Chunks>> readers;
    std::vector<Kept> held;
    held.resize(size_t(groups));
    using Next = std::pair<qint64, size_t>;
    std::priority_queue<Next, std::vector<Next>, std::greater<>> heads;
    const auto advance = [&](size_t g) {
        Chunks &c = *readers[g];
        qsizetype n = readKept(c.next(), held[g]);
        while (n == 0 && c.more())
            n = readKept(c.next(), held[g]);
        if (n == 0) {
            if (!c.done()) tempFailed(results.file(g));
            return;
        }
        heads.push({held[g].line, g});
    };
    for (size_t g = 0; g < size_t(groups); ++g) {
        readers.push_back(std::make_unique<Chunks>(results.file(g)));
        advance(g);
    }
    while (!heads.empty()) {
        const size_t g = heads.top().second;
        heads.pop();
        taker.write(held[g].row.toByteArray(), held[g].details.toByteArray());
        Kept k;
        readers[g]->take(readKept(readers[g]->next(), k));
        advance(g);
    }
}

} // namespace bulk
