// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "csvtable.h"
#include "ledgeraccount.h"

#include <QByteArray>
#include <QFile>
#include <memory>

// A ledger's rows as they come, by account. A file with no quote in it is
// read as plain lines, each handed on as its bytes to be split where its
// account is counted; any other goes through the CSV reader.
namespace bulk {

// A ledger that cannot be read: "--ledger: " and why.
[[noreturn]] void ledgerUnreadable(const QString &why);
// Raises as above when `firstLine` (a ledger's first line, its line end
// included) is no ledger's header: standard input is judged by it before
// anything more is read.
void checkLedgerHeader(const QByteArray &firstLine);

class LedgerRows {
public:
    virtual ~LedgerRows() = default;
    // The next row; false at the end. Raises AppError when the file cannot be read on.
    virtual bool next() = 0;
    // Whether the row has an account to tell (a row too long or with a
    // quote that never closes has none).
    virtual bool whole() const = 0;
    // The row's account as bytes that are equal for equal accounts.
    virtual QByteArrayView key() const = 0;
    virtual void addTo(LedgerAccount &account) const = 0;
    // The row appended to `out` as a record of a temporary file.
    virtual void write(QByteArray &out) const = 0;
    struct Record {
        qint64 line = 0;
        qint8 status = 0;
        bool plain = false;
        QByteArrayView bytes; // plain: the line
        QStringList fields;   // else: the fields, read once
    };
    // The record at the start of `from`: its length, 0 when `from` does not
    // hold a whole one.
    static qsizetype read(QByteArrayView from, Record &record);
    // Its account's key: a view into the record or into `storage`.
    QByteArrayView keyOf(const Record &record, QByteArray &storage) const;
    // The record added to its account.
    static void add(LedgerAccount &account, Record &&record);

    qint64 line() const { return line_; }
    const LedgerColumns &columns() const { return columns_; }
    const CsvFormat &format() const { return format_; }
    double share() const;

    // The rows of `in` from its start, the header read; the file is read
    // through once to see whether its lines are its rows.
    static std::unique_ptr<LedgerRows> open(QFile &in);
    // The same file's rows from its start again, read the same way.
    virtual std::unique_ptr<LedgerRows> reopen() const = 0;

protected:
    explicit LedgerRows(QFile &in) : in_(in) {}
    QFile &in_;
    qint64 line_ = 1; // the header's
    LedgerColumns columns_;
    CsvFormat format_;
};

} // namespace bulk
