// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine.h"

#include <algorithm>
#include <map>
#include <set>

namespace calc {

Allocation allocate(const QList<Debt> &debts, const QList<Paid> &payments) {
    Allocation a;
    const qsizetype n = debts.size();
    a.parts.resize(n);
    a.ahead.fill(0, n);
    a.left.resize(n);
    for (qsizetype i = 0; i < n; ++i)
        a.left[i] = debts[i].amount;
    a.over.fill(0, payments.size());
    qsizetype arisen = 0, oldest = 0; // debts that exist; the first that may be unpaid
    const auto ariseUpTo = [&](QDate day) {
        for (; arisen < n && (day.isNull() || debts[arisen].arises <= day); ++arisen) {
            const qint64 part = std::min(a.advance, a.left[arisen]);
            if (part == 0) continue;
            a.advance -= part;
            a.left[arisen] -= part;
            a.ahead[arisen] += part;
            a.parts[arisen].append({debts[arisen].arises, part, -1});
        }
    };
    const auto pay = [&](qsizetype i, QDate day, qint64 &rest, int payment) {
        const qint64 part = std::min(rest, a.left[i]);
        if (part == 0) return;
        rest -= part;
        a.left[i] -= part;
        a.parts[i].append({day, part, payment});
    };
    for (int p = 0; p < payments.size(); ++p) {
        const Paid &paid = payments[p];
        ariseUpTo(paid.date);
        qint64 rest = paid.amount;
        if (paid.debt >= 0 && paid.debt < arisen) pay(paid.debt, paid.date, rest, p);
        while (oldest < arisen && a.left[oldest] == 0)
            ++oldest;
        for (qsizetype i = oldest; i < arisen && rest > 0; ++i)
            pay(i, paid.date, rest, p);
        a.over[p] = rest;
        a.advance += rest; // within the limit: no more than was paid
    }
    ariseUpTo(QDate());
    return a;
}

namespace {

// One run over a balance: the debts it holds come on their first overdue
// days and are lowered by the payments' parts from the day after each.
class Walk {
public:
    struct Slot {
        QDate first, arose;
        qint64 comes = 0; // what is owed of it on its first overdue day
        qint64 full = 0, ahead = 0;
        bool shown = false;
        qint64 left = 0;
        bool arrived = false;
    };
    struct Lower {
        QDate day; // the payment's: the debt is lower from the next day
        int index; // of the debt in `debts`; -1: the payment's row alone
        qint64 amount;
        int payment;
    };

    Walk(const CountRules &rules, const RatesByDay &rates, QList<PeriodRow> &rows)
        : rules_(rules), rates_(rates), rows_(rows) {}

    QList<Slot> debts;
    QList<Lower> lowers;                   // in payment order
    QDate fixedRateDay;                    // null: by the rules
    const QList<Paid> *payments = nullptr; // eventRows: each payment's row
    const Allocation *allocation = nullptr;
    QDate earliestRateDay; // of the pieces' rates

    // Rows from `start` (day 1 of delay) to `end`; their exact rates in `exact`.
    void run(QDate start, QDate end, QList<Decimal> &exact);

private:
    bool inScope(const Window &w, const Slot &s) const {
        return w.aroseBy.isNull() || s.arose <= w.aroseBy;
    }
    const Step &stepOn(int day) const {
        const Step *at = &rules_.steps.front();
        for (const Step &s : rules_.steps)
            if (s.fromDay <= day) at = &s;
        return *at;
    }
    void add(PeriodRow::Kind kind, QDate from, QDate to, qint64 debt, Decimal rate, int divisor,
             bool partial, QList<Decimal> &exact, qsizetype base);

