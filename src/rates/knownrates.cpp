// SPDX-License-Identifier: GPL-3.0-or-later
#include "knownrates.h"

#include "calc/claimfields.h"
#include "calc/numtext.h"
#include "common/dates.h"

#include <QFile>

namespace rates {

bool readKnownRates(const QString &text, KnownRates &out, QString &problem) {
    out = {};
    int number = 0;
    for (QStringView line : QStringView(text).split(u'\n')) {
        ++number;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const qsizetype at = line.indexOf(u';');
        QDate day;
        long double rate = 0;
        const QString rateText = at > 0 ? line.sliced(at + 1).trimmed().toString() : QString();
        if (at < 0 || !parseDateText(line.first(at).trimmed().toString(), day) ||
            !calc::tryReadNumber(rateText, rate) || !calc::isChargeableRate(rate) ||
            (!out.changes.isEmpty() && day <= out.changes.back().date) ||
            (out.changes.isEmpty() && day != kKeyRateSince)) {
            problem = QStringLiteral("строка %1: \"%2\"").arg(number).arg(line);
            return false;
        }
        out.changes.append({day, rateText});
    }
    if (out.changes.isEmpty()) {
        problem = QStringLiteral("нет ни одной ставки");
        return false;
    }
    out.through = out.changes.back().date;
    return true;
}

const KnownRates &knownKeyRates() {
    static const KnownRates known = [] {
        KnownRates k;
        QFile file(QStringLiteral(":/rates/keyrate-history.txt"));
        QString problem;
        if (!file.open(QIODevice::ReadOnly) ||
            !readKnownRates(QString::fromUtf8(file.readAll()), k, problem))
            return KnownRates();
        return k;
    }();
    return known;
}

QString knownRatesTitle() {
    return QStringLiteral("Ставки, известные программе (по %1)")
        .arg(dateText(knownKeyRates().through));
}

QStringList knownRatesTable(const RateTable &current) {
    return keyRateTable(knownKeyRates().changes, current.lines());
}

QString knownRatesDone() {
    return QStringLiteral("Таблица ставок заполнена ставками, известными программе: ключевая "
                          "ставка Банка России с 01.01.2016 по решениям по %1 (публичные "
                          "сведения Банка России на день выпуска программы). Более поздние "
                          "ставки добавьте вручную или обновите таблицу через Интернет.")
        .arg(dateText(knownKeyRates().through));
}

} // namespace rates
