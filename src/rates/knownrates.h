// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"
#include "keyratetable.h"
#include "ratetable.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The rates' history the program carries, offered where the Internet is
// not and never put in the table unasked: the refinancing rate's changes
// from 2010 to 2015 (between the built-in table and the key rate) and the key
// rate's since 01.01.2016 (the bank's decisions as of the release).
namespace rates {

struct KnownRates {
    QList<RateChange> changes; // oldest first, from 01.01.2016
    QDate through;             // the last change's day
    // The day of a later decision that kept the last rate (a line "ДД.ММ.ГГГГ;="), null: none.
    QDate kept;
};

// The history built into the program, read once. Empty when it cannot be
// read (a build without it): nothing is then offered.
const KnownRates &knownKeyRates();
// The refinancing rate's changes from 2010 to 2015, oldest first.
const KnownRates &knownRefinancingRates();
// Reads a history's text ("ДД.ММ.ГГГГ;ставка" a line, "#" comments), days
// in order, the first on `first` when it is given and all before `before`
// when that is; false with the line's problem in `problem`.
bool readKnownRates(const QString &text, KnownRates &out, QString &problem,
                    QDate first = kKeyRateSince, QDate before = {});

// The first change the program knows that the table lacks between two of its
// entries (a hole, as a table of 2009 with the key rate since 2016 has), on a
// day whose rate a claim from `from` to `to` takes; null when none.
QDate missingKnownChange(const QList<calc::RatePoint> &table, QDate from, QDate to);

// "Ставки, известные программе (по 27.07.2026)".
QString knownRatesTitle();
// The table they make over `current`, as an update makes it: the key rate's
// changes, then the current table's entries before 2016 (the program's own
// history when it has none).
QStringList knownRatesTable(const RateTable &current);
// What the user is told once they are in the table.
QString knownRatesDone();

} // namespace rates
