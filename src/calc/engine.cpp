// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine.h"

#include <QVarLengthArray>
#include <algorithm>

namespace calc {

namespace {

// The exact rates of the rows a count adds, in order.
using Exact = QVarLengthArray<Decimal, 128>;

// One run over a balance: the debts it holds (by their first overdue days)
// come on those days and are lowered by the payments' parts from the day
// after each.
class Walk {
public:
    struct Slot {
        QDate first, arose;
        qint64 comes = 0; // what is owed of it on its first overdue day
        qint64 full = 0, ahead = 0;
        bool shown = false;
        qint64 left = 0;
    };
    struct Lower {
        QDate day; // the payment's: the debt is lower from the next day
        int index; // of the debt in `debts`
        qint64 amount;
        int payment;
    };

    Walk(const CountRules &rules, const RatesByDay &rates, QList<PeriodRow> &rows)
        : rules_(rules), rates_(rates), rows_(rows) {}

    QList<Slot> debts;
    QList<Lower> lowers;                   // in payment order
    QDate fixedRateDay;                    // null: by the rules
    const QList<Paid> *payments = nullptr; // each payment's row, with the increases'
    const Allocation *allocation = nullptr;
    QDate earliestRateDay; // of the pieces' rates

    // Rows from `start` (day 1 of delay) to `end`; their exact rates in `exact`.
    void run(QDate start, QDate end, Exact &exact);

private:
    bool inScope(const Window &w, const Slot &s) const {
        return w.aroseBy.isNull() || s.arose <= w.aroseBy;
    }
    // The era in force on `day`; null: the count's own rules.
    const Era *eraOn(QDate day) const {
        const Era *at = nullptr;
        for (const Era &e : rules_.eras)
            if (e.from <= day) at = &e;
        return at;
    }
    // What day `day` of the delay earns on the date `date`.
    const Step &stepOn(int day, QDate date) const {
        const Era *era = eraOn(date);
        const QList<Step> &steps = era && !era->steps.isEmpty() ? era->steps : rules_.steps;
        const Step *at = &steps.front();
        for (const Step &s : steps)
            if (s.fromDay <= day) at = &s;
        return *at;
    }
    std::optional<Decimal> ownRateOn(QDate date) const {
        const Era *era = eraOn(date);
        return era && era->ownRate ? era->ownRate : rules_.ownRate;
    }
    void add(PeriodRow::Kind kind, QDate from, QDate to, qint64 debt, Decimal rate, int divisor,
             bool partial, Exact &exact, qsizetype base, bool capped = false);

