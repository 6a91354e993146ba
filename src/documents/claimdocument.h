// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/claimfields.h"
#include "calc/periodinterest.h"

#include <QByteArray>
#include <QColor>
#include <QDate>
#include <QFont>
#include <QString>
#include <QStringList>
#include <memory>

class QPagedPaintDevice;
class QPdfWriter;
class QTextDocument;

// A calculation by periods laid out as courts and lawyers lay it out: a
// heading (what is counted, the debt, the period, the court, the filing
// date), one row per piece (debt, from, to, days, rate, the year's days or
// the fraction, the amount) with the payments, increases and moratorium
// between them, the totals, and a line for the date and the signature.
namespace documents {

// A line of a paper the calculation is attached to: the addressee's block on
// the right, a heading in the middle, or the body's paragraph.
struct PaperLine {
    enum Place { Body, Right, Center };
    // Where the block on the right starts: this share of the text's width.
    static constexpr qreal kRightBlockShare = 0.45;
    Place place = Body;
    QString text; // empty: a blank line
    bool bold = false;
    bool operator==(const PaperLine &) const = default;
};

struct ClaimDocument {
    // A paper before the calculation, which starts on a page of its own
    // (empty: the calculation alone).
    QList<PaperLine> paper;
    calc::PeriodInput claim;
    calc::PeriodResult result;
    QDate madeOn; // "Расчет составлен …"
    QString account; // a ledger's account the claim is of ("Лицевой счет: …"); empty: none
    // The party fields given that the paper's template does not name: the
    // user is told they are not in it.
    QList<calc::ClaimField> partiesLeftOut;
};

// Counts the claim; raises AppError as the calculation does.
ClaimDocument makeDocument(const calc::PeriodInput &claim, QDate madeOn);

QStringList headingLines(const ClaimDocument &doc);
// What a column of the table holds.
enum class Column { Debt, From, To, Days, Rate, Share, Amount };
// The table's columns for a count, their titles and widths (percent of the
// table's): the debt, the days, the rate, then "Дней в году" or "Доля" where
// the count has such a share, and the amount.
struct TableLayout {
    calc::PeriodCount count;
    QString noun; // what the claim charges, for the windows' rows
    QList<Column> columns;
    QStringList titles;
    QList<qreal> percent;
    int indexOf(Column column) const; // -1: not in this table
    bool isNumber(int index) const;   // right-aligned
};
TableLayout tableLayout(const calc::PeriodInput &claim);
// Kopecks with digit groups, as the table shows amounts: "100 000,00".
QString groupedKopecks(qint64 kopecks);
// Amounts in a line of words ("… = 36000,00 руб.") with digit groups, as the
// table writes them: one number format in the whole document.
QString groupedAmounts(QString line);
// A row's cells as every format lays them out: a payment's or an increase's
// text spans the columns after the debt, the moratorium's the rate and what
// follows it; every other cell is one column.
struct TableCell {
    QString text;
    int first, last; // the columns it spans
};
QList<TableCell> tableCells(const calc::PeriodRow &row, const TableLayout &layout);
// The same as one text a column (empty under a spanning cell).
QStringList rowCells(const calc::PeriodRow &row, const TableLayout &layout);
// The table's font, and the paper's.
QFont tableFont();
QFont paperFont();
// A PDF's pages as the program lays them: A4, its margins, 300 dpi.
void setUpPages(QPdfWriter &pdf);
// The result, ИТОГО and the court fee, as the report writes them.
QStringList totalLines(const ClaimDocument &doc);
QString signatureLine(const ClaimDocument &doc);

// The table as a text document (its header row repeats on every printed page).
std::unique_ptr<QTextDocument> tableDocument(const ClaimDocument &doc);

// The table's pages drawn on a printer or a PDF file; false when the device
// refused the job.
bool drawTablePages(QPagedPaintDevice &device, const ClaimDocument &doc);

// The pages the calculation alone takes on A4, its paper left aside.
int calculationPages(const ClaimDocument &doc);

enum class Format { Pdf, Odt, Xlsx, Txt, Docx };
// The format a file name asks for by its extension; false for none of them.
bool formatOf(const QString &path, Format &format);
// The file's bytes; raises AppError when they cannot be made.
QByteArray render(const ClaimDocument &doc, Format format);
// The .xlsx bytes, made by the spreadsheet module (loaded on first use).
QByteArray spreadsheet(const ClaimDocument &doc);
// The .docx bytes, made by the word-processing module (loaded on first use).
QByteArray wordDocument(const ClaimDocument &doc);
// The court fee as a spreadsheet formula on the cell holding the claim's
// total, e.g. "G30": the scale's tiers nested, rounded to the kopeck, so a
// spreadsheet works out what calc::courtFeeKopecks gives.
QString feeFormula(const QString &totalCell, calc::Court court, calc::FeeScale scale);
// A file name for the claim's papers, without its extension: "Расчет 395
// 100000 01.04.2025" (the basis, the debt or the bills charged, the filing date).
QString claimFileName(const calc::PeriodInput &claim);
// Renders and writes atomically by the writers' rule (`within`: the folder
// the user named); raises AppError naming the file.
void saveDocument(const QString &path, const ClaimDocument &doc, const QString &within = {});
// Writes any report's bytes atomically; raises AppError naming the file.
void writeFile(const QString &path, const QByteArray &bytes, const QString &within = {});

} // namespace documents
