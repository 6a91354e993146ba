// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "htmldoc.h"

#include <QStringList>

// Reading the bank's rate page: which cells are dates and which are rates, and
// how they pair into table lines.
namespace update {

struct PageCell {
    QString text;
    bool isDate = false;
};

// The page's td cells as the update sees them: texts passed through code page
// 1251 (what it cannot hold becomes "?"), a date cell being one whose vAlign
// is exactly "top" and that has noWrap.
QList<PageCell> ratePageCells(const HtmlDocument &document);

// The period key of a date cell's text, or "" when it names no date.
QString dateCellKey(const QString &text);

// Pairs date and rate cells, in either order, into "key=rate" lines in page
// order. A later pair whose key repeats an earlier one (letter case ignored)
// is left out, so the lines always make a valid table.
QStringList readRatePairs(const QList<PageCell> &cells);

// Whether a document's title names the bank (letter case ignored).
bool isRatePage(const HtmlDocument &document);

} // namespace update
