// SPDX-License-Identifier: GPL-3.0-or-later
// The table drawn page by page: the header row on every page, a row never
// split, the totals and the signature after the last row, "Страница N из M"
// at the foot of each page. Drawn directly, it takes milliseconds where a text
// document's table layout takes a second.
#include "claimdocument.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

namespace documents {

bool drawTablePages(QPagedPaintDevice &device, const ClaimDocument &doc) {
    QPainter p;
    if (!p.begin(&device)) return false;
    const QRectF page = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const QFont font = tableFont();
    QFont bold = font;
    bold.setBold(true);
    const qreal pad = device.logicalDpiX() / 50.0; // half a millimetre
    const TableLayout layout = tableLayout(doc.claim.count);
    const int columns = int(layout.columns.size());
    QList<qreal> x{0};
    for (int c = 0; c < columns; ++c)
        x.append(x.last() + page.width() * layout.percent[c] / 100);
    const auto textHeight = [&](const QFont &f, const QString &text, qreal width) {
        return QFontMetricsF(f, &device)
            .boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap, text)
            .height();
    };
    // The foot of each page keeps a line for its number.
    const qreal footer = textHeight(font, QStringLiteral("Страница"), page.width()) + 2 * pad;
    const qreal bottom = page.height() - footer;

    // Laid out twice: once to count the pages, then drawn with "N из M".
    int pages = 1, pageNo = 1;
    bool drawing = false;
    qreal y = 0;
    const auto footLine = [&] {
        if (!drawing) return;
        p.setFont(font);
        p.drawText(QRectF(0, page.height() - footer + pad, page.width(), footer - pad),
                   Qt::AlignRight | Qt::AlignBottom,
                   QStringLiteral("Страница %1 из %2").arg(pageNo).arg(pages));
    };
    const auto newPage = [&] {
        footLine();
        if (drawing) device.newPage();
        ++pageNo;
        y = 0;
    };
    const auto line = [&](const QString &text, const QFont &f) {
        const qreal h = textHeight(f, text, page.width());
        if (y + h > bottom) newPage();
        if (drawing) {
            p.setFont(f);
            p.drawText(QRectF(0, y, page.width(), h), Qt::TextWordWrap, text);
        }
        y += h;
    };
    const auto rowHeight = [&](const QList<TableCell> &cells, const QFont &f) {
        qreal h = 0;
        for (const TableCell &c : cells)
            h = std::max(h, textHeight(f, c.text, x[c.last + 1] - x[c.first] - 2 * pad));
        return h + 2 * pad;
    };
    // A row of cells; the titles' row is bold, and only other rows align
    // their numbers right.
    const auto row = [&](const QList<TableCell> &cells, bool titles) {
        const QFont &f = titles ? bold : font;
        const qreal h = rowHeight(cells, f);
        if (drawing) {
            p.setFont(f);
            for (const TableCell &c : cells) {
                const QRectF box(x[c.first], y, x[c.last + 1] - x[c.first], h);
                p.drawRect(box);
                const bool number = !titles && c.last == c.first && layout.isNumber(c.first);
                p.drawText(box.adjusted(pad, pad, -pad, -pad),
                           Qt::TextWordWrap | (number ? Qt::AlignRight : Qt::AlignLeft), c.text);
            }
        }
        y += h;
    };
    QList<TableCell> header;
    for (int c = 0; c < columns; ++c)
        header.append({layout.titles[c], c, c});
    const QStringList heading = headingLines(doc);
    const auto lay = [&] {
        pageNo = 1;
        y = 0;
        for (int i = 0; i < heading.size(); ++i)
            line(heading[i], i == 0 ? bold : font);
        y += pad * 2;
        row(header, true);
        for (const calc::PeriodRow &r : doc.result.rows) {
            const QList<TableCell> cells = tableCells(r, layout);
            if (y + rowHeight(cells, font) > bottom) {
                newPage();
                row(header, true);
            }
            row(cells, false);
        }
        y += pad * 2;
        for (const QString &total : totalLines(doc))
            line(total, font);
        line(QString(), font);
        line(signatureLine(doc), font);
        footLine();
    };
    lay();
    pages = pageNo;
    drawing = true;
    p.setPen(QPen(Qt::black, device.logicalDpiX() / 150.0));
    lay();
    return p.end();
}

} // namespace documents
