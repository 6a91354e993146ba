// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "htmldoc.h"
#include "rates/keyratetable.h"

#include <QList>

// The central bank's key rate page. Since 01.01.2016 the refinancing rate
// equals the key rate, and the bank publishes the key rate as one table row
// per working day: a date cell and a rate cell. The update reads that page
// after the classic one and builds a table that is right for claims of today.
namespace update {

// Every table row holding a cell whose whole text is a date dd.mm.yyyy and,
// after it in the same row, a cell that reads as a number gives one working
// day and its rate; other rows and cells are ignored. The days are sorted
// (a day listed twice counts once, as first listed) and runs of one rate
// collapse to their first day; an oldest day in January 2016 stands for
// 01.01.2016, the bank listing working days only. Oldest first.
QList<rates::RateChange> readKeyRateChanges(const HtmlDocument &page);

// The same in two steps: every working day the page gives, in page order...
struct KeyRateDay {
    QDate date;
    QString rate;
    long double value = 0;
};
QList<KeyRateDay> readKeyRateDays(const HtmlDocument &page);
// ... and the changes they make.
QList<rates::RateChange> collapseKeyRateDays(QList<KeyRateDay> days);

} // namespace update
