// SPDX-License-Identifier: GPL-3.0-or-later
// The spreadsheet module: the calculation as a spreadsheet (libxlsxwriter):
// amounts as numbers with two decimals, dates as dates, and the totals as
// formulas a clerk can check, rounded to the kopeck as the program rounds
// them. A module, so that a start maps neither libxlsxwriter nor the zip and
// crypto libraries it brings.
#include "claimdocument.h"

#include "common/apperror.h"
#include "common/module.h"
#include "common/numericlocale.h"

#include <QFile>
#include <QTemporaryDir>
#include <xlsxwriter.h>

namespace documents {
namespace {

lxw_datetime day(QDate d) {
    return {d.year(), d.month(), d.day(), 0, 0, 0};
}

double roubles(qint64 kopecks) {
    return double(kopecks) / 100;
}

QByteArray writeSheet(const ClaimDocument &doc) {
    // A sheet holds so many rows; a table longer than that is refused before
    // anything is written, never cut short without its totals.
    const QStringList heading = headingLines(doc);
    const qint64 needed = heading.size() + 2 + doc.result.rows.size() + 6;
    if (needed > LXW_ROW_MAX)
        throw AppError(QStringLiteral("в таблице .xlsx может быть не больше %1 строк, а в этом "
                                      "расчете их %2; сохраните его в PDF или ODT")
                           .arg(LXW_ROW_MAX)
                           .arg(needed));
    QTemporaryDir dir;
    const QByteArray path = (dir.path() + QStringLiteral("/claim.xlsx")).toLocal8Bit();
    lxw_workbook *book = workbook_new(path.constData());
    if (!book) throw AppError(QStringLiteral("не удается составить таблицу .xlsx"));
    lxw_worksheet *sheet = workbook_add_worksheet(book, "Расчет");
    lxw_format *bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format *money = workbook_add_format(book);
    format_set_num_format(money, "#,##0.00"); // digit groups in the reader's own style
    lxw_format *date = workbook_add_format(book);
    format_set_num_format(date, "dd.mm.yyyy");
    lxw_format *title = workbook_add_format(book);
    format_set_bold(title);
    format_set_text_wrap(title);
    format_set_border(title, LXW_BORDER_THIN);
    const auto text = [&](lxw_row_t r, lxw_col_t c, const QString &s, lxw_format *f = nullptr) {
        worksheet_write_string(sheet, r, c, s.toUtf8().constData(), f);
    };
    const auto merged = [&](lxw_row_t r, lxw_col_t first, lxw_col_t last, const QString &s) {
        worksheet_merge_range(sheet, r, first, r, last, s.toUtf8().constData(), nullptr);
    };

    lxw_format *percent = workbook_add_format(book);
    format_set_num_format(percent, "0.00########%");

    for (int i = 0; i < heading.size(); ++i)
        text(lxw_row_t(i), 0, heading[i], i == 0 ? bold : nullptr);
    const lxw_row_t top = lxw_row_t(heading.size() + 1);
    const TableLayout layout = tableLayout(doc.claim.count);
    for (int c = 0; c < layout.titles.size(); ++c)
        text(top, lxw_col_t(c), layout.titles[c], title);
    // Cells by what they hold; a formula names them by their letters.
    const auto at = [&](Column c) { return lxw_col_t(layout.indexOf(c)); };
    const auto letter = [&](Column c) { return QChar(u'A' + layout.indexOf(c)); };
    const QList<calc::PeriodRow> &rows = doc.result.rows;
    lxw_row_t r = top + 1;
    for (const calc::PeriodRow &row : rows) {
        // The cells as every format spans them; a single cell holds a number
        // or a date where the column has one.
        for (const TableCell &cell : tableCells(row, layout)) {
            const lxw_col_t c = lxw_col_t(cell.first);
            if (cell.last > cell.first) {
                merged(r, c, lxw_col_t(cell.last), cell.text);
                continue;
            }
            lxw_datetime when = day(c == at(Column::From) ? row.from : row.to);
            switch (layout.columns[cell.first]) {
            case Column::Debt:
                worksheet_write_number(sheet, r, c, roubles(row.debt), money);
                break;
            case Column::From:
            case Column::To:
                worksheet_write_datetime(sheet, r, c, &when, date);
                break;
            case Column::Days:
                worksheet_write_number(sheet, r, c, row.days, nullptr);
                break;
            case Column::Rate:
                // A number a formula can use: 8,75 % is 0.0875.
                worksheet_write_number(
                    sheet, r, c, QString(row.rate).replace(u',', u'.').toDouble() / 100, percent);
                break;
            case Column::Share:
                if (layout.count == calc::PeriodCount::Statutory)
                    worksheet_write_number(sheet, r, c, row.divisor, nullptr);
                else
                    text(r, c, cell.text);
                break;
            case Column::Amount: {
                // debt × days × rate / the year's days (or / N), to the kopeck,
                // cached with the program's exact kopecks.
                const int n = int(r) + 1;
                QString formula =
                    QStringLiteral("%1%4*%2%4*%3%4")
                        .arg(letter(Column::Debt), letter(Column::Days), letter(Column::Rate))
                        .arg(n);
                if (layout.count == calc::PeriodCount::Statutory)
                    formula += QStringLiteral("/%1%2").arg(letter(Column::Share)).arg(n);
                else if (layout.count != calc::PeriodCount::Contractual)
                    formula += QStringLiteral("/%1").arg(row.divisor);
                // A piece a cap on the total cut is its amount as cut.
                if (row.uncapped > 0) {
                    worksheet_write_number(sheet, r, c, roubles(row.amount), money);
                    break;
                }
                const QByteArray f = QStringLiteral("=ROUND(%1,2)").arg(formula).toLatin1();
                worksheet_write_formula_num(sheet, r, c, f.constData(), money, roubles(row.amount));
                break;
            }
            }
        }
        ++r;
    }
    // The totals: the sum of the rounded pieces, the debt left, and both.
    const lxw_col_t amount = at(Column::Amount);
    const QChar column = letter(Column::Amount);
    const lxw_row_t sum = r + 1, left = r + 2, total = r + 3, fee = r + 4;
    const QStringList totals = totalLines(doc);
    text(sum, 0, totals.value(0).section(u':', 0, 0));
    const QByteArray sumFormula =
        QStringLiteral("=ROUND(SUM(%1%2:%1%3),2)").arg(column).arg(top + 2).arg(r).toLatin1();
    worksheet_write_formula_num(sheet, sum, amount, sumFormula.constData(), money,
                                roubles(doc.result.interest));
    text(left, 0, QStringLiteral("Остаток долга"));
    worksheet_write_number(sheet, left, amount, roubles(doc.result.remaining), money);
    text(total, 0, QStringLiteral("ИТОГО"), bold);
    const QByteArray totalFormula =
        QStringLiteral("=ROUND(%1%2+%1%3,2)").arg(column).arg(left + 1).arg(sum + 1).toLatin1();
    worksheet_write_formula_num(sheet, total, amount, totalFormula.constData(), money,
                                roubles(doc.result.remaining + doc.result.interest));
    text(fee, 0,
         doc.result.feeExemption.isEmpty()
             ? QStringLiteral("Государственная пошлина")
             : QStringLiteral("Государственная пошлина (%1)").arg(doc.result.feeExemption));
    const QByteArray feeText = feeFormula(QStringLiteral("%1%2").arg(column).arg(total + 1),
                                          doc.claim.court, calc::feeScaleFor(doc.claim.filed))
                                   .toLatin1();
    // A court order's half fee is written as counted: halving in a
    // spreadsheet's binary numbers could lose the half kopeck; an exemption
    // is no part of the scale's formula.
    if (doc.claim.courtOrder || !doc.result.feeExemption.isEmpty())
        worksheet_write_number(sheet, fee, amount, roubles(doc.result.fee), money);
    else
        worksheet_write_formula_num(sheet, fee, amount, feeText.constData(), money,
                                    roubles(doc.result.fee));
    text(fee + 2, 0, signatureLine(doc));

    // About a character per 1.1 % of the printed table's width.
    for (int c = 0; c < layout.percent.size(); ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), layout.percent[c] * 0.9, nullptr);
    if (workbook_close(book) != LXW_NO_ERROR)
        throw AppError(QStringLiteral("не удается составить таблицу .xlsx"));
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("не удается составить таблицу .xlsx"));
    return file.readAll();
}

} // namespace
} // namespace documents

DOLGOMER_EXPORT_MODULE_VERSION()

// The sheet's bytes into `bytes`; false with the reason in `error`. Nothing
// is thrown across the module's edge.
extern "C" Q_DECL_EXPORT bool dolgomerWriteSpreadsheet(const documents::ClaimDocument *doc,
                                                       QByteArray *bytes, QString *error) {
    try {
        const NumbersInCForm cForm; // the writer formats numbers with the C library
        *bytes = documents::writeSheet(*doc);
        return true;
    } catch (const AppError &e) {
        *error = e.message();
    } catch (const std::exception &e) {
        *error = QString::fromUtf8(e.what());
    }
    return false;
}