    const CountRules &rules_;
    const RatesByDay &rates_;
    QList<PeriodRow> &rows_;
};

bool same(Decimal a, Decimal b) {
    return a.digits * pow10(b.scale) == b.digits * pow10(a.scale);
}

void Walk::add(PeriodRow::Kind kind, QDate from, QDate to, qint64 debt, Decimal rate, int divisor,
               bool partial, Exact &exact, qsizetype base, bool capped) {
    const int days = int(from.daysTo(to)) + 1;
    if (!rules_.cutAtEveryChange && rows_.size() > base) {
        PeriodRow &last = rows_.last();
        if (last.kind == kind && last.to.addDays(1) == from && last.debt == debt &&
            last.divisor == divisor && last.partial == partial && last.rateCapped == capped &&
            (kind != PeriodRow::Piece || same(exact.last(), rate))) {
            last.to = to;
            last.days += days;
            return;
        }
    }
    rows_.append({kind, from, to, debt, days, {}, divisor, 0, 0, partial, 0, capped});
    exact.append(rate);
}

void Walk::run(QDate start, QDate end, Exact &exact) {
    if (end < start) return;
    const qsizetype base = rows_.size();
    // The windows that hold any debt of this run, and the first day a debt
    // they do not hold is overdue (from then on they hold only a part).
    struct Held {
        const Window *window;
        QDate firstOutside;
    };
    QVarLengthArray<Held, 4> windows;
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

    // The days a new piece may start on, after the first; sorted below.
    QVarLengthArray<QDate, 64> starts;
    const auto cut = [&](QDate d) {
        if (d > start && d <= end) starts.append(d);
    };
    const bool ownRates = rules_.ownRate && std::all_of(rules_.eras.cbegin(), rules_.eras.cend(),
                                                        [](const Era &e) { return e.ownRate; });
    const bool eachDay =
        rules_.rateDay == RateDay::EachDay && !ownRates && fixedRateDay.isNull() && !rates_.empty();
    // The oldest entry's rate stands in for the days before it too: its
    // first day changes nothing.
    if (eachDay)
        for (auto it = std::next(rates_.begin()); it != rates_.end() && it->first <= end; ++it)
            if (it->first > start && !wholeHeld(it->first)) cut(it->first);
    const auto yearDays = [](const QList<Step> &steps) {
        return std::any_of(steps.cbegin(), steps.cend(),
                           [](const Step &s) { return s.kind == Step::YearDays; });
    };
    if (yearDays(rules_.steps) || std::any_of(rules_.eras.cbegin(), rules_.eras.cend(),
                                              [&](const Era &e) { return yearDays(e.steps); }))
        for (int y = start.year() + 1; y <= end.year(); ++y)
            if (!wholeHeld(QDate(y, 1, 1))) cut(QDate(y, 1, 1));
    for (const Step &s : rules_.steps)
        cut(start.addDays(s.fromDay - 1));
    for (const Era &e : rules_.eras) {
        cut(e.from);
        for (const Step &s : e.steps)
            cut(start.addDays(s.fromDay - 1));
    }
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
    starts.append(end.addDays(1));
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    // A piece (and a window's row) a stretch, and the increases' and payments'
    // rows; grown by half at least, as runs of many portions add to one list.
    const qsizetype needed =
        rows_.size() + 2 * starts.size() + (payments ? payments->size() + debts.size() : 0);
    if (needed > rows_.capacity()) rows_.reserve(std::max(needed, rows_.capacity() * 3 / 2));

    // The rate of the whole run, when it is one: the count's own, or one day's.
    const QDate oneDay = ownRates                             ? QDate()
                         : fixedRateDay.isValid()             ? fixedRateDay
                         : rules_.rateDay == RateDay::OneDate ? rules_.rateDate
                                                              : QDate();
    const Decimal oneRate = ownRates && rules_.eras.isEmpty()     ? *rules_.ownRate
                            : oneDay.isValid() && !rates_.empty() ? rateInForce(rates_, oneDay)
                                                                  : Decimal{};
    qint64 balance = 0;
    qsizetype lowered = 0, arrived = 0; // lowers applied, debts come so far
    int shown = 0;                      // payments with their rows
    QDate from = start;
    for (QDate next : starts) {
        const QDate to = next.addDays(-1);
        for (; arrived < debts.size() && debts[arrived].first <= from; ++arrived) {
            Slot &s = debts[arrived];
            s.left = s.comes;
            balance += s.comes; // within the limit: checked with every debt
            if (payments && s.shown)
                rows_.append({PeriodRow::Increase, from, from, balance, 0, {}, 0, s.full, s.ahead});
        }
        qint64 held = 0;
        if (std::any_of(windows.cbegin(), windows.cend(), [&](const Held &h) {
                return from >= h.window->from && from <= h.window->to;
            }))
            for (qsizetype i = 0; i < arrived; ++i)
                if (std::any_of(windows.cbegin(), windows.cend(), [&](const Held &h) {
                        return from >= h.window->from && from <= h.window->to &&
                               inScope(*h.window, debts[i]);
                    }))
                    held += debts[i].left;
        const Step &step = stepOn(int(start.daysTo(from)) + 1, from);
        if (step.kind != Step::Nothing && balance > 0) {
            if (held > 0)
                add(PeriodRow::Moratorium, from, to, held, {}, 0, held < balance, exact, base);
            if (balance > held) {
                Decimal rate = oneRate;
                if (const std::optional<Decimal> own = ownRateOn(from); own) {
                    rate = *own;
                } else {
                    const QDate day = oneDay.isValid() ? oneDay : from;
                    if (oneDay.isNull()) rate = rateInForce(rates_, day);
                    if (earliestRateDay.isNull() || day < earliestRateDay) earliestRateDay = day;
                }
                bool capped = false;
                for (const RateCap &c : rules_.caps) {
                    // By the rate's day the cap reaches every day that rate covers.
                    const QDate capDay = c.byRateDay && oneDay.isValid() ? oneDay : from;
                    if (capDay >= c.from && capDay <= c.to &&
                        c.most.digits * pow10(rate.scale) < rate.digits * pow10(c.most.scale)) {
                        rate = c.most;
                        capped = true;
                    }
                }
                const int divisor = step.kind == Step::YearDays
                                        ? (QDate::isLeapYear(from.year()) ? 366 : 365)
                                    : step.kind == Step::Fraction ? step.fraction
                                                                  : 0;
                add(PeriodRow::Piece, from, to, balance - held, rate, divisor, false, exact, base,
                    capped);
            }
        }
        // Payments on `to` lower the balance from the next day on; with
        // rows for them, each payment's row follows its own parts.
        const auto lower = [&](qsizetype until) {
            for (; lowered < until; ++lowered) {
                debts[lowers[lowered].index].left -= lowers[lowered].amount;
                balance -= lowers[lowered].amount;
            }
        };
        if (payments) {
            for (; shown < payments->size() && (*payments)[shown].date <= to; ++shown) {
                qsizetype until = lowered;
                while (until < lowers.size() && lowers[until].payment == shown)
                    ++until;
                lower(until);
                const Paid &p = (*payments)[shown];
                rows_.append({PeriodRow::Payment,
                              p.date,
                              p.date,
                              balance,
                              0,
                              {},
                              0,
                              p.amount,
                              allocation->over[shown]});
            }
        } else {
            qsizetype until = lowered;
            while (until < lowers.size() && lowers[until].day <= to)
                ++until;
            lower(until);
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
    Exact exact;
    const auto note = [earliestRateDay](QDate day) {
        if (earliestRateDay && day.isValid() &&
            (earliestRateDay->isNull() || day < *earliestRateDay))
            *earliestRateDay = day;
    };
    if (rules.rateDay == RateDay::Payment && !rules.ownRate) {
        // Each portion on its own, overdue until it was paid (or to the
        // end), at the rate of that day.
        Walk walk(rules, rates, rows);
        for (int i : account) {
            const Debt &d = debts[i];
            const auto portion = [&](QDate day, qint64 amount, QDate rateDay) {
                walk.debts.resize(1); // made once, for every portion
                walk.debts[0] = {d.first, d.arose, amount, amount, 0, false};
                walk.fixedRateDay = rateDay;
                walk.run(start, day, exact);
            };
            // With rows for them: the increase, then each payment after
            // the portion it paid (what is left of this debt after it).
            if (rules.eventRows && d.shown)
                rows.append({PeriodRow::Increase,
                             d.first,
                             d.first,
                             d.amount,
                             0,
                             {},
                             0,
                             d.amount,
                             allocation.ahead[i]});
            qint64 left = d.amount - allocation.ahead[i];
            for (qsizetype j = 0; j < allocation.parts.size(); ++j) {
                const Allocation::Part &p = allocation.parts[j];
                if (p.debt != i) continue;
                portion(p.day, p.amount, p.day);
                if (!rules.eventRows || p.payment < 0) continue;
                const bool last = j + 1 == allocation.parts.size() ||
                                  allocation.parts[j + 1].payment != p.payment;
                rows.append({PeriodRow::Payment,
                             p.day,
                             p.day,
                             left -= p.amount,
                             0,
                             {},
                             0,
                             p.amount,
                             last ? allocation.over[p.payment] : 0});
            }
            // What is unpaid goes at the rate of the day it is claimed (the filing date).
            if (allocation.left[i] > 0)
                portion(end, allocation.left[i], rules.rateDate.isValid() ? rules.rateDate : end);
        }
        note(walk.earliestRateDay);
    } else {
        Walk walk(rules, rates, rows);
        if (rules.eventRows) walk.payments = &payments;
        walk.allocation = &allocation;
        // Each debt of the account as the run holds it (-1: not in it).
        QVarLengthArray<int, 64> held(debts.size(), -1);
        walk.debts.reserve(account.size());
        for (int i : account) {
            held[i] = int(walk.debts.size());
            const Debt &d = debts[i];
            walk.debts.append({d.first, d.arose, d.amount, d.amount, allocation.ahead[i], d.shown});
        }
        // The parts come in the order of the payments, so the run takes them in turn.
        for (const Allocation::Part &p : allocation.parts) {
            if (held[p.debt] < 0) continue;
            Walk::Slot &s = walk.debts[held[p.debt]];
            // An advance pays a debt the day it arises; a payment from the next day.
            if ((p.payment < 0 ? p.day : p.day.addDays(1)) <= s.first)
                s.comes -= p.amount;
            else
                walk.lowers.append({p.day, held[p.debt], p.amount, p.payment});
        }
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
    if (rules.totalCapKopecks)
        cap = std::min(cap.value_or(*rules.totalCapKopecks), *rules.totalCapKopecks);
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

} // namespace calc
