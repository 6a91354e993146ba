// SPDX-License-Identifier: GPL-3.0-or-later
#include "knownrates.h"

#include "calc/claimfields.h"
#include "calc/numtext.h"
#include "common/dates.h"

#include "law/datedlines.h"
#include "periodkey.h"

#include <algorithm>

namespace rates {

bool readKnownRates(const QString &text, KnownRates &out, QString &problem, QDate first,
                    QDate before) {
    out = {};
    QList<law::DatedLine> lines;
    if (!law::readDatedLines(text, lines, problem)) return false;
    for (const law::DatedLine &line : lines) {
        // A decision that kept the rate: after the last change, and the last line.
        if (line.value == u'=' && !out.changes.isEmpty() && out.kept.isNull() &&
            line.day > out.changes.back().date) {
            out.kept = line.day;
            continue;
        }
        long double rate = 0;
        if (!calc::tryReadNumber(line.value, rate) || !calc::isChargeableRate(rate) ||
            (!out.changes.isEmpty() && line.day <= out.changes.back().date) ||
            (out.changes.isEmpty() && first.isValid() && line.day != first) ||
            (before.isValid() && line.day >= before) || out.kept.isValid()) {
            problem = law::lineProblem(line.number, dateText(line.day) + u';' + line.value);
            return false;
        }
        out.changes.append({line.day, line.value});
    }
    if (out.changes.isEmpty()) {
        problem = QStringLiteral("нет ни одной ставки");
        return false;
    }
    out.through = out.changes.back().date;
    return true;
}

namespace {

KnownRates readResource(const QString &path, QDate first, QDate before) {
    KnownRates k;
    QString problem;
    if (!readKnownRates(law::resourceText(path), k, problem, first, before)) return KnownRates();
    return k;
}

} // namespace

const KnownRates &knownKeyRates() {
    static const KnownRates known =
        readResource(QStringLiteral(":/rates/keyrate-history.txt"), kKeyRateSince, {});
    return known;
}

const KnownRates &knownRefinancingRates() {
    static const KnownRates known =
        readResource(QStringLiteral(":/rates/refinancing-2010-2015.txt"), {}, kKeyRateSince);
    return known;
}

QDate missingKnownChange(const QList<calc::RatePoint> &table, QDate from, QDate to) {
    QList<QDate> days; // the table's, oldest first
    for (const calc::RatePoint &p : table)
        days.append(p.from);
    std::sort(days.begin(), days.end());
    if (days.isEmpty()) return {};
    QList<RateChange> known = knownRefinancingRates().changes + knownKeyRates().changes;
    for (qsizetype i = 0; i < known.size(); ++i) {
        const QDate day = known[i].date;
        const QDate next = i + 1 < known.size() ? known[i + 1].date : QDate();
        // The change's days reach the claim, and the table goes on past it without it.
        if (day > to || (next.isValid() && next <= from) || day >= days.last()) continue;
        if (!std::binary_search(days.cbegin(), days.cend(), day)) return day;
    }
    return {};
}

QString knownRatesTitle() {
    return QStringLiteral("Ставки, известные программе (по %1)")
        .arg(dateText(knownKeyRates().through));
}

namespace {

// The table's entries before 2016, newest first, with every refinancing
// change the program knows that they lack: a table of 2009 filled with the
// key rate has no hole from 2010 to 2015.
QStringList withKnownRefinancing(const QStringList &lines) {
    QList<std::pair<QDate, QString>> before;
    for (const QString &line : lines) {
        QDate date;
        if (keyDate(RateTable::keyOf(line), date) && date < kKeyRateSince)
            before.append({date, line});
    }
    if (before.isEmpty()) return {}; // the update's own history serves
    for (const RateChange &change : knownRefinancingRates().changes)
        if (std::none_of(before.cbegin(), before.cend(),
                         [&](const auto &b) { return b.first == change.date; }))
            before.append(
                {change.date, convertPeriodKey(dateText(change.date)) + u'=' + change.rate});
    std::stable_sort(before.begin(), before.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    QStringList out;
    for (const auto &[date, line] : before)
        out.append(line);
    return out;
}

} // namespace

QStringList knownRatesTable(const RateTable &current) {
    return keyRateTable(knownKeyRates().changes, withKnownRefinancing(current.lines()));
}

QString knownRatesDone() {
    const KnownRates &known = knownKeyRates();
    const QString kept = known.kept.isValid()
                             ? QStringLiteral("; решением от %1 ставка %2% сохранена")
                                   .arg(dateText(known.kept), known.changes.back().rate)
                             : QString();
    return QStringLiteral("Таблица ставок заполнена ставками, известными программе: ключевая "
                          "ставка Банка России с 01.01.2016 по решениям по %1%2 (публичные "
                          "сведения Банка России на день выпуска программы). Более поздние "
                          "ставки добавьте вручную или обновите таблицу через Интернет.")
        .arg(dateText(known.through), kept);
}

} // namespace rates
