// SPDX-License-Identifier: GPL-3.0-or-later
#include "checkedclaim.h"

#include "claimfields.h"
#include "common/apperror.h"
#include "common/dates.h"
#include "presets.h"
#include "userwindows.h"

#include <algorithm>

namespace calc {
namespace {

QDate increaseArose(const Payment &p) {
    return p.arose.isValid() ? p.arose : p.date;
}

// Motor insurance's insured sum: above nothing and at most 10^9 roubles.
void checkInsuredSum(const PeriodInput &in, CheckedClaim &c) {
    if (in.insuredSum.isEmpty()) return;
    if (!basisTakes(in.basis, PresetTerm::InsuredSum))
        throw AppError(QStringLiteral("Страховая сумма задается только для неустойки страховщика "
                                      "ОСАГО (основание osago)"));
    qint64 kopecks = 0;
    if (!readKopecks(in.insuredSum, kopecks) || kopecks <= 0 || kopecks > kMaxInsuredSum * 100)
        throw AppError(QStringLiteral("Страховая сумма \"%1\": нужна сумма больше 0 и не больше "
                                      "%2 руб.")
                           .arg(in.insuredSum)
                           .arg(kMaxInsuredSum));
    c.capKopecks = kopecks;
}

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
    checkInsuredSum(in, c);
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

} // namespace

CheckedClaim checkClaim(const PeriodInput &in) {
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

QString periodEntryProblem(const Payment &entry, QDate start, QDate end, PeriodRow::Kind kind) {
    qint64 amount = 0;
    return entryProblem(entry, start, end, kind, amount);
}

} // namespace calc
