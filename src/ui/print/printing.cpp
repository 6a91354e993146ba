// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/print/printing.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

namespace ui {
QFont reportFont(bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPointSize(14);
    f.setBold(bold);
    return f;
}

QStringList displayLines(const QTextEdit *box) {
    QStringList lines;
    const QTextDocument *doc = box->document();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        const QTextLayout *layout = block.layout();
        const QString text = block.text();
        if (!layout || layout->lineCount() == 0) {
            lines.append(text);
            continue;
        }
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            lines.append(text.mid(line.textStart(), line.textLength()));
        }
    }
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

ReportPage layoutReportPage(QPainter &painter, int width, int height, const QStringList &lines) {
    ReportPage page;
    const QFontMetrics regular(reportFont(false), painter.device());
    const QFontMetrics bold(reportFont(true), painter.device());
    page.lineHeight = std::max(1, regular.height()); // the height of a text line, "A" or any
    const int h = page.lineHeight;
    page.margin = width / 15;
    page.titleAt = QPoint((width - bold.horizontalAdvance(kReportTitle)) / 2, h);
    page.ruleFrom = QPoint(page.margin, 2 * h);
    page.ruleTo = QPoint(width - page.margin, 2 * h);
    // One page: a line that would start below the printable area is left out.
    int y = 3 * h;
    for (qsizetype k = 0; k < lines.size(); ++k) {
        y += h;
        if (y >= height) break;
        page.linesAt.append(QPoint(page.margin, y));
    }
    return page;
}

qsizetype drawReportPage(QPainter &painter, int width, int height, const QStringList &lines) {
    const ReportPage page = layoutReportPage(painter, width, height, lines);
    // Texts are placed by their top-left corner.
    auto drawAt = [&](QPoint at, const QString &text) {
        painter.drawText(at + QPoint(0, painter.fontMetrics().ascent()), text);
    };
    painter.setPen(Qt::black);
    painter.setFont(reportFont(true));
    drawAt(page.titleAt, kReportTitle);
    painter.drawLine(page.ruleFrom, page.ruleTo);
    painter.setFont(reportFont(false));
    for (qsizetype k = 0; k < page.linesAt.size(); ++k)
        drawAt(page.linesAt[k], lines[k]);
    return page.linesAt.size();
}

} // namespace ui
