// SPDX-License-Identifier: GPL-3.0-or-later
#include "housing.h"

#include "claimfields.h"
#include "common/apperror.h"
#include "common/dates.h"
#include "continuing.h"
#include "engine.h"
#include "law/calendar.h"
#include "money.h"
#include "presets.h"
#include "userwindows.h"

#include <algorithm>
#include <map>
#include <memory>
#include <string_view>

namespace calc {
namespace {

// Bills from February 2026 on are due on the 15th (ч. 1 ст. 155 ЖК РФ as
// amended by 177-ФЗ of 24.06.2025, in force 01.03.2026; the Ministry of
// Construction's letter of 20.02.2026 № 9202-ДН/04: the February bill is
// due 15.03.2026, moved to 16.03.2026).
const QDate kDueOn15th{2026, 2, 1};

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

namespace {

void checkHousingInput(const PeriodInput &in) {
    if (!in.filed.isValid()) throw AppError(QStringLiteral("Не задана дата расчета"));
    if (!in.increases.isEmpty())
        throw AppError(QStringLiteral("Увеличения долга не применяются к пеням за ЖКУ: внесите "
                                      "их как начисления за месяц"));
    if (in.dueDay < 0 || in.dueDay > 31)
        throw AppError(QStringLiteral("День оплаты %1: нужно число от 1 до 31").arg(in.dueDay));
    if (const QString many = entryCountProblem(in.charges.size() + in.payments.size(),
                                               QStringLiteral("начислений и оплат"));
        !many.isEmpty())
        throw AppError(QStringLiteral("В расчете %1").arg(many));
    // The days counted: from the first bill's month to the calculation date.
    QDate first = in.filed;
    for (const Charge &c : in.charges)
        first = std::min(first, c.month.addDays(1 - c.month.day()));
    checkUserWindows(in.windows, first, in.filed);
}

qint64 entryKopecks(const Payment &entry, bool charge) {
    qint64 k = 0;
    if (const QString problem = entryProblem(entry, charge, k); !problem.isEmpty())
        throw AppError(problem);
    return k;
}

// The bills, a month each (a month's charges together); a bill exists from
// the first day of the next month, so one after the calculation date is left
// out and said.
std::map<QDate, qint64> chargesByMonth(const PeriodInput &in, HousingResult &r) {
    std::map<QDate, qint64> byMonth;
    for (const Charge &c : in.charges) {
        const qint64 amount = entryKopecks({c.month, c.amount}, true);
        const QDate month = firstOfMonth(c.month);
        if (month.addMonths(1) > in.filed) {
            r.leftOut << QStringLiteral("начисление за %1: %2 руб. (счет позже даты расчета)")
                             .arg(monthText(month), kopecksText(amount));
            continue;
        }
        byMonth[month] = addWithinLimit(byMonth[month], amount, QStringLiteral("Начислено"));
        r.charged = addWithinLimit(r.charged, amount, QStringLiteral("Начислено"));
    }
    if (byMonth.empty())
        throw AppError(in.charges.isEmpty()
                           ? QStringLiteral("Начислений нет: начислять пени не на что")
                           : QStringLiteral("Все начисления — за месяцы, счета за которые "
                                            "выставляются позже даты расчета %1")
                                 .arg(dateText(in.filed)));
    return byMonth;
}

// The bills and what the engine counts of them.
struct Bills {
    QList<Debt> debts;
    std::map<QDate, int> ofMonth; // each month's bill
};

// Each bill a debt: it exists from the first day of the next month, its
// claim arose in its month, it is overdue from the day after its due date.
Bills makeBills(const std::map<QDate, qint64> &byMonth, const PeriodInput &in, HousingResult &r) {
    Bills bills;
    for (const auto &[month, amount] : byMonth) {
        const QDate due = billDueDate(month, in.dueDay, in.shift);
        if (in.shift && !law::calendarInUse().covers(due.year())) r.pastCalendar = true;
        bills.ofMonth[month] = int(bills.debts.size());
        bills.debts.append({.amount = amount,
                            .first = due.addDays(1),
                            .arises = month.addMonths(1),
                            .arose = month.addMonths(1).addDays(-1)});
        r.bills.append({.month = month, .charged = amount, .due = due, .unpaid = amount});
    }
    return bills;
}

// Payments by date, each to the bill it names first; one after the
// calculation date is left out and said.
QList<Paid> billPayments(const PeriodInput &in, const Bills &bills, HousingResult &r) {
    QList<Payment> sorted = in.payments;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const auto &a, const auto &b) { return a.date < b.date; });
    QList<Paid> payments;
    for (const Payment &p : sorted) {
        const qint64 amount = entryKopecks(p, false);
        if (p.date > in.filed) {
            r.leftOut << QStringLiteral("оплата %1: %2 руб. (позже даты расчета)")
                             .arg(dateText(p.date), kopecksText(amount));
            continue;
        }
        r.paid = addWithinLimit(r.paid, amount, QStringLiteral("Оплачено"));
        const auto named =
            p.month.isValid() ? bills.ofMonth.find(firstOfMonth(p.month)) : bills.ofMonth.end();
        // A payment for a month with no bill is the user's mistake, never
        // quietly given to the oldest bill.
        if (p.month.isValid() && named == bills.ofMonth.end())
            throw AppError(QStringLiteral("Оплата %1 за %2: начисления за этот месяц нет")
                               .arg(dateText(p.date), monthText(p.month)));
        addPayment(payments, {p.date, amount, named == bills.ofMonth.end() ? -1 : named->second});
    }
    return payments;
}

// The count: the basis's row (for housing: nothing for 30 days, 1/300 to
// day 90, 1/130 from day 91, the rate capped in 2022–2026, the windows of
// 2020 and 2022), by the rate day the user chose.
CountRules billRules(const PeriodInput &in, const Preset &basis) {
    const bool oneDate = in.rateDay == RateDay::OneDate && in.rateDate.isValid();
    CountRules rules =
        presetRules(basis, oneDate ? in.rateDate : in.filed, in.moratorium, in.moratorium2020);
    rules.rateDay = in.rateDay;
    addUserWindows(in.windows, rules);
    return rules;
}

const Preset &billBasis(const PeriodInput &in) {
    const Preset *basis = presetOf(in);
    if (!basis || !basis->monthlyBills)
        throw AppError(
            QStringLiteral("Основание \"%1\" не считается по начислениям за месяц").arg(in.basis));
    return *basis;
}

// Each bill's pieces, penalty and what is unpaid; for housing, bills due
// before 2016 at 1/300 from the first day. Returns the earliest day whose
// rate a piece took.
QDate countBills(const PeriodInput &in, const Preset &basis, const RatesByDay &rates,
                 const Bills &bills, const QList<Paid> &payments, HousingResult &r) {
    const Allocation allocation = allocate(bills.debts, payments);
    r.advance = allocation.advance;
    for (const Allocation::Part &p : allocation.parts)
        (p.payment < 0 ? r.bills[p.debt].advancePaid : r.bills[p.debt].paid)
            .append({p.day, p.amount});
    CountRules rules = billRules(in, basis);
    QDate earliest;
    for (qsizetype i = 0; i < r.bills.size(); ++i) {
        HousingBill &b = r.bills[i];
        b.unpaid = allocation.unpaid[i];
        rules.steps = billSteps(basis, b.due);
        countAccount(rules, rates, bills.debts, allocation, payments, {int(i)}, in.filed, b.rows,
                     b.penalty, QStringLiteral("Сумма пеней"), &earliest);
        r.penalty = addWithinLimit(r.penalty, b.penalty, QStringLiteral("Сумма пеней"));
        r.debt += b.unpaid; // no more than was charged
    }
    return earliest;
}

// "1/300 ключевой ставки на день оплаты (на 01.12.2024 — 9,5%: 1,58 руб. в
// день)", or after the first "1/130 (3,65 руб. в день)": a share of the rate
// and what it comes to a day on `unpaid`.
QString shareADay(int fraction, const QString &rateRule, qint64 unpaid, Decimal rate) {
    const QString perDay = kopecksText(pieceInterest(unpaid, 1, rate, fraction));
    if (rateRule.isEmpty())
        return QStringLiteral("1/%1 (%2 руб. в день)").arg(fraction).arg(perDay);
    return QStringLiteral("1/%1 %2: %3 руб. в день)").arg(fraction).arg(rateRule, perDay);
}

// "и далее" for bills: the article and the sum it runs on; for one bill its
// share now and the step ahead (or, within the days of grace, the day the
// penalty starts); for several, each share on the sum of the bills at it,
// rounded once. Empty when nothing is unpaid.
QString billsContinuing(const PeriodInput &in, const Preset &basis, const RatesByDay &rates,
                        const QList<HousingBill> &bills) {
    const CountRules rules = billRules(in, basis);
    const QDate from = in.filed.addDays(1);
    const bool byPayment = rules.rateDay == RateDay::Payment;
    const QDate rateDay = rules.rateDay == RateDay::EachDay ? from : rules.rateDate;
    bool lowered = false;
    const Decimal rate = rules.capped(rateInForce(rates, rateDay), from, rateDay, lowered);
    const QString rateRule =
        QStringLiteral("%1 %2 (на %3 — %4%")
            .arg(keyRateOf(rateDay),
                 byPayment ? QStringLiteral("на день оплаты") : QStringLiteral("на день"),
                 dateText(rateDay), rateText(rate));
    std::map<int, qint64> byShare; // unpaid by the share it accrues at from `from`
    qint64 unpaid = 0;
    const HousingBill *only = nullptr;
    for (const HousingBill &b : bills) {
        if (b.unpaid <= 0) continue;
        unpaid += b.unpaid;
        only = only ? nullptr : &b;
        const Step &step = rules.stepOn(int(b.due.daysTo(from)), from, billSteps(basis, b.due));
        if (step.kind == Step::Fraction) byShare[step.fraction] += b.unpaid;
    }
    if (unpaid <= 0) return {};
    const QString head =
        QStringLiteral(
            "и далее с %1 по день фактической оплаты долга — пени по %2 с долга %3 руб.: ")
            .arg(dateText(from), QString::fromUtf8(basis.article), kopecksText(unpaid));
    if (only) { // its share now, then each step ahead from its day
        const QList<Step> steps = billSteps(basis, only->due);
        const int today = int(only->due.daysTo(from)); // `from`'s day of delay
        QStringList parts;
        for (qsizetype i = 0; i < steps.size(); ++i) {
            const Step &s = steps[i];
            const bool past = i + 1 < steps.size() && steps[i + 1].fromDay <= today;
            if (past || s.kind != Step::Fraction) continue;
            const QString share =
                shareADay(s.fraction, parts.isEmpty() ? rateRule : QString(), only->unpaid, rate);
            parts << (s.fromDay <= today ? share
                                         : QStringLiteral("с %1 — %2")
                                               .arg(dateText(only->due.addDays(s.fromDay)), share));
        }
        return head + parts.join(QStringLiteral(", "));
    }
    qint64 daily = 0;
    QStringList shares;
    for (const auto &[fraction, sum] : byShare) {
        daily += pieceInterest(sum, 1, rate, fraction);
        shares << QStringLiteral("1/%1 с %2 руб.").arg(fraction).arg(kopecksText(sum));
    }
    if (shares.isEmpty()) shares << QStringLiteral("в первые 30 дней просрочки не начисляются");
    return head + QStringLiteral("по дням просрочки каждого счета — %1; %2): %3 руб. в день")
                      .arg(shares.join(QStringLiteral(", ")), rateRule, kopecksText(daily));
}

} // namespace

