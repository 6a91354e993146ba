// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"

#include <QByteArray>
#include <QDate>
#include <QFont>
#include <QString>
#include <QStringList>
#include <memory>

class QPagedPaintDevice;
class QTextDocument;

// A calculation by periods laid out as courts and lawyers lay it out: a
// heading (what is counted, the debt, the period, the court, the filing
// date), one row per piece (debt, from, to, days, rate, the year's days or
// the fraction, the amount) with the payments, increases and moratorium
// between them, the totals, and a line for the date and the signature.
namespace documents {

struct ClaimDocument {
    calc::PeriodInput claim;
    calc::PeriodResult result;
    QDate madeOn; // "Расчет составлен …"
};

// Counts the claim; raises AppError as the calculation does.
ClaimDocument makeDocument(const calc::PeriodInput &claim, QDate madeOn);

QStringList headingLines(const ClaimDocument &doc);
// The columns: "Задолженность, руб.", "с", "по", "Дней", "Ставка", then
// "Дней в году", "Доля" or "—" by the count, "Сумма, руб.".
QStringList columnTitles(calc::PeriodCount count);
// A row's cells; a payment's, an increase's or the moratorium's text stands
// in the cell after the debt (payments, increases) or after the days.
QStringList rowCells(const calc::PeriodRow &row, calc::PeriodCount count);
// The same as laid out in every format: a payment's or an increase's text
// spans the columns after the debt, the moratorium's the rate, the share and
// the amount; every other cell is one column.
struct TableCell {
    QString text;
    int first, last; // the columns it spans
};
QList<TableCell> tableCells(const calc::PeriodRow &row, calc::PeriodCount count);
// The columns' widths, in percent of the table's, and the table's font.
inline constexpr qreal kColumnPercent[] = {19, 13, 13, 7, 15, 15, 18};
QFont tableFont();
// The result, ИТОГО and the court fee, as the report writes them.
QStringList totalLines(const ClaimDocument &doc);
QString signatureLine(const ClaimDocument &doc);

// The table as a text document (its header row repeats on every printed page).
std::unique_ptr<QTextDocument> tableDocument(const ClaimDocument &doc);
// The same written into `text`, which is cleared first (a document on screen).
void writeTable(QTextDocument &text, const ClaimDocument &doc);

// The table's pages drawn on a printer or a PDF file; false when the device
// refused the job.
bool drawTablePages(QPagedPaintDevice &device, const ClaimDocument &doc);

enum class Format { Pdf, Odt, Xlsx, Txt };
// The format a file name asks for by its extension; false for none of them.
bool formatOf(const QString &path, Format &format);
// The file's bytes; raises AppError when they cannot be made.
QByteArray render(const ClaimDocument &doc, Format format);
QByteArray spreadsheet(const ClaimDocument &doc);
// The court fee as a spreadsheet formula on the cell holding the claim's
// total, e.g. "G30": the scale's tiers nested, rounded to the kopeck, so a
// spreadsheet works out what calc::courtFeeKopecks gives.
QString feeFormula(const QString &totalCell, calc::Court court, calc::FeeScale scale);
// Renders and writes atomically; raises AppError naming the file.
void saveDocument(const QString &path, const ClaimDocument &doc);
// Writes any report's bytes atomically; raises AppError naming the file.
void writeFile(const QString &path, const QByteArray &bytes);

} // namespace documents
