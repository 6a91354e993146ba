// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"
#include "csvtable.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One account of a utility's ledger: its rows read into charges and
// payments, counted as a housing claim, and written as a row of the result.
namespace bulk {

// Where a ledger's columns are (-1: none; the month is optional), and
// whether the header was Russian.
struct LedgerColumns {
    int account = -1, date = -1, kind = -1, month = -1, amount = -1;
    // The debtor's, for the accounts' papers (optional).
    int debtor = -1, debtorAddress = -1, debtorId = -1, debtorBorn = -1;
    bool russian = false;
};
// Finds the columns by their names (letter case and blanks aside); the
// problem when a needed one is missing or named twice.
QString findLedgerColumns(const QStringList &header, LedgerColumns &columns);
// The account a row belongs to, as the file names it (trimmed).
QString ledgerAccountOf(const QStringList &fields, const LedgerColumns &columns);

// A row as the reader gave it: its line, whether it was read whole (a
// CsvReader::Status) and its fields.
struct LedgerRow {
    qint64 line = 0;
    qint8 status = 0;
    QStringList fields;
};

// An account's rows, gathered as they come and read where they are counted.
struct LedgerAccount {
    QString name;         // empty: the first line's
    qint64 firstLine = 0; // the line of its first row
    QList<LedgerRow> rows;
    // Lines with no quote in them, each ended by "\n", and their numbers.
    QByteArray lines;
    QList<qint64> numbers;
    int group = 0; // the temporary file it came from, when accounts are apart
};

struct LedgerResult {
    qint64 firstLine = 0;
    int group = 0;
    QByteArray row;     // of the result, in the input's format
    QByteArray details; // its bills' rows, when asked
    bool failed = false;
    // A claim with a debt, for its court attachment (when asked).
    std::optional<calc::PeriodInput> claim;
    QString name;
};
// Which accounts' claims a ledger's run hands on: none, those with a debt
// (a court attachment each), or those with a debt or a penalty, with the
// debtor's fields from the account's rows (a paper each).
enum class LedgerClaims { None, WithDebt, ForPapers };

// Counts an account as `base` says (the filing date, the rates, the rules).
LedgerResult countLedgerAccount(LedgerAccount &account, const LedgerColumns &columns,
                                const calc::PeriodInput &base, const CsvFormat &format,
                                bool details, LedgerClaims claims);

// The result's and the details' header rows.
QStringList ledgerResultHeader(bool russian);
QStringList ledgerDetailsHeader(bool russian);

} // namespace bulk
