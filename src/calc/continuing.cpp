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

// The day whose rate a day's charge goes by: the one date's; for a basis
// whose unpaid part goes at the filing date's rate, that date; else the day.
QDate rateDayOf(const CountRules &rules, QDate day) {
    const bool dated = rules.rateDay == RateDay::OneDate || rules.rateDay == RateDay::Payment;
    return dated && rules.rateDate.isValid() ? rules.rateDate : day;
}

// The rate of `day` (or of the one date), its caps applied; the own rate of a
// percent a day.
Decimal rateOf(const CountRules &rules, const RatesByDay &rates, QDate day) {
    const Era *era = rules.eraOn(day);
    if (era && era->ownRate) return *era->ownRate;
    if (rules.ownRate) return *rules.ownRate;
    const QDate rateDay = rateDayOf(rules, day);
    bool lowered = false;
    return rules.capped(rateInForce(rates, rateDay), day, rateDay, lowered);
}

// The rule of art. 395 in force on `day`: the refinancing rate to
// 31.05.2015, the average deposit rates to 31.07.2016, the key rate since.
QString statutoryRuleOn(QDate day) {
    if (day < kDepositRatesFrom)
        return QStringLiteral("по ставке рефинансирования Банка России, действующей в "
                              "соответствующие периоды");
    if (day <= kDepositRatesUntil)
        return QStringLiteral("по средним ставкам банковского процента по вкладам физических лиц, "
                              "действующим в месте нахождения кредитора в соответствующие периоды");
    return QStringLiteral("по ключевой ставке Банка России, действующей в соответствующие периоды");
}

} // namespace

QString keyRateOf(QDate day) {
    return day < kKeyRateNamedFrom ? QStringLiteral("ставки рефинансирования")
                                   : QStringLiteral("ключевой ставки");
}

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
    const QDate rateDay = rateDayOf(rules, from);
    if (debts.size() > 1 || step->kind == Step::Nothing)
        line = head + QStringLiteral("по долям %1 по дням просрочки (на %2: %3)")
                          .arg(keyRateOf(from), dateText(from), perDay);
    else if (step->kind == Step::Daily)
        line = head + QStringLiteral("%1% в день: %2").arg(rateText(rate), perDay);
    else if (rules.rateDay == RateDay::OneDate && rules.rateDate.isValid())
        line =
            head + QStringLiteral("в размере 1/%1 %2 на %3 (%4%): %5")
                       .arg(step->fraction)
                       .arg(keyRateOf(rateDay), dateText(rules.rateDate), rateText(rate), perDay);
    else if (step->kind == Step::YearDays)
        line = head + statutoryRuleOn(from) +
               QStringLiteral(" (на %1 — %2%: %3)").arg(dateText(from), rateText(rate), perDay);
    else
        line = head +
               QStringLiteral("в размере 1/%1 %2 ").arg(step->fraction).arg(keyRateOf(rateDay)) +
               (rules.rateDay == RateDay::Payment ? QStringLiteral("на день оплаты") : inForce) +
               QStringLiteral(" (на %1 — %2%: %3)").arg(dateText(rateDay), rateText(rate), perDay);
    if (left) line += QStringLiteral(", всего не более %1 руб.").arg(kopecksText(*left));
    return line;
}

} // namespace calc
