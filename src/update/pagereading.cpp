// SPDX-License-Identifier: GPL-3.0-or-later
#include "pagereading.h"

#include "htmldoc.h"
#include "keyratepage.h"
#include "ratepage.h"
#include "rates/periodkey.h"
#include "rates/ratetable.h"

namespace update {
namespace {

PageReading readClassic(const HtmlDocument &page, QDate today) {
    PageReading r;
    r.isRatePage = page.isHtml() && isRatePage(page) && page.hasBody();
    if (!r.isRatePage) return r;
    r.lines = readRatePairs(ratePageCells(page));
    for (const QString &line : r.lines) {
        QDate day;
        rates::keyDate(rates::RateTable::keyOf(line), day);
        r.refusal = rates::pageRateProblem(day, line.section(u'=', 1), today);
        if (!r.refusal.isEmpty()) break;
    }
    return r;
}

PageReading readKeyRate(const HtmlDocument &page, QDate today) {
    PageReading r;
    if (!page.isHtml()) return r;
    const QList<KeyRateDay> days = readKeyRateDays(page);
    for (const KeyRateDay &day : days) {
        r.refusal = rates::pageRateProblem(day.date, day.rate, today);
        if (!r.refusal.isEmpty()) return r;
    }
    r.changes = collapseKeyRateDays(days);
    return r;
}

} // namespace

PageReading readPage(const QByteArray &bytes, const QString &headerCharset, PageKind kind,
                     QDate today) {
    const HtmlDocument page = HtmlDocument::parse(bytes, headerCharset);
    return kind == PageKind::Classic ? readClassic(page, today) : readKeyRate(page, today);
}

} // namespace update
