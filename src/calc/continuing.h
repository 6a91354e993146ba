// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine.h"
#include "money.h"

// "и далее по день фактической оплаты долга": the claim goes on from the day
// after the count, as every claim for interest or a penalty asks (Plenum of
// the Supreme Court No. 7 of 24.03.2016, pp. 48 and 65). The line names the
// rule and, for the next day, its rate and its amount a day.
namespace calc {

// One debt as it stands after the count: its unpaid kopecks, its first
// overdue day (the steps count from it) and the day its claim arose (for
// the windows' scope).
struct OpenDebt {
    qint64 unpaid = 0;
    QDate first, arose;
    QList<Step> steps; // its own steps (a bill by an older law); empty: the rules'
};

// What is charged, by the words of a report's total ("Сумма неустойки":
// "неустойка").
QString chargedBy(const QString &total);

// How the line names what is charged ("проценты", "неустойка", "пени"), until
// when ("фактической оплаты долга", or an obligation not performed:
// "фактического исполнения обязательства (передачи объекта долевого
// строительства)") and on what ("с долга", "от цены договора").
struct ContinuingWords {
    QString noun;
    QString until = QStringLiteral("фактической оплаты долга");
    QString base = QStringLiteral("с долга");
};

// "ключевой ставки" or, for a day before 2016, "ставки рефинансирования".
QString keyRateOf(QDate day);

// The line for debts counted by `rules` until `last`; `left`, when given,
// what a cap on the total leaves. Empty when nothing is unpaid.
QString continuingLine(const CountRules &rules, const RatesByDay &rates,
                       const QList<OpenDebt> &debts, QDate last, const ContinuingWords &words,
                       std::optional<qint64> left = {});

} // namespace calc
