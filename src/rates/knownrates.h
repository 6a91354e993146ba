// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "keyratetable.h"
#include "ratetable.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The key rate's history the program carries (the bank's decisions since
// 01.01.2016 as of its release), offered where the Internet is not: never
// put in the table unasked.
namespace rates {

struct KnownRates {
    QList<RateChange> changes; // oldest first, from 01.01.2016
    QDate through;             // the last change's day
};

// The history built into the program, read once. Empty when it cannot be
// read (a build without it): nothing is then offered.
const KnownRates &knownKeyRates();
// Reads the history's text ("ДД.ММ.ГГГГ;ставка" a line, "#" comments);
// false with the line's problem in `problem`.
bool readKnownRates(const QString &text, KnownRates &out, QString &problem);

// "Ставки, известные программе (по 27.10.2025)".
QString knownRatesTitle();
// The table they make over `current`, as an update makes it: the key rate's
// changes, then the current table's entries before 2016 (the program's own
// history when it has none).
QStringList knownRatesTable(const RateTable &current);
// What the user is told once they are in the table.
QString knownRatesDone();

} // namespace rates
