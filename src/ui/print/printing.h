// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

class QFont;
class QPainter;
class QTextEdit;

namespace ui {

// The report's lines as the box shows them: a paragraph that the box wraps at
// its width gives one line per piece; no line breaks; an empty last line is
// not counted.
QStringList displayLines(const QTextEdit *box);

// Where everything of the printed page goes, in the device's pixels from the
// printable area's top-left corner.
struct ReportPage {
    int lineHeight = 0; // h: the height of "A" in Arial 14 pt on the device
    int margin = 0;     // m: the printable width div 15
    QPoint titleAt;     // "ДОЛГОМЕР", bold, centred by its bold width, at top h
    QPoint ruleFrom, ruleTo;
    QList<QPoint> linesAt; // the top-left corner of each report line that fits
};

// The layout of the one printed page for the painter's device.
ReportPage layoutReportPage(QPainter &painter, int width, int height, const QStringList &lines);

// Draws the page: title, rule under it, then the lines, one page only.
// Returns how many of the lines fit on the page.
qsizetype drawReportPage(QPainter &painter, int width, int height, const QStringList &lines);

// Arial 14 pt, the printout's one font, regular or bold.
QFont reportFont(bool bold);

inline const QString kReportTitle = QStringLiteral("ДОЛГОМЕР");

} // namespace ui
