// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ledger.h"
#include "ledgeraccount.h"
#include "ledgerrows.h"
#include "orderedwork.h"
#include "output.h"

#include <QElapsedTimer>
#include <functional>
#include <utility>

// How a ledger's accounts are counted and their results taken, whichever
// order its rows come in.
namespace bulk {

// Takes the results: the output row, the details, the attachment, the
// count of errors and of progress.
struct LedgerTaker {
    QIODevice &out;
    const LedgerOptions &options;
    int failed = 0;
    qint64 accounts = 0;
    QElapsedTimer sinceTold;
    // What is written of every account whichever order it came in.
    void counted(const LedgerResult &r) {
        if (r.claim && options.attach) options.attach(r.name, *r.claim);
        failed += r.failed;
        ++accounts;
    }
    void write(const QByteArray &row, const QByteArray &details) {
        writeOutput(out, row);
        if (options.details && !details.isEmpty()) writeOutput(*options.details, details);
    }
    void tell(const LedgerRows &rows) {
        if (!options.progress || (sinceTold.isValid() && sinceTold.elapsed() < 100)) return;
        sinceTold.start();
        options.progress(accounts, rows.line() - 1, rows.share());
    }
};

using LedgerCount = std::function<LedgerResult(LedgerAccount &)>;

// Accounts counted on the threads a few dozen at a time (one hand-over an
// account would cost the threads more in waking each other than in
// counting), their results taken one by one in order.
class LedgerWork {
public:
    LedgerWork(int jobs, const LedgerCount &count, std::function<void(LedgerResult &)> take)
        : work_(
              jobs,
              [count](QList<LedgerAccount> &accounts) {
                  QList<LedgerResult> results;
                  results.reserve(accounts.size());
                  for (LedgerAccount &a : accounts)
                      results.append(count(a));
                  return results;
              },
              [take = std::move(take)](QList<LedgerResult> &results) {
                  for (LedgerResult &r : results)
                      take(r);
              }) {}
    void add(LedgerAccount &&account) {
        pending_.append(std::move(account));
        if (pending_.size() >= kBatch) hand();
    }
    void finish() {
        hand();
        work_.finish();
    }

private:
    static constexpr qsizetype kBatch = 32;
    void hand() {
        if (!pending_.isEmpty()) work_.add(std::exchange(pending_, QList<LedgerAccount>()));
    }
    OrderedWork<QList<LedgerAccount>, QList<LedgerResult>> work_;
    QList<LedgerAccount> pending_;
};

// Accounts whose rows are apart: gathered through temporary files by their
// account's hash, counted, and written in the order of their first lines.
void countScattered(LedgerRows &rows, LedgerTaker &taker, qint64 size, const LedgerCount &count);

} // namespace bulk
