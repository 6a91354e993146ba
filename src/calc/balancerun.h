// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine.h"

#include <QVarLengthArray>

// The engine's inside: one run over a balance, day by day of the delay.
namespace calc {

// The exact rates of the rows a count adds, in order.
using ExactRates = QVarLengthArray<Decimal, 128>;

// One run over a balance from day 1 of the delay to an end: the debts it
// holds come due on their first overdue days and are lowered by the
// payments' parts from the day after each. The run is cut into pieces
// wherever what a day earns may change; each piece is a row.
class BalanceRun {
public:
    // A debt as the run holds it.
    struct RunDebt {
        QDate firstOverdue, arose;
        qint64 dueAmount = 0;   // what is owed of it on its first overdue day
        qint64 amount = 0;      // as charged, for its increase row
        qint64 advancePaid = 0; // what an earlier advance paid of it the day it arose
        bool increaseRow = false;
        qint64 unpaid = 0; // as the run goes
    };
    // A payment's part that lowers a debt from the day after the payment.
    struct Repayment {
        QDate day;
        int debt; // index into `debts`
        qint64 amount;
        int payment;
    };

    BalanceRun(const CountRules &rules, const RatesByDay &rates, QList<PeriodRow> &rows,
               ExactRates &exact);

    QList<RunDebt> debts;
    QList<Repayment> repayments;           // in payment order
    QDate fixedRateDay;                    // null: by the rules
    const QList<Paid> *payments = nullptr; // each payment's row, with the increases'
    const Allocation *allocation = nullptr;
    QDate earliestRateDay; // of the pieces' rates

    // Rows from `start` (day 1 of delay) to `end`.
    void run(QDate start, QDate end);

private:
    using Starts = QVarLengthArray<QDate, 64>;
    // A window that holds a debt of this run, and the first day a debt it
    // does not hold is overdue (from then on it holds only a part of the
    // balance).
    struct ActiveWindow {
        const Window *window;
        QDate firstDebtOutside;
    };

    void findActiveWindows();
    bool wholeBalanceSuspended(QDate day) const;
    void collectStarts(QDate end, Starts &starts) const;
    void chooseRateOfRun();
    void reserveRows(qsizetype pieces);
    void debtsFallDue(QDate from);
    qint64 suspendedOn(QDate from, bool &byUser) const;
    void addPieces(QDate from, QDate to);
    Decimal rateOn(QDate from, bool &capped);
    void repayThrough(QDate to);
    void repayUntil(qsizetype until);
    // A piece or a window's row (its days filled in), merged into the last
    // one when it goes on from it alike.
    void add(PeriodRow row, Decimal rate);

    const CountRules &rules_;
    const RatesByDay &rates_;
    QList<PeriodRow> &rows_;
    ExactRates &exact_;
    const bool ownRates_; // every day at the count's own rates, none from the table
    // This run's:
    QDate start_;
    qsizetype base_ = 0; // its first row
    QVarLengthArray<ActiveWindow, 4> windows_;
    QDate oneDay_;    // the one day whose rate the whole run takes (null: each day's)
    Decimal oneRate_; // that rate, or the count's own when it is one
    qint64 balance_ = 0;
    qsizetype repaid_ = 0, fallenDue_ = 0; // repayments applied, debts due so far
    int paymentsShown_ = 0;                // payments with their rows
};

} // namespace calc
