// SPDX-License-Identifier: GPL-3.0-or-later
// How the count by periods tells things, in its report, its table and its
// notes alike.
#define QT_USE_QSTRINGBUILDER
#include "periodinterest.h"

#include "common/dates.h"
#include "decimal.h"

namespace calc {

QString depositRatesHint() {
    return QStringLiteral("С %1 по %2 проценты по ст. 395 ГК РФ считались по средним ставкам по "
                          "вкладам физических лиц в федеральном округе: проверьте ставки таблицы "
                          "за этот срок.")
        .arg(dateText(kDepositRatesFrom), dateText(kDepositRatesUntil));
}

// What is charged, by what is counted: interest, a penalty of the contract
// (неустойка, singular) or a penalty of the law (пени, plural).
QString chargeNoun(PeriodCount count) {
    return count == PeriodCount::Contractual ? QStringLiteral("неустойка")
           : count == PeriodCount::KeyFraction || count == PeriodCount::Housing
               ? QStringLiteral("пени")
               : QStringLiteral("проценты");
}

QString accrualVerb(PeriodCount count, bool accrues) {
    const QString verb = count == PeriodCount::Contractual ? QStringLiteral("начисляется")
                                                           : QStringLiteral("начисляются");
    return accrues ? verb : QStringLiteral("не ") % verb;
}

QString moratoriumPhrase(PeriodCount count, qint64 held) {
    const QString verb = accrualVerb(count, false);
    if (held <= 0) return QStringLiteral("мораторий, ") % chargeNoun(count) % u' ' % verb;
    return QStringLiteral("мораторий, ") % chargeNoun(count) % QStringLiteral(" на ") %
           kopecksText(held) % QStringLiteral(" руб. ") % verb;
}

QString overpaidPhrase(const PeriodRow &row) {
    if (row.overpaid <= 0) return QString();
    return (row.kind == PeriodRow::Increase ? QStringLiteral(", зачтено из переплаты ")
                                            : QStringLiteral(", переплата ")) %
           kopecksText(row.overpaid) % QStringLiteral(" руб.");
}

QString tableStartNote(QDate oldest) {
    return QStringLiteral("Таблица ставок начинается с %1; ставки на более ранние дни в ней нет")
        .arg(dateText(oldest));
}

} // namespace calc
