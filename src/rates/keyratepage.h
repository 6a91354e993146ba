#pragma once

#include "htmldoc.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// The central bank's key rate page. Since 01.01.2016 the refinancing rate
// equals the key rate, and the bank publishes the key rate as one table row
// per working day: a date cell and a rate cell. The update reads that page
// after the classic one and builds a table that is right for claims of today.
namespace rates {

// The key rate's first day as the refinancing rate.
inline const QDate kKeyRateSince{2016, 1, 1};

// The page's default address: every working day from 01.01.2016 to `today`.
QString keyRatePageAddress(QDate today);

// The day the rate changed to `rate`, as the page writes the rate ("11,00").
struct RateChange {
    QDate date;
    QString rate;
};

// Every table row holding a cell whose whole text is a date dd.mm.yyyy and,
// after it in the same row, a cell that reads as a number gives one working
// day and its rate; other rows and cells are ignored. The days are sorted
// (a day listed twice counts once, as first listed) and runs of one rate
// collapse to their first day; an oldest day in January 2016 stands for
// 01.01.2016, the bank listing working days only. Oldest first.
QList<RateChange> readKeyRateChanges(const HtmlDocument &page);

// The refinancing rates before the key rate took over that the program knows
// besides its built-in history, newest first.
QStringList historyBefore2016();

// The table an update makes of the key rate changes, newest first: each change
// as "с 01 января 2016 г.=11,00", then the history before 01.01.2016: the
// classic page's lines dated before that day when it gave any, otherwise
// historyBefore2016() and the built-in history. Repeated keys are left out.
QStringList keyRateTable(const QList<RateChange> &changes, const QStringList &classicLines);

} // namespace rates
