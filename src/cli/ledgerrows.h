// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "csvtable.h"
#include "ledgeraccount.h"

#include <QByteArray>
#include <QDataStream>
#include <QFile>
#include <memory>

// A ledger's rows as they come, by account. A file with no quote in it is
// read as plain lines, each handed on as its bytes to be split where its
// account is counted; any other goes through the CSV reader.
namespace cli {

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
    // The row to a temporary file; read back, its account's key and the row
    // added to its account.
    virtual void write(QDataStream &out) const = 0;
    struct Record {
        qint64 line = 0;
        qint8 status = 0;
        bool plain = false;
        QByteArray bytes;   // plain: the line
        QStringList fields; // else: the fields
    };
    static bool read(QDataStream &in, Record &record);
    QByteArray keyOf(const Record &record) const;
    static void add(LedgerAccount &account, Record &&record);

    qint64 line() const { return line_; }
    const LedgerColumns &columns() const { return columns_; }
    const CsvFormat &format() const { return format_; }
    double share() const;

    // The rows of `in` from its start, the header read.
    static std::unique_ptr<LedgerRows> open(QFile &in);

protected:
    explicit LedgerRows(QFile &in) : in_(in) {}
    QFile &in_;
    qint64 line_ = 1; // the header's
    LedgerColumns columns_;
    CsvFormat format_;
};

} // namespace cli
