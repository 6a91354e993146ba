// SPDX-License-Identifier: GPL-3.0-or-later
#include "continuing.h"

#include "common/dates.h"

#include <algorithm>

namespace calc {
namespace {

// The first day from `day` on that no window holds for the debt.
QDate firstAccruing(const CountRules &rules, const OpenDebt &d, QDate day) {
    for (bool moved = true; moved;) {
        moved = false;
        for (const Window &w : rules.windows)
            if (day >= w.from && day <= w.to && (w.aroseBy.isNull() || d.arose <= w.aroseBy)) {
                day = w.to.addDays(1);
                moved = true;
            }
    }
    return day;
}

// The rate of `day` (or of the one date), its caps applied; the own rate of a
// percent a day.
Decimal rateOf(const CountRules &rules, const RatesByDay &rates, QDate day) {
    const Era *era = rules.eraOn(day);
    if (era && era->ownRate) return *era->ownRate;
    if (rules.ownRate) return *rules.ownRate;
    const QDate rateDay =
        rules.rateDay == RateDay::OneDate && rules.rateDate.isValid() ? rules.rateDate : day;
    bool lowered = false;
    return rules.capped(rateInForce(rates, rateDay), day, rateDay, lowered);
}

} // namespace

QString chargedBy(const QString &total) {
    static const std::pair<const char16_t *, const char16_t *> kNouns[] = {
        {u"Сумма процентов", u"проценты"},
        {u"Сумма неустойки", u"неустойка"},
        {u"Сумма пеней", u"пени"},
        {u"Сумма компенсации", u"компенсация"}};
    for (const auto &[sum, noun] : kNouns)
        if (total == QStringView(sum)) return QString::fromUtf16(noun);
    return QStringLiteral("проценты");
}

QString continuingLine(const CountRules &rules, const RatesByDay &rates,
                       const QList<OpenDebt> &debts, QDate last, const ContinuingWords &words,
                       std::optional<qint64> left) {
    const QString &noun = words.noun;
    qint64 unpaid = 0, daily = 0;
    QDate from;
    Decimal rate;
    const Step *step = nullptr;
    for (const OpenDebt &d : debts) {
        if (d.unpaid <= 0) continue;
        const QDate day = firstAccruing(rules, d, last.addDays(1));
        from = from.isValid() ? std::min(from, day) : day;
        unpaid += d.unpaid;
        step = &rules.stepOn(int(d.first.daysTo(day)) + 1, day, d.steps);
        if (step->kind == Step::Nothing || (rates.empty() && !rules.ownRate)) continue;
        rate = rateOf(rules, rates, day);
        const int divisor = step->kind == Step::YearDays
                                ? (QDate::isLeapYear(day.year()) ? 366 : 365)
                            : step->kind == Step::Fraction ? step->fraction
                                                           : 1;
        daily += pieceInterest(d.unpaid, 1, rate, divisor);
    }
    if (unpaid <= 0 || !step) return {};
    if (left && *left <= 0)
        return QStringLiteral("и далее %1 не начисляется: достигнут предел").arg(noun);
    const QString head =
        QStringLiteral("и далее с %1 по день %2 — %3 ").arg(dateText(from), words.until, noun);
    const QString perDay = QStringLiteral("%1 руб. в день %2 %3 руб.")
                               .arg(kopecksText(daily), words.base, kopecksText(unpaid));
    const QString inForce = QStringLiteral("Банка России, действующей в соответствующие периоды");
    QString line;
    if (debts.size() > 1 || step->kind == Step::Nothing)
        line = head + QStringLiteral("по долям ключевой ставки по дням просрочки (на %1: %2)")
                          .arg(dateText(from), perDay);
    else if (step->kind == Step::Daily)
        line = head + QStringLiteral("%1% в день: %2").arg(rateText(rate), perDay);
    else if (rules.rateDay == RateDay::OneDate && rules.rateDate.isValid())
        line = head + QStringLiteral("в размере 1/%1 ключевой ставки на %2 (%3%): %4")
                          .arg(step->fraction)
                          .arg(dateText(rules.rateDate), rateText(rate), perDay);
    else
        line = head +
               (step->kind == Step::YearDays
                    ? QStringLiteral("по ключевой ставке ")
                    : QStringLiteral("в размере 1/%1 ключевой ставки ").arg(step->fraction)) +
               (rules.rateDay == RateDay::Payment ? QStringLiteral("на день оплаты") : inForce) +
               QStringLiteral(" (на %1 — %2%: %3)").arg(dateText(from), rateText(rate), perDay);
    if (left) line += QStringLiteral(", всего не более %1 руб.").arg(kopecksText(*left));
    return line;
}

} // namespace calc
