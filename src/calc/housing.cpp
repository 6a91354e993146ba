// SPDX-License-Identifier: GPL-3.0-or-later
#include "housing.h"

#include "claimfields.h"
#include "common/apperror.h"
#include "common/dates.h"
#include "engine.h"
#include "law/calendar.h"
#include "money.h"
#include "presets.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string_view>

namespace calc {
namespace {

const QDate kDueOn15th{2026, 3, 1};     // bills from March 2026 on (Federal Law 177-FZ)
const QDate kOneRuleBefore{2016, 1, 1}; // bills due earlier: 1/300 from day 1 (307-FZ)
const QDate kLast2022Bill{2022, 3, 1};  // bills up to March 2022 are held in 2022

QDate firstOfMonth(QDate d) {
    return QDate(d.year(), d.month(), 1);
}

// What is wrong with a charge (dated by its month) or a payment; its kopecks
// in `amount`.
QString entryProblem(const Payment &entry, bool charge, qint64 &amount) {
    if (!entry.date.isValid())
        return charge ? QStringLiteral("Начисление: нет месяца")
                      : QStringLiteral("Оплата: нет даты");
    if (entry.date < kEarliestDate)
        return QStringLiteral("%1 вне допустимого диапазона: не раньше %2")
            .arg(charge ? QStringLiteral("Начисление за ") + monthText(entry.date)
                        : QStringLiteral("Оплата ") + dateText(entry.date),
                 charge ? monthText(kEarliestDate) : dateText(kEarliestDate));
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
    const int y = month.year(), m = month.month();
    if (!month.isValid() || y < 1000 || y > 9999) return dateText(month).mid(3);
    // Digit by digit, as dates are: every bill's lines say their month.
    const char16_t text[7] = {
        char16_t(u'0' + m / 10),   char16_t(u'0' + m % 10),       u'.',
        char16_t(u'0' + y / 1000), char16_t(u'0' + y / 100 % 10), char16_t(u'0' + y / 10 % 10),
        char16_t(u'0' + y % 10)};
    return QString(reinterpret_cast<const QChar *>(text), 7);
}

QDate billDueDate(QDate month, int dueDay, bool shift) {
    int y = 0, m = 0, d = 0;
    month.getDate(&y, &m, &d);
    const int day = dueDay > 0 ? dueDay : (QDate(y, m, 1) >= kDueOn15th ? 15 : 10);
    if (++m > 12) {
        m = 1;
        ++y;
    }
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int last = kDays[m - 1] + (m == 2 && QDate::isLeapYear(y) ? 1 : 0);
    const QDate due(y, m, std::min(day, last));
    return shift ? law::deadlineFrom(due) : due;
}

HousingResult calculateHousing(const PeriodInput &in, bool lines) {
    const QDate calculated = in.filed;
    if (!calculated.isValid()) throw AppError(QStringLiteral("Не задана дата расчета"));
    if (!in.increases.isEmpty())
        throw AppError(QStringLiteral("Увеличения долга не применяются к пеням за ЖКУ: внесите "
                                      "их как начисления за месяц"));
    if (in.dueDay < 0 || in.dueDay > 31)
        throw AppError(QStringLiteral("День оплаты %1: нужно число от 1 до 31").arg(in.dueDay));
    if (const QString many = entryCountProblem(in.charges.size() + in.payments.size(),
                                               QStringLiteral("начислений и оплат"));
        !many.isEmpty())
        throw AppError(QStringLiteral("В расчете %1").arg(many));
    const RatesByDay rates = ratesByDay(in.rates);
    if (rates.empty())
        throw AppError(QStringLiteral("В таблице ставок нет ни одной ставки для расчета"));
    HousingResult r;
    const QDate oldest = rates.begin()->first;
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
    // Each bill a debt: it exists from the first day of the next month,
    // its claim arose in its month, it is overdue from the day after its due date.
    if (byMonth.empty())
        throw AppError(in.charges.isEmpty()
                           ? QStringLiteral("Начислений нет: начислять пени не на что")
                           : QStringLiteral("Все начисления — за месяцы, счета за которые "
                                            "выставляются позже даты расчета %1")
                                 .arg(dateText(calculated)));
    QList<Debt> debts;
    std::map<QDate, int> billOf;
    for (const auto &[month, amount] : byMonth) {
        const QDate due = billDueDate(month, in.dueDay, in.shift);
        if (in.shift && !law::calendarInUse().covers(due.year())) r.pastCalendar = true;
        billOf[month] = int(debts.size());
        debts.append({amount, due.addDays(1), month.addMonths(1), month.addMonths(1).addDays(-1)});
        r.bills.append({month, amount, due, {}, {}, {}, 0, amount});
    }

    // Payments by date, each to the bill it names first.
    QList<Payment> sorted = in.payments;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto &a, const auto &b) { return a.date < b.date; });
    QList<Paid> payments;
    for (const Payment &p : sorted) {
        const qint64 amount = kopecks(p, false);
        if (p.date > calculated) {
            r.leftOut << QStringLiteral("оплата %1: %2 руб. (позже даты расчета)")
                             .arg(dateText(p.date), kopecksText(amount));
            continue;
        }
        r.paid = addWithinLimit(r.paid, amount, QStringLiteral("Оплачено"));
        const auto named = p.month.isValid() ? billOf.find(firstOfMonth(p.month)) : billOf.end();
        // A payment for a month with no bill is the user's mistake, never
        // quietly given to the oldest bill.
        if (p.month.isValid() && named == billOf.end())
            throw AppError(QStringLiteral("Оплата %1 за %2: начисления за этот месяц нет")
                               .arg(dateText(p.date), monthText(p.month)));
        payments.append({p.date, amount, named == billOf.end() ? -1 : named->second});
    }
    const Allocation allocation = allocate(debts, payments);
    r.advance = allocation.advance;
    for (const Allocation::Part &p : allocation.parts)
        (p.payment < 0 ? r.bills[p.debt].ahead : r.bills[p.debt].paid).append({p.day, p.amount});

