// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratelookup.h"

#include "calc/claimfields.h"
#include "calc/inputfield.h"
#include "calc/numtext.h"
#include "common/apperror.h"
#include "common/dates.h"
#include "knownrates.h"
#include "periodkey.h"
#include "storage/modesettings.h"

namespace rates {
namespace {

// The lookup's scan from the newest entry down; `dateOf(i, date)` reads an
// entry's key date, false when it names none; `rowOf(i)` its rate.
template <class DateOf, class RowOf>
RateLookupPlan planLookup(const RateTable &table, QDate endDate, DateOf dateOf, RowOf rowOf) {
    RateLookupPlan plan;
    plan.lastRow = table.count() > 0 ? table.count() - 1 : 0;
    if (table.count() < 2 || table.key(0).isEmpty()) return plan;
    const int last = table.count() - 1;
    for (int i = 0; i <= last; ++i) {
        QDate d;
        if (!dateOf(i, d)) {
            plan.error =
                QStringLiteral("Не удается прочитать дату периода \"%1\"").arg(table.key(i));
            return plan;
        }
        if (d <= endDate || i == last) {
            plan.chosen = i;
            plan.selection = rowOf(i);
            return plan;
        }
    }
    return plan;
}

RowSelection rowOf(const RateTable &table, int i) {
    return normaliseRow(table.key(i), table.rate(i));
}

} // namespace

bool isUsableRate(QStringView rate) {
    QString typed;
    long double value = 0;
    return calc::readTypedNumber(rate, calc::kRateLength, typed) == calc::TypedNumber::Ok &&
           calc::tryReadNumber(typed, value) && calc::isChargeableRate(value);
}

RowSelection normaliseRow(const QString &key, const QString &rateCell) {
    RowSelection r;
    r.rate = trimBlanks(rateCell).toString().replace(u'.', u',');
    if (r.rate.isEmpty()) return r;
    if (!isUsableRate(r.rate)) {
        r.outcome = RowSelection::BadRate;
        return r;
    }
    r.outcome = keyDate(key, r.date) ? RowSelection::Ok : RowSelection::BadDate;
    return r;
}

QString unusableRowMessage(const QString &line) {
    return QStringLiteral("В строке таблицы ставок \"%1\" нет ставки, которую можно применить")
        .arg(line);
}

RateLookupPlan planRateLookup(const RateTable &table, QDate endDate) {
    return planLookup(
        table, endDate, [&table](int i, QDate &d) { return keyDate(table.keyView(i), d); },
        [&table](int i) { return rowOf(table, i); });
}

RateLookup::RateLookup(const RateTable &table) : table_(table) {
    keyDates_.resize(table.count());
    rows_.reserve(table.count());
    for (int i = 0; i < table.count(); ++i) {
        keyDate(table.keyView(i), keyDates_[i]);
        rows_.append(rowOf(table, i));
    }
}

RateLookupPlan RateLookup::plan(QDate endDate) const {
    return planLookup(
        table_, endDate,
        [this](int i, QDate &d) {
            d = keyDates_.value(i);
            return d.isValid();
        },
        [this](int i) { return rows_[i]; });
}

QString RateLookup::rateOn(QDate endDate) const {
    const RateLookupPlan p = plan(endDate);
    if (!p.error.isEmpty()) throw AppError(p.error);
    // No entry chosen (a table of fewer than two): the field stays as the window opens it.
    if (p.chosen < 0) return storage::kInitialRefinancingRate;
    if (!p.selection.usable()) throw AppError(unusableRowMessage(table_.line(p.chosen)));
    return p.selection.rate;
}

QDate newestEntry(const RateTable &table) {
    return newestPoint(ratePoints(table));
}

bool mayBeStale(QDate newest, QDate periodEnd) {
    return newest.isValid() && periodEnd > newest.addDays(365);
}

QString staleTableNote(QDate newest) {
    return QStringLiteral("Ставки в таблице — по %1; обновите таблицу").arg(dateText(newest));
}

QString tableGapNote(const QList<calc::RatePoint> &points, QDate from, QDate to) {
    const QDate newest = newestPoint(points);
    if (mayBeStale(newest, to)) return staleTableNote(newest);
    if (const QDate missing = missingKnownChange(points, from, to); missing.isValid())
        return QStringLiteral("В таблице ставок нет ставки с %1; обновите таблицу")
            .arg(dateText(missing));
    return {};
}

QDate newestPoint(const QList<calc::RatePoint> &points) {
    QDate newest;
    for (const calc::RatePoint &point : points)
        if (newest.isNull() || point.from > newest) newest = point.from;
    return newest;
}

QList<calc::RatePoint> ratePoints(const RateTable &table) {
    QList<calc::RatePoint> points;
    for (int i = 0; i < table.count(); ++i) {
        const RowSelection s = rowOf(table, i);
        if (s.outcome == RowSelection::Ok) points.append({s.date, s.rate});
    }
    return points;
}

} // namespace rates