    const CountRules &rules_;
    const RatesByDay &rates_;
    QList<PeriodRow> &rows_;
};

bool same(Decimal a, Decimal b) {
    return a.digits * pow10(b.scale) == b.digits * pow10(a.scale);
}

void Walk::add(PeriodRow::Kind kind, QDate from, QDate to, qint64 debt, Decimal rate, int divisor,
               bool partial, QList<Decimal> &exact, qsizetype base) {
    const int days = int(from.daysTo(to)) + 1;
    if (!rules_.cutAtEveryChange && rows_.size() > base) {
        PeriodRow &last = rows_.last();
        if (last.kind == kind && last.to.addDays(1) == from && last.debt == debt &&
            last.divisor == divisor && last.partial == partial &&
            (kind != PeriodRow::Piece || same(exact.last(), rate))) {
            last.to = to;
            last.days += days;
            return;
        }
    }
    PeriodRow row{kind, from, to, debt, days, {}, divisor, 0};
    row.partial = partial;
    rows_.append(row);
    exact.append(rate);
}

void Walk::run(QDate start, QDate end, QList<Decimal> &exact) {
    if (end < start) return;
    const qsizetype base = rows_.size();
    // The windows that hold any debt of this run, and the first day a debt
    // they do not hold is overdue (from then on they hold only a part).
    struct Held {
        const Window *window;
        QDate firstOutside;
    };
    QList<Held> windows;
    for (const Window &w : rules_.windows) {
        bool any = false;
        QDate outside;
        for (const Slot &s : debts) {
            if (inScope(w, s))
                any = true;
            else if (outside.isNull() || s.first < outside)
                outside = s.first;
        }
        if (any) windows.append({&w, outside});
    }
    const auto wholeHeld = [&](QDate day) {
        for (const Held &h : windows)
            if (day >= h.window->from && day <= h.window->to &&
                (h.firstOutside.isNull() || day < h.firstOutside))
                return true;
        return false;
    };

    std::set<QDate> starts; // the days a new piece may start on, after the first
    const auto cut = [&](QDate d) {
        if (d > start && d <= end) starts.insert(d);
    };
    const bool eachDay = rules_.rateDay == RateDay::EachDay && !rules_.ownRate &&
                         fixedRateDay.isNull() && !rates_.empty();
    // The oldest entry's rate stands in for the days before it too: its
    // first day changes nothing.
    if (eachDay)
        for (auto it = std::next(rates_.begin()); it != rates_.end() && it->first <= end; ++it)
            if (it->first > start && !wholeHeld(it->first)) cut(it->first);
    if (std::any_of(rules_.steps.cbegin(), rules_.steps.cend(),
                    [](const Step &s) { return s.kind == Step::YearDays; }))
        for (int y = start.year() + 1; y <= end.year(); ++y)
            if (!wholeHeld(QDate(y, 1, 1))) cut(QDate(y, 1, 1));
    for (const Step &s : rules_.steps)
        cut(start.addDays(s.fromDay - 1));
    for (const Slot &s : debts)
        cut(s.first);
    for (const Lower &l : lowers)
        cut(l.day.addDays(1));
    for (const Held &h : windows) {
        cut(h.window->from);
        cut(h.window->to.addDays(1));
    }
    for (const RateCap &c : rules_.caps) {
        cut(c.from);
        cut(c.to.addDays(1));
    }
    starts.insert(end.addDays(1));

    qint64 balance = 0;
    qsizetype lowered = 0; // lowers applied so far
    QDate from = start;
    for (QDate next : starts) {
        const QDate to = next.addDays(-1);
        for (Slot &s : debts) {
            if (s.arrived || s.first != from) continue;
            s.arrived = true;
            s.left = s.comes;
            balance += s.comes; // within the limit: checked with every debt
            if (rules_.eventRows && s.shown)
                rows_.append({PeriodRow::Increase, from, from, balance, 0, {}, 0, s.full, s.ahead});
        }
        qint64 held = 0;
        for (const Slot &s : debts)
            if (s.arrived && std::any_of(windows.cbegin(), windows.cend(), [&](const Held &h) {
                    return from >= h.window->from && from <= h.window->to && inScope(*h.window, s);
                }))
                held += s.left;
        const Step &step = stepOn(int(start.daysTo(from)) + 1);
        if (step.kind != Step::Nothing && balance > 0) {
            if (held > 0)
                add(PeriodRow::Moratorium, from, to, held, {}, 0, held < balance, exact, base);
            if (balance > held) {
                Decimal rate;
                if (rules_.ownRate) {
                    rate = *rules_.ownRate;
                } else {
                    const QDate day = fixedRateDay.isValid()               ? fixedRateDay
                                      : rules_.rateDay == RateDay::OneDate ? rules_.rateDate
                                                                           : from;
                    rate = rateInForce(rates_, day);
                    if (earliestRateDay.isNull() || day < earliestRateDay) earliestRateDay = day;
                }
                for (const RateCap &c : rules_.caps)
                    if (from >= c.from && from <= c.to &&
                        c.most.digits * pow10(rate.scale) < rate.digits * pow10(c.most.scale))
                        rate = c.most;
                const int divisor = step.kind == Step::YearDays
                                        ? (QDate::isLeapYear(from.year()) ? 366 : 365)
                                    : step.kind == Step::Fraction ? step.fraction
                                                                  : 0;
                add(PeriodRow::Piece, from, to, balance - held, rate, divisor, false, exact, base);
            }
        }
        // Payments on `to` lower the balance from the next day on.
        for (; lowered < lowers.size() && lowers[lowered].day <= to; ++lowered) {
            const Lower &l = lowers[lowered];
            if (l.index >= 0) {
                debts[l.index].left -= l.amount;
                balance -= l.amount;
            }
            const bool lastOfPayment =
                lowered + 1 == lowers.size() || lowers[lowered + 1].payment != l.payment;
            if (rules_.eventRows && lastOfPayment)
                rows_.append({PeriodRow::Payment,
                              l.day,
                              l.day,
                              balance,
                              0,
                              {},
                              0,
                              (*payments)[l.payment].amount,
                              allocation->over[l.payment]});
        }
        from = next;
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
    QList<Decimal> exact;
    const auto note = [earliestRateDay](QDate day) {
        if (earliestRateDay && day.isValid() &&
            (earliestRateDay->isNull() || day < *earliestRateDay))
            *earliestRateDay = day;
    };
    if (rules.rateDay == RateDay::Payment && !rules.ownRate) {
        // Each portion on its own, overdue until it was paid (or to the
        // end), at the rate of that day.
        for (int i : account) {
            const Debt &d = debts[i];
            const auto portion = [&](QDate day, qint64 amount) {
                Walk walk(rules, rates, rows);
                walk.debts = {{d.first, d.arose, amount, amount, 0, false}};
                walk.fixedRateDay = day;
                walk.run(start, day, exact);
                note(walk.earliestRateDay);
            };
            for (const Allocation::Part &p : allocation.parts[i])
                portion(p.day, p.amount);
            if (allocation.left[i] > 0) portion(end, allocation.left[i]);
        }
    } else {
        Walk walk(rules, rates, rows);
        walk.payments = &payments;
        walk.allocation = &allocation;
        for (int i : account) {
            const Debt &d = debts[i];
            qint64 comes = d.amount;
            for (const Allocation::Part &p : allocation.parts[i]) {
                // An advance pays it the day it arises; a payment from the next day.
                const QDate lower = p.payment < 0 ? p.day : p.day.addDays(1);
                if (lower <= d.first)
                    comes -= p.amount;
                else
                    walk.lowers.append({p.day, int(walk.debts.size()), p.amount, p.payment});
            }
            walk.debts.append({d.first, d.arose, comes, d.amount, allocation.ahead[i], d.shown});
        }
        if (rules.eventRows) // every payment has its row, whatever it paid
            for (int p = 0; p < payments.size(); ++p)
                walk.lowers.append({payments[p].date, -1, 0, p});
        std::stable_sort(walk.lowers.begin(), walk.lowers.end(),
                         [](const Walk::Lower &a, const Walk::Lower &b) {
                             return a.day < b.day || (a.day == b.day && a.payment < b.payment);
                         });
        walk.run(start, end, exact);
        note(walk.earliestRateDay);
    }

    // The amounts, then the cap on the total, then the sum.
    std::optional<qint64> cap;
    if (rules.totalCap) {
        qint64 owed = 0;
        for (int i : account)
            owed += debts[i].amount; // within the limit: checked with every debt
        cap = pieceInterest(owed, 100, *rules.totalCap, 1); // owed × share, to the kopeck
    }
    Decimal lastRate;
    QString lastText;
    qint64 sum = 0;
    for (qsizetype r = base, e = 0; r < rows.size(); ++r) {
        PeriodRow &row = rows[r];
        if (row.kind != PeriodRow::Piece && row.kind != PeriodRow::Moratorium) continue;
        const Decimal rate = exact[e++];
        if (row.kind != PeriodRow::Piece) continue;
        // Rates change far less often than pieces: a rate's text is shared.
        if (lastText.isNull() || rate.digits != lastRate.digits || rate.scale != lastRate.scale) {
            lastRate = rate;
            lastText = rateText(rate);
        }
        row.rate = lastText;
        row.amount = pieceInterest(row.debt, row.days, rate, std::max(row.divisor, 1));
        if (cap && sum + row.amount > *cap) row.amount = *cap - sum;
        sum += row.amount;
        total = addWithinLimit(total, row.amount, totalName);
    }
}

} // namespace calc