HousingResult calculateHousing(const PeriodInput &in, bool lines) {
    checkHousingInput(in);
    const RatesByDay rates = ratesByDay(in.rates);
    if (rates.empty())
        throw AppError(QStringLiteral("В таблице ставок нет ни одной ставки для расчета"));
    HousingResult r;
    const Bills bills = makeBills(chargesByMonth(in, r), in, r);
    const QList<Paid> payments = billPayments(in, bills, r);
    const Preset &basis = billBasis(in);
    if (basis.name != std::string_view("housing")) r.article = QString::fromUtf8(basis.article);
    if (basis.capNote) r.capNote = QString::fromUtf8(basis.capNote);
    const QDate earliest = countBills(in, basis, rates, bills, payments, r);
    if (lines && in.continuing) // a ledger's rows have no lines to end
        r.continuing = billsContinuing(in, basis, rates, r.bills);
    if (in.dueDay > 0 && in.dueDay != 15)
        for (const HousingBill &b : r.bills)
            if (b.month >= kDueOn15th) {
                r.dueDayNote =
                    QStringLiteral("День оплаты %1-е указан и для счетов с %2: с 01.03.2026 срок "
                                   "оплаты — 15-е число (ч. 1 ст. 155 ЖК РФ в ред. 177-ФЗ), "
                                   "договор иного срока не устанавливает; расчет — по указанному "
                                   "дню")
                        .arg(in.dueDay)
                        .arg(monthText(kDueOn15th));
                break;
            }
    if (const QDate oldest = rates.begin()->first; earliest.isValid() && earliest < oldest)
        r.tableStart = oldest;
    addWithinLimit(r.debt, r.penalty, QStringLiteral("ИТОГО"));
    r.fee = claimFeeKopecks(in, r.debt + r.penalty, &r.feeExemption, &r.feeByScale);
    if (lines) r.lines = housingLines(r, in.filed);
    return r;
}

