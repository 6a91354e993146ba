// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "courtfee.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QtGlobal>

namespace calc {

// What the window's controls hold when "Рассчитать" runs.
struct CalcInput {
    QString debtText;        // the debt field, already normalised
    QString refinancingText; // the refinancing rate field, as the rate table put it there
    QString contractText;    // the contractual daily rate field, already normalised
    QDate start;             // first day of the delay
    QDate end;               // last day of the delay
    int taxPercent = 18;     // the tax track bar
    QString divisorText;     // the divisor label beside its track bar, e.g. "360"
    bool statutory = true;   // statutory (refinancing rate) or contractual mode
    Court court = Court::Arbitration;
    QDate filed; // the day the claim goes to court: its fee scale
};

// The period's start and end as the window keeps them: year, month, day.
struct DateParts {
    quint16 startYear = 0, startMonth = 0, startDay = 0;
    quint16 endYear = 0, endMonth = 0, endDay = 0;
};

DateParts decodeDates(QDate start, QDate end);

// Overdue days by the 30/360 rule, both ends counted, never negative.
qint32 dayCount(const DateParts &parts);

struct CalcResult {
    qint32 days = 0;
    double tax = 0;                           // tax share of the debt
    double interest = 0;                      // interest or penalty for the period
    double total = 0;                         // debt plus interest
    double fee = 0;                           // state duty
    QStringList lines;                        // the six report lines
    QString interestText, totalText, feeText; // the amounts as the report writes them
};

// The whole calculation and its report. A rate text that does not read as a
// number raises AppError "'<text>' is not a valid floating point value"; an
// amount too large for a double raises AppError "Сумма слишком велика для расчета".
CalcResult calculate(const CalcInput &in);

} // namespace calc
