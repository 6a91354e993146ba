// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The table an update makes of the key rate: since 01.01.2016 the
// refinancing rate equals the key rate. Reading the bank's page is in
// keyratepage.h; this part needs no HTML and serves the window too.

namespace rates {

// The key rate's first day as the refinancing rate.
inline const QDate kKeyRateSince = calc::kKeyRateNamedFrom;

// The page's default address: every working day from 01.01.2016 to `today`.
QString keyRatePageAddress(QDate today);

// The day the rate changed to `rate`, as the page writes the rate ("11,00").
struct RateChange {
    QDate date;
    QString rate;
};

// A page may date a rate at most this many days after today: the bank
// announces a change a few weeks ahead, never months.
constexpr int kDaysAhead = 31;

// Why a rate a bank page gives cannot be right, "" when it can: it must read
// as a number above 0 and at most 100, on a day at most kDaysAhead days after
// `today`. A page with one such rate is not used at all.
QString pageRateProblem(QDate day, const QString &rate, QDate today);

// The refinancing rates before the key rate took over that the program knows
// besides its built-in history (2010–2015), newest first.
QStringList historyBefore2016();

// The table an update makes of the key rate changes, newest first: each change
// as "с 01 января 2016 г.=11,00", then the history before 01.01.2016: the
// classic page's lines dated before that day when it gave any, otherwise
// historyBefore2016() and the built-in history. Repeated keys are left out.
QStringList keyRateTable(const QList<RateChange> &changes, const QStringList &classicLines);

} // namespace rates
