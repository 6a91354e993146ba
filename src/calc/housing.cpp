// SPDX-License-Identifier: GPL-3.0-or-later
#include "housing.h"

#include "claimfields.h"
#include "common/apperror.h"
#include "common/dates.h"
#include "money.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>

namespace calc {
namespace {

const QDate kDueOn15th{2026, 3, 1};     // bills from March 2026 on (Federal Law 177-FZ)
const QDate kOneRuleBefore{2016, 1, 1}; // bills due earlier: 1/300 from day 1 (307-FZ)
const QDate kFree2020From{2020, 4, 6}, kFree2020To{2020, 12, 31};
const QDate kLast2022Bill{2022, 3, 1}; // bills up to March 2022 are held in 2022
const QDate kCapFrom{2022, 2, 28}, kCapTo{2026, 12, 31};
const Decimal kCap{95, 1}; // 9,5 % a year at most in the cap's days

QDate firstOfMonth(QDate d) {
    return QDate(d.year(), d.month(), 1);
}

bool below(Decimal a, Decimal b) {
    return a.digits * pow10(b.scale) < b.digits * pow10(a.scale);
}

// What a bill owes in one stretch of days, and the day whose rate it goes
// by (null: each day's own).
struct Stretch {
    QDate from, to;
    qint64 debt;
    QDate rateDay;
};

struct Portion {
    qint64 amount;
    QDate end; // the last overdue day: the day it was paid, or the calculation date
};

// What is wrong with a charge (dated by its month) or a payment; its kopecks
// in `amount`.
QString entryProblem(const Payment &entry, bool charge, qint64 &amount) {
    if (!entry.date.isValid() || entry.date < kEarliestDate)
        return charge ? QStringLiteral("Начисление: нет месяца")
                      : QStringLiteral("Оплата: нет даты");
    if (!readKopecks(entry.amount, amount) || amount <= 0)
        return QStringLiteral("%1: \"%2\" не читается как сумма в рублях больше нуля, не больше "
                              "10^15 руб.")
            .arg(charge ? QStringLiteral("Начисление за ") + monthText(entry.date)
                        : QStringLiteral("Оплата ") + dateText(entry.date),
                 entry.amount);
    return {};
}

} // namespace

QString housingEntryProblem(const Payment &entry, bool charge) {
    qint64 amount = 0;
    return entryProblem(entry, charge, amount);
}

QString monthText(QDate month) {
    return dateText(month).mid(3); // "MM.yyyy" of "dd.MM.yyyy"
}

bool isDayOff(QDate d) {
    if (d.dayOfWeek() >= 6) return true;
    const int m = d.month(), day = d.day();
    return (m == 1 && day <= 8) || (m == 2 && day == 23) || (m == 3 && day == 8) ||
           (m == 5 && (day == 1 || day == 9)) || (m == 6 && day == 12) || (m == 11 && day == 4);
}

QDate billDueDate(QDate month, int dueDay, bool shift) {
    const QDate next = firstOfMonth(month).addMonths(1);
    const int day = dueDay > 0 ? dueDay : (firstOfMonth(month) >= kDueOn15th ? 15 : 10);
    QDate due(next.year(), next.month(), std::min(day, next.daysInMonth()));
    while (shift && isDayOff(due))
        due = due.addDays(1);
    return due;
}

HousingResult calculateHousing(const PeriodInput &in) {
    const QDate calculated = in.filed;
    if (!calculated.isValid()) throw AppError(QStringLiteral("Не задана дата расчета"));
    if (!in.increases.isEmpty())
        throw AppError(QStringLiteral("Увеличения долга не применяются к пеням за ЖКУ: внесите "
                                      "их как начисления за месяц"));
    if (in.dueDay < 0 || in.dueDay > 31)
        throw AppError(QStringLiteral("День оплаты %1: нужно число от 1 до 31").arg(in.dueDay));
    if (const QString many = entryCountProblem(in.charges.size() + in.payments.size());
        !many.isEmpty())
        throw AppError(QStringLiteral("В расчете %1").arg(many));
    const RatesByDay rates = ratesByDay(in.rates);
    if (rates.empty())
        throw AppError(QStringLiteral("В таблице ставок нет ни одной ставки для расчета"));
    HousingResult r;
    const QDate oldest = rates.begin()->first;
    const auto rateOn = [&](QDate day) {
        if (day < oldest) r.tableStart = oldest;
        return rateInForce(rates, day);
    };
    const auto kopecks = [](const Payment &entry, bool charge) {
        qint64 k = 0;
        if (const QString problem = entryProblem(entry, charge, k); !problem.isEmpty())
            throw AppError(problem);
        return k;
    };

    // The bills, a month each; a bill exists from the first day of the next month.
    std::map<QDate, qint64> byMonth;
    for (const Charge &c : in.charges) {
        const qint64 amount = kopecks({c.month, c.amount}, true);
        const QDate month = firstOfMonth(c.month);
        if (month.addMonths(1) > calculated) {
            r.leftOut << QStringLiteral("начисление за %1: %2 руб. (счет позже даты расчета)")
                             .arg(monthText(month), kopecksText(amount));
            continue;
        }
        byMonth[month] = addWithinLimit(byMonth[month], amount, QStringLiteral("Начислено"));
        r.charged = addWithinLimit(r.charged, amount, QStringLiteral("Начислено"));
    }
    for (const auto &[month, amount] : byMonth)
        r.bills.append(
            {month, amount, billDueDate(month, in.dueDay, in.shift), {}, {}, {}, 0, amount});

    // Payments by date: first the bill they name, then the oldest unpaid;
    // what is left is an advance that pays each later bill the day it arises.
    QList<Payment> payments = in.payments;
    std::stable_sort(payments.begin(), payments.end(),
                     [](const auto &a, const auto &b) { return a.date < b.date; });
    QList<QList<Portion>> portions(r.bills.size());
    QList<QDate> arises; // the day each bill arises
    for (const HousingBill &b : r.bills)
        arises.append(b.month.addMonths(1));
    qsizetype arisen = 0;
    const auto ariseUpTo = [&](QDate day) {
        for (; arisen < r.bills.size() && arises[arisen] <= day; ++arisen) {
            HousingBill &b = r.bills[arisen];
            const qint64 part = std::min(r.advance, b.left);
            if (part == 0) continue;
            r.advance -= part;
            b.left -= part;
            b.ahead.append({arises[arisen], part});
            portions[arisen].append({part, arises[arisen]});
        }
    };
    const auto pay = [&](qsizetype i, QDate day, qint64 &rest) {
        HousingBill &b = r.bills[i];
        const qint64 part = std::min(rest, b.left);
        if (part == 0) return;
        rest -= part;
        b.left -= part;
        b.paid.append({day, part});
        portions[i].append({part, day});
    };
    for (const Payment &p : payments) {
        const qint64 amount = kopecks(p, false);
        if (p.date > calculated) {
            r.leftOut << QStringLiteral("оплата %1: %2 руб. (позже даты расчета)")
                             .arg(dateText(p.date), kopecksText(amount));
            continue;
        }
        ariseUpTo(p.date);
        r.paid = addWithinLimit(r.paid, amount, QStringLiteral("Оплачено"));
        qint64 rest = amount;
        if (const QDate named = p.month.isValid() ? firstOfMonth(p.month) : QDate();
            named.isValid())
            for (qsizetype i = 0; i < arisen; ++i)
                if (r.bills[i].month == named) pay(i, p.date, rest);
        for (qsizetype i = 0; i < arisen && rest > 0; ++i)
            pay(i, p.date, rest);
        r.advance += rest; // within the limit: no more than was paid
    }
    ariseUpTo(calculated);

    // Each bill's penalty over the stretches it was owed.
    const QDate oneDate = in.rateDate.isValid() ? in.rateDate : calculated;
    for (qsizetype i = 0; i < r.bills.size(); ++i) {
        HousingBill &b = r.bills[i];
        QList<Portion> owed = portions[i];
        if (b.left > 0) owed.append({b.left, calculated});
        const QDate first = b.due.addDays(1);
        QList<Stretch> stretches;
        if (in.rateDay == RateDay::Payment) {
            for (const Portion &p : owed)
                stretches.append({first, p.end, p.amount, p.end});
        } else {
            // The bill's debt falls on the days after its portions were paid.
            std::set<QDate> ends;
            for (const Portion &p : owed)
                ends.insert(p.end);
            QDate from = first;
            for (QDate end : ends) {
                qint64 debt = 0;
                for (const Portion &p : owed)
                    if (p.end >= end) debt += p.amount;
                if (end >= from)
                    stretches.append(
                        {from, end, debt, in.rateDay == RateDay::OneDate ? oneDate : QDate()});
                from = std::max(from, end.addDays(1));
            }
        }
        // The days where what a day earns may change.
        std::set<QDate> cuts{first.addDays(30),      first.addDays(90), kFree2020From,
                             kFree2020To.addDays(1), kCapFrom,          kCapTo.addDays(1)};
        if (b.month <= kLast2022Bill) {
            cuts.insert(kMoratoriumStart);
            cuts.insert(kMoratoriumEnd.addDays(1));
        }
        if (in.rateDay == RateDay::EachDay)
            for (const auto &[day, rate] : rates)
                cuts.insert(day);
        for (const Stretch &s : stretches) {
            if (s.to < s.from) continue;
            QDate from = s.from;
            while (from <= s.to) {
                auto next = cuts.upper_bound(from);
                const QDate to = next == cuts.end() ? s.to : std::min(s.to, next->addDays(-1));
                const int day = int(first.daysTo(from)) + 1; // of delay
                const int divisor =
                    b.due < kOneRuleBefore ? 300 : (day <= 30 ? 0 : (day <= 90 ? 300 : 130));
                const bool free =
                    (in.moratorium2020 && from >= kFree2020From && from <= kFree2020To) ||
                    (in.moratorium && b.month <= kLast2022Bill && from >= kMoratoriumStart &&
                     from <= kMoratoriumEnd);
                if (divisor > 0 && !free) {
                    Decimal rate = rateOn(s.rateDay.isValid() ? s.rateDay : from);
                    if (from >= kCapFrom && from <= kCapTo && below(kCap, rate)) rate = kCap;
                    const int days = int(from.daysTo(to)) + 1;
                    HousingPiece *last = b.pieces.isEmpty() ? nullptr : &b.pieces.last();
                    if (last && last->to.addDays(1) == from && last->debt == s.debt &&
                        !below(last->exact, rate) && !below(rate, last->exact) &&
                        last->divisor == divisor) {
                        last->to = to;
                        last->days += days;
                    } else {
                        b.pieces.append({from, to, s.debt, days, {}, divisor, 0, rate});
                    }
                }
                from = to.addDays(1);
            }
        }
        for (HousingPiece &p : b.pieces) {
            p.rate = rateText(p.exact);
            p.amount = pieceInterest(p.debt, p.days, p.exact, p.divisor);
            b.penalty = addWithinLimit(b.penalty, p.amount, QStringLiteral("Сумма пеней"));
        }
        r.penalty = addWithinLimit(r.penalty, b.penalty, QStringLiteral("Сумма пеней"));
        r.debt += b.left; // no more than was charged
    }
    addWithinLimit(r.debt, r.penalty, QStringLiteral("ИТОГО"));
    r.fee = courtFeeKopecks(r.debt + r.penalty, in.court, feeScaleFor(calculated));
    r.lines = housingLines(r, calculated);
    return r;
}

PeriodResult housingPeriods(const PeriodInput &in) {
    auto housing = std::make_shared<HousingResult>(calculateHousing(in));
    PeriodResult r;
    if (!housing->bills.isEmpty())
        r.days = int(std::max<qint64>(0, housing->bills.first().due.daysTo(in.filed)));
    r.interest = housing->penalty;
    r.remaining = housing->debt;
    r.fee = housing->fee;
    r.lines = housing->lines;
    for (const HousingBill &b : housing->bills) {
        qint64 left = b.charged;
        r.rows.append({PeriodRow::Bill, b.month, b.due, b.charged, 0, {}, 0, b.charged});
        for (const auto &[day, amount] : b.ahead)
            r.rows.append({PeriodRow::Advance, day, day, left -= amount, 0, {}, 0, amount});
        for (const auto &[day, amount] : b.paid)
            r.rows.append({PeriodRow::Payment, day, day, left -= amount, 0, {}, 0, amount});
        for (const HousingPiece &p : b.pieces)
            r.rows.append(
                {PeriodRow::Piece, p.from, p.to, p.debt, p.days, p.rate, p.divisor, p.amount});
        r.rows.append({PeriodRow::BillTotal, b.month, b.due, b.left, 0, {}, 0, b.penalty});
    }
    r.tableStart = housing->tableStart;
    r.housing = std::move(housing);
    return r;
}

} // namespace calc
