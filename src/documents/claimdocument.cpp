// SPDX-License-Identifier: GPL-3.0-or-later
#include "claimdocument.h"

#include "calc/numtext.h"
#include "common/apperror.h"
#include "common/dates.h"
#include "storage/savedfile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <QTextTable>

namespace documents {
namespace {

QString what(const calc::PeriodInput &c) {
    switch (c.count) {
    case calc::PeriodCount::Contractual:
        return QStringLiteral("неустойка %1% в день").arg(c.dailyPercent);
    case calc::PeriodCount::KeyFraction:
        return c.rateDate.isValid() ? QStringLiteral("пени 1/%1 ключевой ставки на %2")
                                          .arg(c.fraction)
                                          .arg(dateText(c.rateDate))
                                    : QStringLiteral("пени 1/%1 ключевой ставки").arg(c.fraction);
    case calc::PeriodCount::Statutory:
        break;
    }
    return QStringLiteral("проценты по ст. 395 ГК РФ");
}

} // namespace

ClaimDocument makeDocument(const calc::PeriodInput &claim, QDate madeOn) {
    return {claim, calc::calculatePeriods(claim), madeOn};
}

QStringList headingLines(const ClaimDocument &doc) {
    const calc::PeriodInput &c = doc.claim;
    return {QStringLiteral("Расчет по периодам: %1").arg(what(c)),
            QStringLiteral("Долг: %1 руб.; период просрочки с %2 по %3 (%4 дн.)")
                .arg(c.debt, dateText(c.start), dateText(c.end))
                .arg(doc.result.days),
            QStringLiteral("Суд: %1; дата подачи: %2")
                .arg(c.court == calc::Court::Arbitration ? QStringLiteral("арбитражный")
                                                         : QStringLiteral("общей юрисдикции"),
                     dateText(c.filed))};
}

QStringList columnTitles(calc::PeriodCount count) {
    const QString sixth = count == calc::PeriodCount::Statutory ? QStringLiteral("Дней в году")
                          : count == calc::PeriodCount::KeyFraction ? QStringLiteral("Доля")
                                                                    : QStringLiteral("—");
    return {QStringLiteral("Задолженность, руб."),
            QStringLiteral("с"),
            QStringLiteral("по"),
            QStringLiteral("Дней"),
            QStringLiteral("Ставка"),
            sixth,
            QStringLiteral("Сумма, руб.")};
}

QStringList rowCells(const calc::PeriodRow &row, calc::PeriodCount count) {
    const QString debt = calc::kopecksText(row.debt);
    switch (row.kind) {
    case calc::PeriodRow::Payment:
        return {
            debt,
            QStringLiteral("оплата %1: %2 руб.%3")
                .arg(dateText(row.from), calc::kopecksText(row.amount), calc::overpaidPhrase(row)),
            {},
            {},
            {},
            {},
            {}};
    case calc::PeriodRow::Increase:
        return {debt,
                QStringLiteral("увеличение долга %1: %2 руб.")
                    .arg(dateText(row.from), calc::kopecksText(row.amount)),
                {},
                {},
                {},
                {},
                {}};
    case calc::PeriodRow::Moratorium:
        return {debt,
                dateText(row.from),
                dateText(row.to),
                QString::number(row.days),
                calc::moratoriumPhrase(),
                {},
                {}};
    case calc::PeriodRow::Piece:
        break;
    }
    const QString share = count == calc::PeriodCount::Statutory ? QString::number(row.divisor)
                          : count == calc::PeriodCount::KeyFraction
                              ? QStringLiteral("1/%1").arg(row.divisor)
                              : QStringLiteral("—");
    return {debt,
            dateText(row.from),
            dateText(row.to),
            QString::number(row.days),
            row.rate + u'%',
            share,
            calc::kopecksText(row.amount)};
}

QList<TableCell> tableCells(const calc::PeriodRow &row, calc::PeriodCount count) {
    const QStringList cells = rowCells(row, count);
    if (row.kind == calc::PeriodRow::Payment || row.kind == calc::PeriodRow::Increase)
        return {{cells[0], 0, 0}, {cells[1], 1, 6}};
    QList<TableCell> out;
    const int last = row.kind == calc::PeriodRow::Moratorium ? 4 : 6;
    for (int c = 0; c <= last; ++c)
        out.append({cells[c], c, c == last ? 6 : c});
    return out;
}

QFont tableFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(9.5);
    return font;
}

