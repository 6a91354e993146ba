// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "periodinterest.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <utility>

// Rows of dates and amounts pasted from a spreadsheet or a bank statement,
// as they become payments.
namespace calc {

struct PastedRow {
    int line = 0; // from 1, as the user counts them
    QDate date;
    QString amount; // as written, a space or a no-break space between digit groups
};

struct PastedRows {
    QList<PastedRow> rows;
    QList<std::pair<int, QString>> refused; // each row not taken: its line and why
    QString problem;                        // the whole text refused (too long): nothing is taken
    // "строка N: …" for each row not taken, in line order.
    QStringList refusedLines() const;
};

// Each line: a date (ДД.ММ.ГГГГ or ГГГГ-ММ-ДД) first and an amount last,
// fields between tabs, semicolons or two or more spaces, as spreadsheets
// and statements copy them; blank lines are skipped. A text over 10 MB or of
// more lines than a claim takes entries is refused whole.
PastedRows readPastedRows(QStringView text);

// The rows as payments, each checked by the rule of a claim's entries (a
// housing claim's, or one of the period from `start` to `end`); a row
// refused goes to `pasted.refused`, in line order.
QList<Payment> pastedPayments(PastedRows &pasted, bool housing, QDate start, QDate end);

} // namespace calc
