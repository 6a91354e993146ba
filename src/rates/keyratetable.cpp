// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyratetable.h"

#include "calc/claimfields.h"
#include "calc/numtext.h"
#include "calc/penalty.h"
#include "common/dates.h"
#include "knownrates.h"
#include "periodkey.h"
#include "ratetable.h"

namespace rates {
namespace {

QString changeLine(const RateChange &change) {
    return convertPeriodKey(dateText(change.date)) + u'=' + change.rate;
}

} // namespace

QString keyRatePageAddress(QDate today) {
    return QStringLiteral("https://www.cbr.ru/hd_base/KeyRate/"
                          "?UniDbQuery.Posted=True&UniDbQuery.From=01.01.2016&UniDbQuery.To=") +
           dateText(today);
}

QString pageRateProblem(QDate day, const QString &rate, QDate today) {
    long double value = 0;
    if (!calc::tryReadNumber(rate, value) || !calc::isChargeableRate(value))
        return QStringLiteral("Страница Банка России дала ставку \"%1\" на %2: %3")
            .arg(rate, dateText(day), calc::chargeableRateRule());
    if (day > today.addDays(kDaysAhead))
        return QStringLiteral("Страница Банка России дала ставку на %1 — позже чем через %2 дн. "
                              "от сегодняшнего дня")
            .arg(dateText(day))
            .arg(kDaysAhead);
    return QString();
}

QStringList historyBefore2016() {
    QStringList lines;
    const QList<RateChange> &known = knownRefinancingRates().changes;
    for (auto it = known.crbegin(); it != known.crend(); ++it)
        lines.append(changeLine(*it));
    return lines;
}

QStringList keyRateTable(const QList<RateChange> &changes, const QStringList &classicLines) {
    QStringList lines;
    for (auto it = changes.crbegin(); it != changes.crend(); ++it)
        lines.append(changeLine(*it));
    QStringList before;
    for (const QString &line : classicLines) {
        QDate date;
        if (keyDate(RateTable::keyOf(line), date) && date < kKeyRateSince) before.append(line);
    }
    if (before.isEmpty()) before = historyBefore2016() + RateTable::builtIn().lines();
    return withoutRepeatedKeys(lines + before);
}

} // namespace rates