    // The count: the housing basis (nothing for 30 days, 1/300 to day 90,
    // 1/130 from day 91, the rate capped in 2022–2026), 1/300 from the first
    // day for bills due before 2016; the windows of 2020 and 2022, the latter
    // for bills up to March 2022.
    const Preset *basis =
        presetNamed(in.basis.isEmpty() ? QStringView(u"housing") : QStringView(in.basis));
    if (!basis || !countedByBills(*basis))
        throw AppError(
            QStringLiteral("Основание \"%1\" не считается по начислениям за месяц").arg(in.basis));
    const bool housing = basis->name == std::string_view("housing");
    if (!housing) r.article = QString::fromUtf8(basis->article);
    const bool oneDate = in.rateDay == RateDay::OneDate && in.rateDate.isValid();
    CountRules rules = presetRules(*basis, oneDate ? in.rateDate : calculated, false);
    rules.rateDay = in.rateDay;
    if (basis->free2020 && in.moratorium2020) rules.windows.append(window2020());
    if (in.moratorium)
        rules.windows.append(
            {kMoratoriumStart, kMoratoriumEnd, kLast2022Bill.addMonths(1).addDays(-1)});
    const QList<Step> steps = rules.steps;
    const QList<Step> oldSteps = {{1, Step::Fraction, 300}};
    QDate earliest;
    for (qsizetype i = 0; i < r.bills.size(); ++i) {
        HousingBill &b = r.bills[i];
        b.left = allocation.left[i];
        rules.steps = housing && b.due < kOneRuleBefore ? oldSteps : steps;
        countAccount(rules, rates, debts, allocation, payments, {int(i)}, calculated, b.rows,
                     b.penalty, QStringLiteral("Сумма пеней"), &earliest);
        r.penalty = addWithinLimit(r.penalty, b.penalty, QStringLiteral("Сумма пеней"));
        r.debt += b.left; // no more than was charged
    }
    if (earliest.isValid() && earliest < oldest) r.tableStart = oldest;
    addWithinLimit(r.debt, r.penalty, QStringLiteral("ИТОГО"));
    r.fee = claimFeeKopecks(in, r.debt + r.penalty, &r.feeExemption);
    if (lines) r.lines = housingLines(r, calculated);
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
    r.feeExemption = housing->feeExemption;
    r.lines = housing->lines;
    qsizetype rows = 0;
    for (const HousingBill &b : housing->bills)
        rows += b.rows.size() + b.ahead.size() + b.paid.size() + 2;
    r.rows.reserve(rows);
    for (const HousingBill &b : housing->bills) {
        qint64 left = b.charged;
        r.rows.append({PeriodRow::Bill, b.month, b.due, b.charged, 0, {}, 0, b.charged});
        for (const auto &[day, amount] : b.ahead)
            r.rows.append({PeriodRow::Advance, day, day, left -= amount, 0, {}, 0, amount});
        for (const auto &[day, amount] : b.paid)
            r.rows.append({PeriodRow::Payment, day, day, left -= amount, 0, {}, 0, amount});
        r.rows += b.rows;
        r.rows.append({PeriodRow::BillTotal, b.month, b.due, b.left, 0, {}, 0, b.penalty});
    }
    r.tableStart = housing->tableStart;
    r.housing = std::move(housing);
    return r;
}

} // namespace calc
