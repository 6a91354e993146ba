// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine.h"

#include "balancerun.h"
#include "money.h"

#include <algorithm>

namespace calc {
namespace {

// Each portion of debt `i` on its own, overdue until it was paid (or to
// the end), at the rate of that day; with rows for them: the increase, then
// each payment after the portion it paid (what is left of this debt after
// it).
void countPortionsOf(BalanceRun &run, const CountRules &rules, const Debt &d, int i,
                     const Allocation &allocation, QDate start, QDate end, QList<PeriodRow> &rows) {
    const auto portion = [&](QDate day, qint64 amount, QDate rateDay) {
        run.debts.resize(1); // made once, for every portion
        run.debts[0] = {d.first, d.arose, amount, amount, 0, false};
        run.fixedRateDay = rateDay;
        run.run(start, day);
    };
    if (rules.eventRows && d.increaseRow)
        rows.append({.kind = PeriodRow::Increase,
                     .from = d.first,
                     .to = d.first,
                     .debt = d.amount,
                     .amount = d.amount,
                     .overpaid = allocation.advancePaid[i]});
    qint64 left = d.amount - allocation.advancePaid[i];
    for (qsizetype j = 0; j < allocation.parts.size(); ++j) {
        const Allocation::Part &p = allocation.parts[j];
        if (p.debt != i) continue;
        portion(p.day, p.amount, p.day);
        if (!rules.eventRows || p.payment < 0) continue;
        const bool last =
            j + 1 == allocation.parts.size() || allocation.parts[j + 1].payment != p.payment;
        rows.append({.kind = PeriodRow::Payment,
                     .from = p.day,
                     .to = p.day,
                     .debt = left -= p.amount,
                     .amount = p.amount,
                     .overpaid = last ? allocation.overpaid[p.payment] : 0});
    }
    // What is unpaid goes at the rate of the day it is claimed (the filing date).
    if (allocation.unpaid[i] > 0)
        portion(end, allocation.unpaid[i], rules.rateDate.isValid() ? rules.rateDate : end);
}

// The debts of the account on one balance, each lowered by its parts of
// the payments as they come.
void countOneBalance(BalanceRun &run, const CountRules &rules, const QList<Debt> &debts,
                     const Allocation &allocation, const QList<Paid> &payments,
                     const QList<int> &account, QDate start, QDate end) {
    if (rules.eventRows) run.payments = &payments;
    run.allocation = &allocation;
    // Each debt of the account as the run holds it (-1: not in it).
    QVarLengthArray<int, 64> held(debts.size(), -1);
    run.debts.reserve(account.size());
    for (int i : account) {
        held[i] = int(run.debts.size());
        const Debt &d = debts[i];
        run.debts.append(
            {d.first, d.arose, d.amount, d.amount, allocation.advancePaid[i], d.increaseRow});
    }
    // The parts come in the order of the payments, so the run takes them in turn.
    for (const Allocation::Part &p : allocation.parts) {
        if (held[p.debt] < 0) continue;
        BalanceRun::RunDebt &d = run.debts[held[p.debt]];
        // An advance pays a debt the day it arises; a payment from the next day.
        if ((p.payment < 0 ? p.day : p.day.addDays(1)) <= d.firstOverdue)
            d.dueAmount -= p.amount;
        else
            run.repayments.append({p.day, held[p.debt], p.amount, p.payment});
    }
    run.run(start, end);
}

// A debt's total at most a share of what the account owed, and at most so
// many kopecks; none: no cap.
std::optional<qint64> totalCapOf(const CountRules &rules, const QList<Debt> &debts,
                                 const QList<int> &account) {
    std::optional<qint64> cap;
    if (rules.totalCap) {
        qint64 owed = 0;
        for (int i : account)
            owed += debts[i].amount; // within the limit: checked with every debt
        cap = pieceInterest(owed, 100, *rules.totalCap, 1); // owed × share, to the kopeck
    }
    if (rules.totalCapKopecks)
        cap = std::min(cap.value_or(*rules.totalCapKopecks), *rules.totalCapKopecks);
    return cap;
}

// The pieces' amounts from their exact rates, the cap on the total, the sum.
void priceRows(QList<PeriodRow> &rows, qsizetype base, const ExactRates &exact,
               std::optional<qint64> cap, qint64 &total, const QString &totalName) {
    // Rates change far less often than pieces: a rate's text is shared, from
    // one count to the next too.
    thread_local Decimal lastRate;
    thread_local QString lastText;
    qint64 sum = 0;
    for (qsizetype r = base, e = 0; r < rows.size(); ++r) {
        PeriodRow &row = rows[r];
        if (row.kind != PeriodRow::Piece && row.kind != PeriodRow::Moratorium) continue;
        const Decimal rate = exact[e++];
        if (row.kind != PeriodRow::Piece) continue;
        if (lastText.isNull() || rate.digits != lastRate.digits || rate.scale != lastRate.scale) {
            lastRate = rate;
            lastText = rateText(rate);
        }
        row.rate = lastText;
        row.amount = pieceInterest(row.debt, row.days, rate, std::max(row.divisor, 1));
        if (cap && sum + row.amount > *cap) {
            row.uncapped = row.amount;
            row.amount = *cap - sum;
        }
        sum += row.amount;
        total = addWithinLimit(total, row.amount, totalName);
    }
}

} // namespace

void countAccount(const CountRules &rules, const RatesByDay &rates, const QList<Debt> &debts,
                  const Allocation &allocation, const QList<Paid> &payments,
                  const QList<int> &account, QDate end, QList<PeriodRow> &rows, qint64 &total,
                  const QString &totalName, QDate *earliestRateDay) {
    if (account.isEmpty()) return;
    const QDate start = debts[account.front()].first;
    const qsizetype base = rows.size();
    ExactRates exact;
    BalanceRun run(rules, rates, rows, exact);
    if (rules.rateDay == RateDay::Payment && !rules.ownRate)
        for (int i : account)
            countPortionsOf(run, rules, debts[i], i, allocation, start, end, rows);
    else
        countOneBalance(run, rules, debts, allocation, payments, account, start, end);
    if (earliestRateDay && run.earliestRateDay.isValid() &&
        (earliestRateDay->isNull() || run.earliestRateDay < *earliestRateDay))
        *earliestRateDay = run.earliestRateDay;
    priceRows(rows, base, exact, totalCapOf(rules, debts, account), total, totalName);
}

const Era *CountRules::eraOn(QDate day) const {
    const Era *at = nullptr;
    for (const Era &e : eras)
        if (e.from <= day) at = &e;
    return at;
}

const Step &CountRules::stepOn(int dayOfDelay, QDate date, const QList<Step> &own) const {
    const Era *era = eraOn(date);
    const QList<Step> &list = !own.isEmpty()                 ? own
                              : era && !era->steps.isEmpty() ? era->steps
                                                             : steps;
    const Step *at = &list.front();
    for (const Step &s : list)
        if (s.fromDay <= dayOfDelay) at = &s;
    return *at;
}

Decimal CountRules::capped(Decimal rate, QDate day, QDate rateOf, bool &lowered) const {
    for (const RateCap &c : caps) {
        // By the rate's day the cap reaches every day that rate covers.
        const QDate capDay = c.byRateDay ? rateOf : day;
        if (capDay >= c.from && capDay <= c.to &&
            c.most.digits * pow10(rate.scale) < rate.digits * pow10(c.most.scale)) {
            rate = c.most;
            lowered = true;
        }
    }
    return rate;
}

void addPayment(QList<Paid> &payments, const Paid &paid) {
    for (qsizetype i = payments.size(); i-- > 0 && payments[i].date == paid.date;)
        if (payments[i].debt == paid.debt) {
            payments[i].amount =
                addWithinLimit(payments[i].amount, paid.amount, QStringLiteral("Оплата"));
            return;
        }
    payments.append(paid);
}

} // namespace calc
