// SPDX-License-Identifier: GPL-3.0-or-later
// How the count by periods tells things, in its report, its table and its
// notes alike.
#define QT_USE_QSTRINGBUILDER
#include "periodinterest.h"

#include "common/dates.h"
#include "continuing.h"
#include "decimal.h"
#include "presets.h"

namespace calc {

QString depositRatesHint() {
    return QStringLiteral("С %1 по %2 проценты по ст. 395 ГК РФ считались по средним ставкам по "
                          "вкладам физических лиц в федеральном округе: проверьте ставки таблицы "
                          "за этот срок.")
        .arg(dateText(kDepositRatesFrom), dateText(kDepositRatesUntil));
}

// What is charged, by the basis's row: what its total sums (interest, a
// penalty — неустойка, or пени —, compensation), whatever the table's layout.
QString chargeNoun(const PeriodInput &claim) {
    const Preset *row = presetOf(claim);
    return chargedBy(row ? QString::fromUtf8(row->total) : QStringLiteral("Сумма процентов"));
}

// Неустойка and компенсация are one thing, пени and проценты many.
QString accrualVerb(const QString &noun, bool accrues) {
    const QString verb = noun == u"неустойка" || noun == u"компенсация"
                             ? QStringLiteral("начисляется")
                             : QStringLiteral("начисляются");
    return accrues ? verb : QStringLiteral("не ") % verb;
}

QString moratoriumPhrase(const QString &noun, qint64 held) {
    const QString verb = accrualVerb(noun, false);
    if (held <= 0) return QStringLiteral("мораторий, ") % noun % u' ' % verb;
    return QStringLiteral("мораторий, ") % noun % QStringLiteral(" на ") % kopecksText(held) %
           QStringLiteral(" руб. ") % verb;
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
