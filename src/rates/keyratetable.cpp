// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyratetable.h"

#include "calc/claimfields.h"
#include "calc/numtext.h"
#include "calc/penalty.h"
#include "common/dates.h"
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
    return {
        QStringLiteral("с 14 сентября 2012 г.=8,25"), QStringLiteral("с 26 декабря 2011 г.=8"),
        QStringLiteral("с 03 мая 2011 г.=8,25"),      QStringLiteral("с 28 февраля 2011 г.=8"),
        QStringLiteral("с 01 июня 2010 г.=7,75"),     QStringLiteral("с 30 апреля 2010 г.=8"),
        QStringLiteral("с 29 марта 2010 г.=8,25"),    QStringLiteral("с 24 февраля 2010 г.=8,5"),
    };
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
