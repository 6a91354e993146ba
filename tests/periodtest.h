// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the tests of the calculation by periods share: a rate table of their
// own, so every amount can be worked out by hand, and dates and entries
// written as the report writes them.
#include "calc/periodinterest.h"
#include "common/apperror.h"

#include <QDate>
#include <QStringList>

inline QList<calc::RatePoint> table() {
    return {{QDate(2020, 1, 1), "6"},   {QDate(2020, 7, 27), "4,25"}, {QDate(2022, 2, 28), "20"},
            {QDate(2022, 4, 11), "17"}, {QDate(2022, 6, 14), "9,50"}, {QDate(2022, 9, 19), "7.5"},
            {QDate(2023, 7, 24), "12"}, {QDate(2025, 1, 1), "0,5"}};
}

inline QDate day(const char *text) {
    return QDate::fromString(QString::fromLatin1(text), QStringLiteral("dd.MM.yyyy"));
}

// "dd.mm.yyyy=amount" each.
// "dd.MM.yyyy=AMOUNT", with "@MM.yyyy" for the month a payment pays.
inline QList<calc::Payment> payments(const QStringList &list) {
    QList<calc::Payment> out;
    for (const QString &p : list)
        out.append({day(p.section(u'=', 0, 0).toLatin1()),
                    p.section(u'=', 1).section(u'@', 0, 0),
                    {},
                    QDate::fromString(p.section(u'@', 1), QStringLiteral("MM.yyyy"))});
    return out;
}

// A claim's report, or its refusal as one line after "! ".
inline QStringList countedOrRefused(const calc::PeriodInput &in) {
    try {
        return calc::calculatePeriods(in).lines;
    } catch (const AppError &e) {
        return {QStringLiteral("! ") + e.message()};
    }
}

// Whether it says `expected`: a whole line of the report, or a part of the refusal.
inline bool says(const QStringList &said, const QString &expected) {
    return said.contains(expected) ||
           (said.size() == 1 && said[0].startsWith(u'!') && said[0].contains(expected));
}