PeriodRow billRow(const HousingBill &b) {
    return {.kind = PeriodRow::Bill,
            .from = b.month,
            .to = b.due,
            .debt = b.charged,
            .amount = b.charged};
}

PeriodRow billPaidRow(PeriodRow::Kind kind, QDate day, qint64 amount, qint64 leftAfter) {
    return {.kind = kind, .from = day, .to = day, .debt = leftAfter, .amount = amount};
}

PeriodRow billTotalRow(const HousingBill &b) {
    return {.kind = PeriodRow::BillTotal,
            .from = b.month,
            .to = b.due,
            .debt = b.unpaid,
            .amount = b.penalty};
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
    r.feeByScale = housing->feeByScale;
    r.continuing = housing->continuing;
    r.lines = housing->lines;
    qsizetype rows = 0;
    for (const HousingBill &b : housing->bills)
        rows += b.rows.size() + b.advancePaid.size() + b.paid.size() + 2;
    r.rows.reserve(rows);
    for (const HousingBill &b : housing->bills) {
        qint64 left = b.charged;
        r.rows.append(billRow(b));
        for (const auto &[day, amount] : b.advancePaid)
            r.rows.append(billPaidRow(PeriodRow::Advance, day, amount, left -= amount));
        for (const auto &[day, amount] : b.paid)
            r.rows.append(billPaidRow(PeriodRow::Payment, day, amount, left -= amount));
        r.rows += b.rows;
        r.rows.append(billTotalRow(b));
    }
    r.tableStart = housing->tableStart;
    r.housing = std::move(housing);
    return r;
}

} // namespace calc
