// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratepage.h"

#include "calc/numtext.h"
#include "calc/penalty.h"
#include "common/dates.h"
#include "rates/periodkey.h"
#include "rates/ratetable.h"

#include <QStringDecoder>
#include <bitset>

namespace update {
namespace {

// Text as it comes out of code page 1251: what the code page cannot hold
// becomes "?", so a page's rate keys are what the rate file can store.
QString throughCp1251(const QString &text) {
    // Which UTF-16 units the code page holds: ASCII and its 127 upper characters.
    static const std::bitset<65536> held = [] {
        std::bitset<65536> set;
        for (int c = 0; c < 0x80; ++c)
            set.set(size_t(c));
        QByteArray high;
        for (int b = 0x80; b <= 0xFF; ++b)
            high.append(char(b));
        for (QChar c : QString(QStringDecoder("windows-1251")(high)))
            if (c != QChar::ReplacementCharacter) set.set(c.unicode());
        return set;
    }();
    QString out = text;
    qsizetype kept = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (held.test(c.unicode())) {
            out[kept++] = c;
        } else {
            out[kept++] = u'?';
            if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i; // one character, one "?"
        }
    }
    out.truncate(kept);
    return out;
}

} // namespace

QList<PageCell> ratePageCells(const HtmlDocument &document) {
    QList<PageCell> cells;
    for (const HtmlDocument::Element &td : document.bodyElementsByTagName(QStringLiteral("td"))) {
        cells.append({throughCp1251(td.innerText),
                      td.attribute(QStringLiteral("vAlign")) == QStringLiteral("top") &&
                          td.hasAttribute(QStringLiteral("noWrap"))});
    }
    return cells;
}

QString dateCellKey(const QString &cellText) {
    QString text = cellText;
    text.replace(QStringLiteral("&nbsp;"), QStringLiteral(" "));
    // A no-break space is the blank it stands for.
    text.replace(QChar(0x00A0), u' ');
    const qsizetype mark = text.indexOf(QStringLiteral("г."));
    text = rates::trimBlanks(mark < 0 ? QString() : text.left(mark)).toString();
    // A cell that already holds a date text ("28.12.2009") names its date
    // directly; a date in words ("с 28 декабря 2009") names it through its key.
    // Either way the cell's key is the period key of that date, so it is one
    // the rate lookup can read; a cell that names no date gives none.
    QDate date;
    if (!parseDateText(text, date) && !rates::keyDate(text, date)) return QString();
    // A year before 1000 would be written short in the key, and a key with a
    // short year is one the lookup cannot read.
    if (date.year() < 1000) return QString();
    return rates::convertPeriodKey(dateText(date));
}

QStringList readRatePairs(const QList<PageCell> &cells) {
    QStringList lines;
    QString pendingKey, pendingRate;
    for (const PageCell &cell : cells) {
        if (cell.isDate) {
            const QString key = dateCellKey(cell.text);
            if (!key.isEmpty()) pendingKey = key;
        } else {
            long double v = 0;
            if (calc::tryReadNumber(cell.text, v)) pendingRate = cell.text;
        }
        if (pendingKey.isEmpty() || pendingRate.isEmpty()) continue;
        lines.append(rates::trimBlanks(pendingKey).toString() + u'=' +
                     rates::trimBlanks(pendingRate).toString());
        pendingKey.clear();
        pendingRate.clear();
    }
    return rates::withoutRepeatedKeys(lines);
}

bool isRatePage(const HtmlDocument &document) {
    return document.title().toLower().contains(QStringLiteral("банк"));
}

} // namespace update
