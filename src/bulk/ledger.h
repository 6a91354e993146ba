// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"

#include <QString>
#include <functional>

class QFile;
class QIODevice;

// A utility's whole ledger in one run: rows of charges and payments by
// account (in any order), each account counted as a housing claim, one row
// of the result per account in the order accounts first appear.
namespace bulk {

struct LedgerOptions {
    calc::PeriodInput base;       // the count: the filing date, rates and rules; no charges
    int jobs = 1;                 // threads counting accounts
    QIODevice *details = nullptr; // every account's bills, as CSV
    // A court attachment for each account with a debt, written where this
    // says (on the thread that reads, in the accounts' order).
    using Attach = std::function<void(const QString &account, const calc::PeriodInput &claim)>;
    Attach attach;
    // The claims handed to `attach` are for papers: every account with a debt
    // or a penalty, with its debtor's name, address, data and birth from the
    // first of its rows that has each.
    bool papers = false;
    // Told now and then (at most ten times a second) of accounts done, rows
    // read and the share of the file read.
    std::function<void(qint64 accounts, qint64 rows, double share)> progress;
    // Called between the pass that finds the accounts' order and the one
    // that counts them (tests change the file there).
    std::function<void()> betweenPasses;
};

// Reads the ledger `in` (a file that can be read twice: accounts that are
// not together are gathered through temporary files, in flat memory) and
// writes the result to `out`, in the input's separator and encoding.
// Returns how many accounts have an error (a row that cannot be read is its
// account's). Raises AppError when the file is not CSV, its header lacks a
// column, or output cannot be written.
int runLedger(QFile &in, QIODevice &out, const LedgerOptions &options);

} // namespace bulk
