// SPDX-License-Identifier: GPL-3.0-or-later
#include "balancerun.h"

#include <algorithm>

namespace calc {
namespace {

bool same(Decimal a, Decimal b) {
    return a.digits * pow10(b.scale) == b.digits * pow10(a.scale);
}

bool countsYearDays(const QList<Step> &steps) {
    return std::any_of(steps.cbegin(), steps.cend(),
                       [](const Step &s) { return s.kind == Step::YearDays; });
}

// The rate is divided by the year's days, by N for 1/N of it, or not at
// all for a percent a day.
int divisorOf(const Step &step, QDate day) {
    if (step.kind == Step::YearDays) return QDate::isLeapYear(day.year()) ? 366 : 365;
    return step.kind == Step::Fraction ? step.fraction : 0;
}

bool inScope(const Window &w, const BalanceRun::RunDebt &d) {
    return w.aroseBy.isNull() || d.arose <= w.aroseBy;
}

bool covers(const Window &w, QDate day) {
    return day >= w.from && day <= w.to;
}

} // namespace

BalanceRun::BalanceRun(const CountRules &rules, const RatesByDay &rates, QList<PeriodRow> &rows,
                       ExactRates &exact)
    : rules_(rules), rates_(rates), rows_(rows), exact_(exact),
      ownRates_(rules.ownRate && std::all_of(rules.eras.cbegin(), rules.eras.cend(),
                                             [](const Era &e) { return e.ownRate; })) {}

void BalanceRun::add(PeriodRow row, Decimal rate) {
    row.days = int(row.from.daysTo(row.to)) + 1;
    if (!rules_.cutAtEveryChange && rows_.size() > base_) {
        PeriodRow &last = rows_.last();
        if (last.kind == row.kind && last.to.addDays(1) == row.from && last.debt == row.debt &&
            last.divisor == row.divisor && last.partial == row.partial &&
            last.rateCapped == row.rateCapped && last.byUser == row.byUser &&
            (row.kind != PeriodRow::Piece || same(exact_.last(), rate))) {
            last.to = row.to;
            last.days += row.days;
            return;
        }
    }
    rows_.append(row);
    exact_.append(rate);
}

void BalanceRun::run(QDate start, QDate end) {
    if (end < start) return;
    base_ = rows_.size();
    start_ = start;
    findActiveWindows();
    Starts starts;
    collectStarts(end, starts);
    reserveRows(starts.size());
    chooseRateOfRun();
    balance_ = 0;
    repaid_ = fallenDue_ = 0;
    paymentsShown_ = 0;
    QDate from = start;
    for (QDate next : starts) {
        const QDate to = next.addDays(-1);
        debtsFallDue(from);
        addPieces(from, to);
        repayThrough(to);
        from = next;
    }
}

// The moratoria's windows that hold any debt of this run.
void BalanceRun::findActiveWindows() {
    windows_.clear();
    for (const Window &w : rules_.windows) {
        bool any = false;
        QDate outside;
        for (const RunDebt &d : debts) {
            if (inScope(w, d))
                any = true;
            else if (outside.isNull() || d.firstOverdue < outside)
                outside = d.firstOverdue;
        }
        if (any) windows_.append({&w, outside});
    }
}

bool BalanceRun::wholeBalanceSuspended(QDate day) const {
    for (const ActiveWindow &a : windows_)
        if (covers(*a.window, day) && (a.firstDebtOutside.isNull() || day < a.firstDebtOutside))
            return true;
    return false;
}

// The days a new piece may start on, after the first, sorted, then the day
// after the end.
void BalanceRun::collectStarts(QDate end, Starts &starts) const {
    const auto cut = [&](QDate d) {
        if (d > start_ && d <= end) starts.append(d);
    };
    // The oldest entry's rate stands in for the days before it too: its
    // first day changes nothing.
    if (rules_.rateDay == RateDay::EachDay && !ownRates_ && fixedRateDay.isNull() &&
        !rates_.empty())
        for (auto it = std::next(rates_.begin()); it != rates_.end() && it->first <= end; ++it)
            if (it->first > start_ && !wholeBalanceSuspended(it->first)) cut(it->first);
    if (countsYearDays(rules_.steps) ||
        std::any_of(rules_.eras.cbegin(), rules_.eras.cend(),
                    [](const Era &e) { return countsYearDays(e.steps); }))
        for (int y = start_.year() + 1; y <= end.year(); ++y)
            if (!wholeBalanceSuspended(QDate(y, 1, 1))) cut(QDate(y, 1, 1));
    for (const Step &s : rules_.steps)
        cut(start_.addDays(s.fromDay - 1));
    for (const Era &e : rules_.eras) {
        cut(e.from);
        for (const Step &s : e.steps)
            cut(start_.addDays(s.fromDay - 1));
    }
    for (const RunDebt &d : debts)
        cut(d.firstOverdue);
    for (const Repayment &r : repayments)
        cut(r.day.addDays(1));
    for (const ActiveWindow &a : windows_) {
        cut(a.window->from);
        cut(a.window->to.addDays(1));
    }
    for (const RateCap &c : rules_.caps) {
        cut(c.from);
        cut(c.to.addDays(1));
    }
    starts.append(end.addDays(1));
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
}

// A piece (and a window's row) a stretch, and the increases' and payments'
// rows; grown by half at least, as runs of many portions add to one list.
void BalanceRun::reserveRows(qsizetype pieces) {
    const qsizetype needed =
        rows_.size() + 2 * pieces + (payments ? payments->size() + debts.size() : 0);
    if (needed > rows_.capacity()) rows_.reserve(std::max(needed, rows_.capacity() * 3 / 2));
}

// The rate of the whole run, when it is one: the count's own, or one day's.
void BalanceRun::chooseRateOfRun() {
    oneDay_ = ownRates_                            ? QDate()
              : fixedRateDay.isValid()             ? fixedRateDay
              : rules_.rateDay == RateDay::OneDate ? rules_.rateDate
                                                   : QDate();
    oneRate_ = ownRates_ && rules_.eras.isEmpty()     ? *rules_.ownRate
               : oneDay_.isValid() && !rates_.empty() ? rateInForce(rates_, oneDay_)
                                                      : Decimal{};
}

void BalanceRun::debtsFallDue(QDate from) {
    for (; fallenDue_ < debts.size() && debts[fallenDue_].firstOverdue <= from; ++fallenDue_) {
        RunDebt &d = debts[fallenDue_];
        d.unpaid = d.dueAmount;
        balance_ += d.dueAmount; // within the limit: checked with every debt
        if (payments && d.increaseRow)
            rows_.append({.kind = PeriodRow::Increase,
                          .from = from,
                          .to = from,
                          .debt = balance_,
                          .amount = d.amount,
                          .overpaid = d.advancePaid});
    }
}

// What of the balance a window holds on `from`; `byUser` when only the
// user's windows hold it.
qint64 BalanceRun::suspendedOn(QDate from, bool &byUser) const {
    byUser = true;
    bool any = false;
    for (const ActiveWindow &a : windows_)
        if (covers(*a.window, from)) {
            any = true;
            byUser &= a.window->byUser;
        }
    if (!any) return 0;
    qint64 suspended = 0;
    for (qsizetype i = 0; i < fallenDue_; ++i)
        if (std::any_of(windows_.cbegin(), windows_.cend(), [&](const ActiveWindow &a) {
                return covers(*a.window, from) && inScope(*a.window, debts[i]);
            }))
            suspended += debts[i].unpaid;
    return suspended;
}

// The rows of the stretch from `from` to `to`: the window's, then the piece
// that accrues.
void BalanceRun::addPieces(QDate from, QDate to) {
    const Step &step = rules_.stepOn(int(start_.daysTo(from)) + 1, from);
    if (step.kind == Step::Nothing || balance_ <= 0) return;
    bool byUser = false;
    const qint64 suspended = suspendedOn(from, byUser);
    if (suspended > 0)
        add({.kind = PeriodRow::Moratorium,
             .from = from,
             .to = to,
             .debt = suspended,
             .partial = suspended < balance_,
             .byUser = byUser},
            {});
    if (balance_ <= suspended) return;
    bool capped = false;
    const Decimal rate = rateOn(from, capped);
    add({.kind = PeriodRow::Piece,
         .from = from,
         .to = to,
         .debt = balance_ - suspended,
         .divisor = divisorOf(step, from),
         .rateCapped = capped},
        rate);
}

Decimal BalanceRun::rateOn(QDate from, bool &capped) {
    Decimal rate = oneRate_;
    const Era *era = rules_.eraOn(from);
    if (const std::optional<Decimal> own = era && era->ownRate ? era->ownRate : rules_.ownRate) {
        rate = *own;
    } else {
        const QDate day = oneDay_.isValid() ? oneDay_ : from;
        if (oneDay_.isNull()) rate = rateInForce(rates_, day);
        if (earliestRateDay.isNull() || day < earliestRateDay) earliestRateDay = day;
    }
    return rules_.capped(rate, from, oneDay_.isValid() ? oneDay_ : from, capped);
}

void BalanceRun::repayUntil(qsizetype until) {
    for (; repaid_ < until; ++repaid_) {
        debts[repayments[repaid_].debt].unpaid -= repayments[repaid_].amount;
        balance_ -= repayments[repaid_].amount;
    }
}

// Payments on `to` lower the balance from the next day on; with rows for
// them, each payment's row follows its own parts.
void BalanceRun::repayThrough(QDate to) {
    if (!payments) {
        qsizetype until = repaid_;
        while (until < repayments.size() && repayments[until].day <= to)
            ++until;
        repayUntil(until);
        return;
    }
    for (; paymentsShown_ < payments->size() && (*payments)[paymentsShown_].date <= to;
         ++paymentsShown_) {
        qsizetype until = repaid_;
        while (until < repayments.size() && repayments[until].payment == paymentsShown_)
            ++until;
        repayUntil(until);
        const Paid &p = (*payments)[paymentsShown_];
        rows_.append({.kind = PeriodRow::Payment,
                      .from = p.date,
                      .to = p.date,
                      .debt = balance_,
                      .amount = p.amount,
                      .overpaid = allocation->overpaid[paymentsShown_]});
    }
}

} // namespace calc
