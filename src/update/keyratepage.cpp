// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyratepage.h"

#include "calc/numtext.h"
#include "common/dates.h"
#include "rates/periodkey.h"

#include <algorithm>

namespace update {
namespace {

// The trimmed text of a cell; a no-break space counts as a blank.
QString cellText(const QString &text) {
    QString t = text;
    t.replace(QChar(0x00A0), u' ');
    return rates::trimBlanks(t).toString();
}

// "dd.mm.yyyy" and nothing else.
bool readDay(const QString &text, QDate &date) {
    if (text.size() != 10 || text[2] != u'.' || text[5] != u'.') return false;
    for (int i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (text[i] < u'0' || text[i] > u'9') return false;
    return parseDateText(text, date);
}

} // namespace

QList<KeyRateDay> readKeyRateDays(const HtmlDocument &page) {
    QList<KeyRateDay> days;
    const QList<HtmlDocument::Element> cells = page.bodyElementsByTagName(QStringLiteral("td"));
    for (qsizetype i = 0; i < cells.size(); ++i) {
        QDate date;
        if (cells[i].row < 0 || !readDay(cellText(cells[i].innerText), date)) continue;
        // The first cell after the date in the same row that is a number.
        for (qsizetype j = i + 1; j < cells.size() && cells[j].row == cells[i].row; ++j) {
            const QString rate = cellText(cells[j].innerText);
            long double value = 0;
            if (!calc::tryReadNumber(rate, value)) continue;
            days.append({date, rate, value});
            i = j; // one day per row
            break;
        }
    }
    return days;
}

QList<rates::RateChange> collapseKeyRateDays(QList<KeyRateDay> days) {
    std::stable_sort(days.begin(), days.end(),
                     [](const KeyRateDay &a, const KeyRateDay &b) { return a.date < b.date; });
    QList<rates::RateChange> changes;
    const KeyRateDay *previous = nullptr;
    for (const KeyRateDay &day : days) {
        if (previous && previous->date == day.date) continue;
        if (!previous || previous->value != day.value) changes.append({day.date, day.rate});
        previous = &day;
    }
    if (!changes.isEmpty() && changes.front().date.year() == 2016 &&
        changes.front().date.month() == 1)
        changes.front().date = rates::kKeyRateSince;
    return changes;
}

QList<rates::RateChange> readKeyRateChanges(const HtmlDocument &page) {
    return collapseKeyRateDays(readKeyRateDays(page));
}

} // namespace update
