// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"
#include "csvtable.h"
#include "ledgeraccount.h"

#include <QByteArrayView>
#include <QDate>
#include <QList>

namespace bulk {

// A ledger's line with no quote in it, read straight from its bytes when it
// is simple (a charge or a payment by its plain name, an amount of digits
// with at most two decimals, a date and a month of digits): most lines of a
// billing system's export. False when it is not: the line is then read as
// text, which also says what is wrong with it.
// A ledger's day, "дд.мм.гггг" or "гггг-мм-дд", and month, "мм.гггг" or
// "гггг-мм" (its first day), blanks around them trimmed; null when the text
// is neither or names no day.
QDate readLedgerDay(QByteArrayView text);
QDate readLedgerMonth(QByteArrayView text);

bool readSimpleRow(QByteArrayView line, const LedgerColumns &columns, const CsvFormat &format,
                   QList<calc::Charge> &charges, QList<calc::Payment> &payments);

} // namespace bulk
