// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "courtfee.h"
#include "periodinterest.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <utility>

// The penalty on housing and utility bills (part 14 of art. 155 of the
// Housing Code): a bill a month, due in the next month; nothing for the first
// 30 days of delay, 1/300 of the key rate from day 31, 1/130 from day 91 (for
// bills due before 01.01.2016, 1/300 from the first day); nothing in the
// windows of 2020 and 2022, the rate held at 9,5 % from 28.02.2022 to
// 31.12.2026. Amounts exact in kopecks, each piece rounded half away from zero.
namespace calc {

// The bill for `month` (any day of it) of `amount` roubles.
struct Charge {
    QDate month;
    QString amount;
};

// A payment; `month`, when given, names the bill it pays first.
struct HousingPayment {
    QDate date;
    QString amount;
    QDate month;
};

// Which day's rate a penalty goes by.
enum class RateDay {
    Payment, // each portion at the rate of the day it was paid, what is unpaid at the
             // calculation date's
    OneDate, // every day at the rate of one date
    EachDay, // each day at the rate in force on it
};

struct HousingInput {
    QList<Charge> charges;
    QList<HousingPayment> payments;
    // The calculation (filing) date: the penalty runs to it; bills that would
    // exist later and payments made later are left out.
    QDate calculated;
    QList<RatePoint> rates;
    RateDay rateDay = RateDay::Payment;
    QDate rateDate;             // OneDate; null: the calculation date
    int dueDay = 0;             // of the next month; 0: the law's (the 10th, the 15th from
                                // the March 2026 bill); past the month's end: its last day
    bool shift = true;          // a due date on a day off moves to the next working day
    bool moratorium = true;     // 01.04.2022–01.10.2022, bills up to March 2022
    bool moratorium2020 = true; // 06.04.2020–31.12.2020, every bill
    Court court = Court::GeneralJurisdiction;
};

struct HousingPiece {
    QDate from, to;
    qint64 debt = 0; // kopecks
    int days = 0;
    QString rate;    // as used (capped), "9,5"
    int divisor = 0; // 300 or 130
    qint64 amount = 0;
    Decimal exact; // the rate as used
};

struct HousingBill {
    QDate month;                           // its first day
    qint64 charged = 0;                    // kopecks
    QDate due;                             // the last day to pay
    QList<std::pair<QDate, qint64>> paid;  // when and how much paid it
    QList<std::pair<QDate, qint64>> ahead; // paid by an advance, the day it arose
    QList<HousingPiece> pieces;
    qint64 penalty = 0;
    qint64 left = 0; // unpaid on the calculation date
};

struct HousingResult {
    QList<HousingBill> bills;
    qint64 charged = 0, paid = 0, debt = 0, advance = 0, penalty = 0, fee = 0;
    QStringList leftOut; // what lies after the calculation date
    QStringList lines;   // the report
};

// "MM.yyyy", as bills are named.
QString monthText(QDate month);
// A Saturday, a Sunday or a holiday of art. 112 of the Labour Code (the
// government's moves of days off are not known).
bool isDayOff(QDate day);
// The last day to pay the bill for `month`.
QDate billDueDate(QDate month, int dueDay, bool shift);

// Raises AppError with a message for the user when a charge or a payment
// cannot be read, there is no calculation date or no rate, or a sum would
// pass 10^15 roubles.
HousingResult calculateHousing(const HousingInput &in);
// The report's lines: the heading, each bill with its payments, pieces and
// penalty, what was left out, the totals and the court fee.
QStringList housingLines(const HousingResult &r, QDate calculated);

} // namespace calc