QStringList totalLines(const ClaimDocument &doc) {
    return doc.result.lines.mid(doc.result.lines.size() - 3);
}

QString signatureLine(const ClaimDocument &doc) {
    return QStringLiteral("Расчет составлен %1 ____________").arg(dateText(doc.madeOn));
}

std::unique_ptr<QTextDocument> tableDocument(const ClaimDocument &doc) {
    auto text = std::make_unique<QTextDocument>();
    text->setDefaultFont(tableFont());
    writeTable(*text, doc);
    return text;
}

void writeTable(QTextDocument &text, const ClaimDocument &doc) {
    text.clear();
    QTextCursor cursor(&text);
    // One edit: a document on screen is laid out once, not at every cell.
    cursor.beginEditBlock();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    const QStringList heading = headingLines(doc);
    cursor.insertText(heading.front(), bold);
    for (const QString &line : heading.mid(1)) {
        cursor.insertBlock();
        cursor.insertText(line, QTextCharFormat());
    }
    cursor.insertBlock();
    const QList<calc::PeriodRow> &rows = doc.result.rows;
    QTextTableFormat format;
    format.setHeaderRowCount(1); // repeated on every printed page
    format.setCellPadding(2);
    format.setCellSpacing(0);
    format.setBorder(1);
    format.setBorderBrush(QBrush(Qt::black));
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    QList<QTextLength> widths;
    for (qreal percent : kColumnPercent)
        widths.append(QTextLength(QTextLength::PercentageLength, percent));
    format.setColumnWidthConstraints(widths);
    QTextTable *table = cursor.insertTable(int(rows.size()) + 1, 7, format);
    const QStringList titles = columnTitles(doc.claim.count);
    for (int c = 0; c < 7; ++c)
        table->cellAt(0, c).firstCursorPosition().insertText(titles[c], bold);
    for (int r = 0; r < rows.size(); ++r)
        for (const TableCell &cell : tableCells(rows[r], doc.claim.count)) {
            if (cell.last > cell.first)
                table->mergeCells(r + 1, cell.first, 1, cell.last - cell.first + 1);
            if (!cell.text.isEmpty())
                table->cellAt(r + 1, cell.first).firstCursorPosition().insertText(cell.text);
        }
    cursor.movePosition(QTextCursor::End);
    for (const QString &line : totalLines(doc)) {
        cursor.insertBlock();
        cursor.insertText(line);
    }
    cursor.insertBlock();
    cursor.insertBlock();
    cursor.insertText(signatureLine(doc));
    cursor.endEditBlock();
}

bool formatOf(const QString &path, Format &format) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("pdf"))
        format = Format::Pdf;
    else if (suffix == QStringLiteral("odt"))
        format = Format::Odt;
    else if (suffix == QStringLiteral("xlsx"))
        format = Format::Xlsx;
    else if (suffix == QStringLiteral("txt"))
        format = Format::Txt;
    else
        return false;
    return true;
}

QByteArray render(const ClaimDocument &doc, Format format) {
    if (format == Format::Txt) return (doc.result.lines.join(u'\n') + u'\n').toUtf8();
    if (format == Format::Xlsx) return spreadsheet(doc);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (format == Format::Odt) {
        QTextDocumentWriter writer(&buffer, "odf");
        if (!writer.write(tableDocument(doc).get()))
            throw AppError(QStringLiteral("не удается составить документ OpenDocument"));
    } else {
        QPdfWriter pdf(&buffer);
        // Text and rules need no more: the layout at 1200 dpi took ten times as long.
        pdf.setResolution(300);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(20, 15, 15, 15), QPageLayout::Millimeter);
        pdf.setTitle(headingLines(doc).front());
        if (!drawTablePages(pdf, doc)) throw AppError(QStringLiteral("не удается составить PDF"));
    }
    buffer.close();
    return buffer.data();
}

void saveDocument(const QString &path, const ClaimDocument &doc) {
    Format format;
    if (!formatOf(path, format))
        throw AppError(QStringLiteral("Файл \"%1\": нужно расширение .pdf, .odt, .xlsx или .txt")
                           .arg(QDir::toNativeSeparators(path)));
    writeFile(path, render(doc, format));
}

void writeFile(const QString &path, const QByteArray &bytes) {
    const QString failed = storage::saveFile(path, bytes);
    if (!failed.isEmpty())
        throw AppError(QStringLiteral("Не удается записать файл \"%1\": %2")
                           .arg(QDir::toNativeSeparators(path), failed));
}

} // namespace documents
