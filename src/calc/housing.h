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

struct HousingBill {
    QDate month;                                 // its first day
    qint64 charged = 0;                          // kopecks
    QDate due;                                   // the last day to pay
    QList<std::pair<QDate, qint64>> paid;        // when and how much paid it
    QList<std::pair<QDate, qint64>> advancePaid; // by an advance, the day it arose
    QList<PeriodRow> rows;                       // its pieces and the windows' days
    qint64 penalty = 0;
    qint64 unpaid = 0; // on the calculation date
};

struct HousingResult {
    QList<HousingBill> bills;
    qint64 charged = 0, paid = 0, debt = 0, advance = 0, penalty = 0, fee = 0;
    QString feeExemption;  // the article that freed the claimant of some or all of the fee
    qint64 feeByScale = 0; // the scale's figure where the fee in whole roubles differs
    QStringList leftOut;   // what lies after the calculation date
    // The table's oldest entry when a piece went by a day before it (the
    // oldest rate stood in); null otherwise.
    QDate tableStart;
    // A due date was moved (or not) in a year the production calendar does
    // not list: only past weekends and the fixed holidays.
    bool pastCalendar = false;
    QString article;    // the basis's, when it is not the housing penalty's (resource bills)
    QString capNote;    // what its law's cap on the rate is, said where a cap lowered one
    QString continuing; // "и далее …" (see PeriodResult)
    // A due day the user gave other than the 15th for bills the law makes due then.
    QString dueDayNote;
    QStringList lines; // the report
};

// "MM.yyyy", as bills are named.
QString monthText(QDate month);
// What is wrong with a charge (dated by any day of its month) or a payment
// of a housing claim (empty: nothing).
QString housingEntryProblem(const Payment &entry, bool charge);
// The last day to pay the bill for `month`: with `shift`, moved past the
// days off of the production calendar.
QDate billDueDate(QDate month, int dueDay, bool shift);

// The claim's charges and payments counted to its filing date, at its rate
// day, due day, shift and windows. Raises AppError with a message for the
// user when a charge or a payment cannot be read, there is no calculation
// date or no rate, or a sum would pass 10^15 roubles. Without `lines` the
// report is not written (a ledger's accounts want the sums alone). A claim
// whose `basis` names a resource basis (monthly bills of heat, water or
// power to a managing organisation or others) counts its bills by that
// basis's steps; the 2020 window and the old rule for bills due before 2016
// are the housing penalty's alone.
HousingResult calculateHousing(const PeriodInput &in, bool lines = true);
// The same as a claim by periods: its report, penalty, debt, fee and bills.
PeriodResult housingPeriods(const PeriodInput &in);
// The rows a bill's table shows around its pieces: the bill, each advance's
// or payment's part (with what is left of the bill after it), its total.
PeriodRow billRow(const HousingBill &b);
PeriodRow billPaidRow(PeriodRow::Kind kind, QDate day, qint64 amount, qint64 leftAfter);
PeriodRow billTotalRow(const HousingBill &b);
// A bill's row as the report and the table tell it ("Начислено за 01.2024:
// 1000,00 руб., срок оплаты 12.02.2024", "зачтено из переплаты …", "Пени за
// 01.2024: …"), its amount written by `money`; empty for other rows.
QString billPhrase(const PeriodRow &row, QString (*money)(qint64));
// What the report says of the law it counted by, before its totals: the
// 9,5 % rate where it cut a rate, the calendar's end where a due date lay past it.
QStringList housingNotes(const HousingResult &r);
// The report's lines: the heading, each bill with its payments, pieces and
// penalty, what was left out, the totals and the court fee.
QStringList housingLines(const HousingResult &r, QDate calculated);

} // namespace calc
