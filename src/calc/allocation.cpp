// SPDX-License-Identifier: GPL-3.0-or-later
// Where payments go: the debt they name, then the oldest unpaid one; what is
// left over pays each later debt the day it exists.
#include "engine.h"

#include <algorithm>

namespace calc {

Allocation allocate(const QList<Debt> &debts, const QList<Paid> &payments) {
    Allocation a;
    const qsizetype n = debts.size();
    a.advancePaid.fill(0, n);
    a.unpaid.resize(n);
    for (qsizetype i = 0; i < n; ++i)
        a.unpaid[i] = debts[i].amount;
    a.overpaid.fill(0, payments.size());
    a.parts.reserve(payments.size() + n);
    qsizetype arisen = 0, oldest = 0; // debts that exist; the first that may be unpaid
    const auto ariseUpTo = [&](QDate day) {
        for (; arisen < n && (day.isNull() || debts[arisen].arises <= day); ++arisen) {
            const qint64 part = std::min(a.advance, a.unpaid[arisen]);
            if (part == 0) continue;
            a.advance -= part;
            a.unpaid[arisen] -= part;
            a.advancePaid[arisen] += part;
            a.parts.append({debts[arisen].arises, part, -1, int(arisen)});
        }
    };
    const auto pay = [&](qsizetype i, QDate day, qint64 &rest, int payment) {
        const qint64 part = std::min(rest, a.unpaid[i]);
        if (part == 0) return;
        rest -= part;
        a.unpaid[i] -= part;
        a.parts.append({day, part, payment, int(i)});
    };
    for (int p = 0; p < payments.size(); ++p) {
        const Paid &paid = payments[p];
        ariseUpTo(paid.date);
        qint64 rest = paid.amount;
        if (paid.debt >= 0 && paid.debt < arisen) pay(paid.debt, paid.date, rest, p);
        while (oldest < arisen && a.unpaid[oldest] == 0)
            ++oldest;
        for (qsizetype i = oldest; i < arisen && rest > 0; ++i)
            pay(i, paid.date, rest, p);
        a.overpaid[p] = rest;
        a.advance += rest; // within the limit: no more than was paid
    }
    ariseUpTo(QDate());
    return a;
}

} // namespace calc
