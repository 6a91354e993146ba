// SPDX-License-Identifier: GPL-3.0-or-later
// Report lines are joined from many pieces: one allocation each, not one a piece.
#define QT_USE_QSTRINGBUILDER
#include "periodinterest.h"

#include "claimfields.h"
#include "common/apperror.h"
#include "common/dates.h"
#include "engine.h"
#include "housing.h"
#include "money.h"
#include "penalty.h"
#include "presets.h"
#include "userwindows.h"

#include <algorithm>

namespace calc {

bool moratoriumCovers(QDate arose) {
    return arose <= kMoratoriumStart;
}

namespace {

QDate mainArose(const PeriodInput &in) {
    return in.arose.isValid() ? in.arose : in.start;
}

QDate increaseArose(const Payment &p) {
    return p.arose.isValid() ? p.arose : p.date;
}

} // namespace

bool moratoriumMayCover(const PeriodInput &claim) {
    if (const Preset *own = claim.basis.isEmpty() ? nullptr : presetNamed(claim.basis);
        own && !own->moratorium) // wages, alimony, 317.1: no moratorium holds
        return false;
    if (claim.count == PeriodCount::Housing) // bills for months up to March 2022
        return std::any_of(claim.charges.cbegin(), claim.charges.cend(), [](const Charge &c) {
            return c.month.isValid() && c.month.addMonths(1) <= kMoratoriumStart;
        });
    if (moratoriumCovers(mainArose(claim))) return true;
    for (const Payment &p : claim.increases)
        if (moratoriumCovers(increaseArose(p))) return true;
    return false;
}

namespace {

// A payment or an increase in kopecks; an increase also says the day its
// claim arose (for the moratorium).
struct Dated {
    QDate day;
    qint64 amount = 0;
    QDate arose;
};

// Step one: the claim checked and read into exact numbers.
struct CheckedClaim {
    qint64 debt = 0;
    QList<Dated> payments, increases; // by day, a day's as entered
    Decimal daily;                    // Contractual: % a day
    RatesByDay rates;                 // the table, oldest first
    std::optional<Decimal> capShare;  // Contractual: the total at most this share of the debt
    std::optional<qint64> capKopecks; // or at most this
    qint64 price = 0, fulfilled = 0;  // the supplier's: the debt is the price less the fulfilled
};

// The terms only some counts take, each refused elsewhere: the contractual
// penalty's cap, the wages' share by contract, the supplier's part done.
void checkTerms(const PeriodInput &in, CheckedClaim &c) {
    if (!in.capPercent.isEmpty() || !in.capAmount.isEmpty()) {
        if (in.count != PeriodCount::Contractual || !in.basis.isEmpty())
            throw AppError(QStringLiteral("Предел неустойки задается только для договорной "
                                          "неустойки (% в день)"));
        if (!in.capPercent.isEmpty() && !in.capAmount.isEmpty())
            throw AppError(QStringLiteral("Предел неустойки: либо процент долга, либо сумма в "
                                          "рублях, а не оба"));
    }
    if (!in.capPercent.isEmpty()) {
        Decimal share;
        if (!readDecimal(in.capPercent, kMaxRateDigits, share) || share.digits <= 0)
            throw AppError(QStringLiteral("Предел неустойки \"%1\" не читается как процент "
                                          "долга больше нуля")
                               .arg(in.capPercent));
        share.scale += 2; // a percent of the debt as a share of it
        c.capShare = share;
    }
    if (qint64 most = 0; !in.capAmount.isEmpty()) {
        if (!readKopecks(in.capAmount, most) || most <= 0)
            throw AppError(QStringLiteral("Предел неустойки \"%1\" не читается как сумма в "
                                          "рублях больше нуля")
                               .arg(in.capAmount));
        c.capKopecks = most;
    }
    if (in.contractFraction != 0 && !basisTakes(in.basis, PresetTerm::ContractShare))
        throw AppError(QStringLiteral("Доля ключевой ставки по договору задается только для "
                                      "компенсации за задержку зарплаты"));
    if (in.contractFraction != 0 &&
        (in.contractFraction < kMinFraction || in.contractFraction >= kWagesFraction))
        throw AppError(QStringLiteral("Доля ключевой ставки по договору 1/%1: договор может "
                                      "только повысить компенсацию, нужно N от %2 до %3")
                           .arg(in.contractFraction)
                           .arg(kMinFraction)
                           .arg(kWagesFraction - 1));
    c.price = c.debt;
    if (in.fulfilled.isEmpty()) return;
    if (!basisTakes(in.basis, PresetTerm::FulfilledPart))
        throw AppError(QStringLiteral("Исполненная часть контракта задается только для пеней "
                                      "поставщика (ч. 7 ст. 34 44-ФЗ)"));
    if (!readKopecks(in.fulfilled, c.fulfilled) || c.fulfilled > c.debt)
        throw AppError(QStringLiteral("Исполнено \"%1\": нужна сумма в рублях, не больше цены "
                                      "контракта %2 руб.")
                           .arg(in.fulfilled, kopecksText(c.debt)));
    c.debt -= c.fulfilled;
}

// What is wrong with an entry (empty: nothing); its kopecks in `amount`.
QString entryProblem(const Payment &p, QDate start, QDate end, PeriodRow::Kind kind,
                     qint64 &amount) {
    const bool payment = kind == PeriodRow::Payment;
    if (!p.date.isValid() || p.date < start || p.date > end)
        return QStringLiteral("%1 %2 лежит вне периода просрочки с %3 по %4")
            .arg(payment ? QStringLiteral("Оплата") : QStringLiteral("Увеличение долга"),
                 dateText(p.date), dateText(start), dateText(end));
    if (p.month.isValid())
        return QStringLiteral("Оплата %1: месяц, за который она внесена, указывается только в "
                              "пенях за ЖКУ")
            .arg(dateText(p.date));
    if (!payment && p.arose.isValid() && (p.arose > p.date || p.arose < kEarliestDate))
        return QStringLiteral("Увеличение долга %1: дата возникновения %2 должна быть не позже "
                              "%1 и не раньше %3")
            .arg(dateText(p.date), dateText(p.arose), dateText(kEarliestDate));
    if (!readKopecks(p.amount, amount) || amount <= 0)
        return QStringLiteral("%1 %2 \"%3\" не читается как сумма в рублях больше нуля, не больше "
                              "10^15 руб.")
            .arg(payment ? QStringLiteral("Сумма оплаты")
                         : QStringLiteral("Сумма увеличения долга"),
                 dateText(p.date), p.amount);
    return {};
}

QList<Dated> datedAmounts(const QList<Payment> &list, const PeriodInput &in, PeriodRow::Kind kind) {
    QList<Dated> out;
    out.reserve(list.size());
    for (const Payment &p : list) {
        qint64 amount = 0;
        if (const QString problem = entryProblem(p, in.start, in.end, kind, amount);
            !problem.isEmpty())
            throw AppError(problem);
        out.append({p.date, amount, increaseArose(p)});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const Dated &a, const Dated &b) { return a.day < b.day; });
    return out;
}

CheckedClaim check(const PeriodInput &in) {
    CheckedClaim c;
    if (!readKopecks(in.debt, c.debt))
        throw AppError(QStringLiteral("Сумма долга \"%1\" не подходит для расчета по периодам: "
                                      "нужна сумма в рублях с копейками, не больше 10^15 руб.")
                           .arg(in.debt));
    if (!in.start.isValid() || !in.end.isValid() || in.end < in.start)
        throw AppError(QStringLiteral("Конец периода раньше начала: с %1 по %2")
                           .arg(dateText(in.start), dateText(in.end)));
    if (!in.charges.isEmpty())
        throw AppError(QStringLiteral("Начисления за месяц считаются только в пенях за ЖКУ: "
                                      "выберите это основание или удалите начисления"));
    if (const QString many = entryCountProblem(in.payments.size() + in.increases.size());
        !many.isEmpty())
        throw AppError(QStringLiteral("В расчете %1").arg(many));
    c.payments = datedAmounts(in.payments, in, PeriodRow::Payment);
    c.increases = datedAmounts(in.increases, in, PeriodRow::Increase);
    if (in.arose.isValid() && (in.arose > in.start || in.arose < kEarliestDate))
        throw AppError(QStringLiteral("Основной долг: дата возникновения %1 должна быть не позже "
                                      "%2 и не раньше %3")
                           .arg(dateText(in.arose), dateText(in.start), dateText(kEarliestDate)));
    checkTerms(in, c);
    checkUserWindows(in.windows, in.start, in.end);
    if (c.debt == 0 && c.increases.empty())
        throw AppError(
            QStringLiteral("Долг 0,00 руб. и увеличений долга нет: начислять не на что"));
    // The debt at its largest: the start and every increase, payments aside.
    qint64 most = c.debt;
    for (const Dated &raised : c.increases)
        most = addWithinLimit(most, raised.amount, QStringLiteral("Долг с увеличениями"));
    if (!in.basis.isEmpty() && !presetNamed(in.basis))
        throw AppError(QStringLiteral("Неизвестное основание расчета \"%1\"").arg(in.basis));
    const bool own = !in.basis.isEmpty(); // a basis with rates of its own
    if (!own && in.count == PeriodCount::Contractual && in.dailyPercent.trimmed().isEmpty())
        throw AppError(QStringLiteral("Не задана неустойка, % в день"));
    if (!own && in.count == PeriodCount::Contractual &&
        !readDecimal(in.dailyPercent, kMaxRateDigits, c.daily))
        throw AppError(
            QStringLiteral("Неустойка \"%1\" не читается как процент в день").arg(in.dailyPercent));
    if (in.count == PeriodCount::KeyFraction &&
        (in.fraction < kMinFraction || in.fraction > kMaxFraction))
        throw AppError(QStringLiteral("Доля ключевой ставки 1/%1: нужно целое число от %2 до %3")
                           .arg(in.fraction)
                           .arg(kMinFraction)
                           .arg(kMaxFraction));
    c.rates = ratesByDay(in.rates);
    if (c.rates.empty() && usesRateTable(in.count))
        throw AppError(QStringLiteral("В таблице ставок нет ни одной ставки для расчета"));
    return c;
}

// Step two: the claim as the engine's debts, payments and count, counted:
// the pieces, payments, increases and the moratorium's days as rows.
void countRows(const PeriodInput &in, const CheckedClaim &c, PeriodResult &r) {
    CountRules rules;
    // The report always showed a piece end at every table entry and new year.
    rules.cutAtEveryChange = true;
    rules.eventRows = true;
    const Preset *own = in.basis.isEmpty() ? nullptr : presetNamed(in.basis);
    if (own) {
        // A basis of its own: its rules, the moratorium where it holds and
        // the user did not lift it; pieces as maximal runs.
        const bool oneDate = own->rateDay == RateDay::OneDate && in.rateDate.isValid();
        rules =
            presetRules(*own, oneDate ? in.rateDate : in.filed, in.moratorium && own->moratorium);
        rules.eventRows = true;
        if (in.contractFraction) { // the contract's share throughout: more than the law's
            rules.steps = {{1, Step::Fraction, in.contractFraction}};
            rules.eras.clear();
        }
    } else
        switch (in.count) {
        case PeriodCount::Contractual:
            rules.steps = {{1, Step::Daily}};
            rules.ownRate = c.daily;
            rules.totalCap = c.capShare;
            rules.totalCapKopecks = c.capKopecks;
            break;
        case PeriodCount::KeyFraction:
            rules.steps = {{1, Step::Fraction, in.fraction}};
            rules.rateDay = in.rateDate.isValid() ? RateDay::OneDate : RateDay::EachDay;
            rules.rateDate = in.rateDate;
            break;
        default:
            rules.steps = {{1, Step::YearDays}};
            break;
        }
    // Claims that arose by its first day (a debt overdue from 01.04.2022
    // arose by 31.03.2022).
    if (!own && in.moratorium)
        rules.windows = {{kMoratoriumStart, kMoratoriumEnd, kMoratoriumStart}};
    addUserWindows(in.windows, rules);
    if (usesRateTable(in.count) && !c.rates.empty()) {
        const QDate oldest = c.rates.begin()->first;
        if (rules.rateDay == RateDay::OneDate ? in.rateDate < oldest : in.start < oldest)
            r.tableStart = oldest;
    }

    QList<Debt> debts{{c.debt, in.start, in.start, mainArose(in), false}};
    QList<int> account{0};
    debts.reserve(in.increases.size() + 1);
    account.reserve(in.increases.size() + 1);
    for (const Dated &raised : c.increases) {
        account.append(int(debts.size()));
        debts.append({raised.amount, raised.day, raised.day, raised.arose, true});
    }
    QList<Paid> payments;
    payments.reserve(c.payments.size());
    for (const Dated &paid : c.payments)
        payments.append({paid.day, paid.amount});
    const Allocation allocation = allocate(debts, payments);
    countAccount(rules, c.rates, debts, allocation, payments, account, in.end, r.rows, r.interest,
                 QStringLiteral("Сумма процентов"));
    if (in.count == PeriodCount::Statutory)
        r.depositRateSpan = std::any_of(r.rows.cbegin(), r.rows.cend(), [](const PeriodRow &row) {
            return row.kind == PeriodRow::Piece && row.from <= kDepositRatesUntil &&
                   row.to >= kDepositRatesFrom;
        });
    r.days = int(in.start.daysTo(in.end)) + 1;
    for (qint64 left : allocation.unpaid)
        r.remaining += left; // no more than the debt with its increases
    // What a supplier did not deliver is no money owed: the claim is the penalty.
    if (basisTakes(in.basis, PresetTerm::FulfilledPart)) r.remaining = 0;
    addWithinLimit(r.remaining, r.interest, QStringLiteral("ИТОГО"));
    r.fee = claimFeeKopecks(in, r.remaining + r.interest, &r.feeExemption);
}

// What a piece came to under a cap on the total, when it cut it.
QString cappedPhrase(const PeriodRow &row) {
    if (row.uncapped <= 0) return {};
    return QStringLiteral(", с учетом предела — ") % kopecksText(row.amount) %
           QStringLiteral(" руб.");
}

// Step three: the report's lines, one a row, between the heading and the totals.
void writeLines(const PeriodInput &in, const CheckedClaim &c, PeriodResult &r) {
    QString heading = QStringLiteral("Расчет по периодам (ст. 395 ГК РФ)");
    QString result = QStringLiteral("Сумма процентов");
    if (const Preset *own = in.basis.isEmpty() ? nullptr : presetNamed(in.basis)) {
        // "Расчет неустойки по п. 5 ст. 28 …": what is counted, by what law.
        result = QString::fromUtf8(own->total);
        heading = QStringLiteral("Расчет ") + result.mid(6) + QStringLiteral(" по ") +
                  QString::fromUtf8(own->article);
        if (in.contractFraction)
            heading +=
                QStringLiteral(" (1/%1 ключевой ставки по договору)").arg(in.contractFraction);
        if (c.fulfilled)
            heading +=
                QStringLiteral(" (цена %1 руб. − исполнено %2 руб. = %3 руб.)")
                    .arg(kopecksText(c.price), kopecksText(c.fulfilled), kopecksText(c.debt));
    } else if (in.count == PeriodCount::Contractual) {
        const QString cap =
            c.capShare ? QStringLiteral(", не более %1% долга")
                             .arg(rateText({c.capShare->digits, c.capShare->scale - 2}))
            : c.capKopecks ? QStringLiteral(", не более %1 руб.").arg(kopecksText(*c.capKopecks))
                           : QString();
        heading = QStringLiteral("Расчет неустойки по периодам (%1% в день%2)")
                      .arg(rateText(c.daily), cap);
        result = QStringLiteral("Сумма неустойки");
    } else if (in.count == PeriodCount::KeyFraction) {
        heading =
            QStringLiteral("Расчет пеней по периодам (1/%1 ключевой ставки)").arg(in.fraction);
        result = QStringLiteral("Сумма пеней");
    }
    r.lines.reserve(r.rows.size() + 4);
    r.lines << heading % QStringLiteral(": с ") % dateText(in.start) % QStringLiteral(" по ") %
                   dateText(in.end) % QStringLiteral(" = ") % QString::number(r.days) %
                   QStringLiteral(" дн.");
    for (const PeriodRow &row : r.rows) {
        switch (row.kind) {
        case PeriodRow::Piece:
            // One expression, one allocation: the report is most of the time.
            r.lines << QStringLiteral("с ") % dateText(row.from) % QStringLiteral(" по ") %
                           dateText(row.to) % QStringLiteral(": ") % kopecksText(row.debt) %
                           QStringLiteral(" * ") % QString::number(row.days) %
                           QStringLiteral(" дн. * ") % row.rate %
                           (row.divisor > 0 ? QStringLiteral("% / ") + QString::number(row.divisor)
                                            : QStringLiteral("%")) %
                           QStringLiteral(" = ") %
                           kopecksText(row.uncapped > 0 ? row.uncapped : row.amount) %
                           QStringLiteral(" руб.") % cappedPhrase(row);
            break;
        case PeriodRow::Moratorium:
            r.lines << QStringLiteral("с ") % dateText(row.from) % QStringLiteral(" по ") %
                           dateText(row.to) % QStringLiteral(": ") %
                           windowPhrase(row, in.count, row.partial ? row.debt : 0);
            break;
        case PeriodRow::Increase:
            r.lines << QStringLiteral("долг увеличен ") % dateText(row.from) %
                           QStringLiteral(": ") % kopecksText(row.amount) %
                           QStringLiteral(" руб.") % overpaidPhrase(row) %
                           QStringLiteral(", долг ") % kopecksText(row.debt) %
                           QStringLiteral(" руб.");
            break;
        case PeriodRow::Bill: // housing bills are told by their own report
        case PeriodRow::Advance:
        case PeriodRow::BillTotal:
            break;
        case PeriodRow::Payment:
            r.lines << QStringLiteral("оплата ") % dateText(row.from) % QStringLiteral(": ") %
                           kopecksText(row.amount) % QStringLiteral(" руб., остаток долга ") %
                           kopecksText(row.debt) % QStringLiteral(" руб.") % overpaidPhrase(row);
            break;
        }
    }
    r.lines << result % QStringLiteral(": ") % kopecksText(r.interest) % QStringLiteral(" руб.");
    r.lines << QStringLiteral("ИТОГО: %1 + %2 = %3 руб.")
                   .arg(kopecksText(r.remaining), kopecksText(r.interest),
                        kopecksText(r.remaining + r.interest));
    r.lines << feeLine(r.fee, r.feeExemption);
}

} // namespace

QString periodEntryProblem(const Payment &entry, QDate start, QDate end, PeriodRow::Kind kind) {
    qint64 amount = 0;
    return entryProblem(entry, start, end, kind, amount);
}

PeriodInput periodClaimOf(const CalcInput &claim, const QList<RatePoint> &rates) {
    PeriodInput in;
    in.debt = claim.debtText;
    in.start = claim.start;
    in.end = claim.end;
    in.court = claim.court;
    in.filed = claim.filed;
    in.rates = rates;
    return in;
}

PeriodResult calculatePeriods(const PeriodInput &in) {
    if (in.count == PeriodCount::Housing) return housingPeriods(in);
    const CheckedClaim checked = check(in);
    PeriodResult r;
    countRows(in, checked, r);
    writeLines(in, checked, r);
    return r;
}

} // namespace calc
