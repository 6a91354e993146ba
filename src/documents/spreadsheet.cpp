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

// A sheet holds so many rows; a table longer than that is refused before
// anything is written, never cut short without its totals.
void checkRowCount(const ClaimDocument &doc, qsizetype headingLines) {
    const qint64 needed = headingLines + 2 + doc.result.rows.size() + 6;
    if (needed > LXW_ROW_MAX)
        throw AppError(QStringLiteral("в таблице .xlsx может быть не больше %1 строк, а в этом "
                                      "расчете их %2; сохраните его в PDF или ODT")
                           .arg(LXW_ROW_MAX)
                           .arg(needed));
}

// One workbook being written: its formats, the table's layout, the cells
// by what they hold; a formula names them by their letters.
class SheetWriter {
public:
    SheetWriter(lxw_workbook *book, const ClaimDocument &doc)
        : book_(book), doc_(doc), layout_(tableLayout(doc.claim)),
          sheet_(workbook_add_worksheet(book, "Расчет")) {
        format_set_bold(bold_);
        format_set_num_format(money_, "#,##0.00"); // digit groups in the reader's own style
        format_set_num_format(date_, "dd.mm.yyyy");
        format_set_bold(title_);
        format_set_text_wrap(title_);
        format_set_border(title_, LXW_BORDER_THIN);
        format_set_num_format(percent_, "0.00########%");
    }

    void write(const QStringList &heading) {
        for (int i = 0; i < heading.size(); ++i)
            text(lxw_row_t(i), 0, heading[i], i == 0 ? bold_ : nullptr);
        const lxw_row_t top = lxw_row_t(heading.size() + 1);
        for (int c = 0; c < layout_.titles.size(); ++c)
            text(top, lxw_col_t(c), layout_.titles[c], title_);
        lxw_row_t r = top + 1;
        for (const calc::PeriodRow &row : doc_.result.rows)
            writeRow(r++, row);
        writeTotals(top + 2, r);
        // About a character per 1.1 % of the printed table's width.
        for (int c = 0; c < layout_.percent.size(); ++c)
            worksheet_set_column(sheet_, lxw_col_t(c), lxw_col_t(c), layout_.percent[c] * 0.9,
                                 nullptr);
    }

private:
    lxw_format *newFormat() { return workbook_add_format(book_); }
    void text(lxw_row_t r, lxw_col_t c, const QString &s, lxw_format *f = nullptr) {
        worksheet_write_string(sheet_, r, c, s.toUtf8().constData(), f);
    }
    lxw_col_t at(Column c) const { return lxw_col_t(layout_.indexOf(c)); }
    QChar letter(Column c) const { return QChar(u'A' + layout_.indexOf(c)); }
    void money(lxw_row_t r, lxw_col_t c, qint64 kopecks) {
        worksheet_write_number(sheet_, r, c, roubles(kopecks), money_);
    }
    void formula(lxw_row_t r, lxw_col_t c, const QString &f, qint64 kopecks) {
        worksheet_write_formula_num(sheet_, r, c, f.toLatin1().constData(), money_,
                                    roubles(kopecks));
    }

    // The cells as every format spans them; a single cell holds a number or
    // a date where the column has one.
    void writeRow(lxw_row_t r, const calc::PeriodRow &row) {
        for (const TableCell &cell : tableCells(row, layout_)) {
            const lxw_col_t c = lxw_col_t(cell.first);
            if (cell.last > cell.first)
                worksheet_merge_range(sheet_, r, c, r, lxw_col_t(cell.last),
                                      cell.text.toUtf8().constData(), nullptr);
            else
                writeCell(r, c, layout_.columns[cell.first], row, cell.text);
        }
    }

    void writeCell(lxw_row_t r, lxw_col_t c, Column column, const calc::PeriodRow &row,
                   const QString &shown) {
        lxw_datetime when = day(column == Column::From ? row.from : row.to);
        switch (column) {
        case Column::Debt:
            return money(r, c, row.debt);
        case Column::From:
        case Column::To:
            worksheet_write_datetime(sheet_, r, c, &when, date_);
            return;
        case Column::Days:
            worksheet_write_number(sheet_, r, c, row.days, nullptr);
            return;
        case Column::Rate:
            // A number a formula can use: 8,75 % is 0.0875.
            worksheet_write_number(
                sheet_, r, c, QString(row.rate).replace(u',', u'.').toDouble() / 100, percent_);
            return;
        case Column::Share:
            if (layout_.count == calc::PeriodCount::Statutory)
                worksheet_write_number(sheet_, r, c, row.divisor, nullptr);
            else
                text(r, c, shown);
            return;
        case Column::Amount:
            return writeAmount(r, c, row);
        }
    }

    // debt × days × rate / the year's days (or / N), to the kopeck, cached
    // with the program's exact kopecks; a piece a cap on the total cut is
    // its amount as cut.
    void writeAmount(lxw_row_t r, lxw_col_t c, const calc::PeriodRow &row) {
        if (row.uncapped > 0) return money(r, c, row.amount);
        const int n = int(r) + 1;
        QString f = QStringLiteral("%1%4*%2%4*%3%4")
                        .arg(letter(Column::Debt), letter(Column::Days), letter(Column::Rate))
                        .arg(n);
        if (layout_.count == calc::PeriodCount::Statutory)
            f += QStringLiteral("/%1%2").arg(letter(Column::Share)).arg(n);
        else if (layout_.count != calc::PeriodCount::Contractual)
            f += QStringLiteral("/%1").arg(row.divisor);
        formula(r, c, QStringLiteral("=ROUND(%1,2)").arg(f), row.amount);
    }

    // The totals: the sum of the rounded pieces (rows `first` to `last`, as
    // a sheet numbers them), the debt left, both, and the court fee.
    void writeTotals(lxw_row_t first, lxw_row_t last) {
        const calc::PeriodResult &result = doc_.result;
        const lxw_col_t amount = at(Column::Amount);
        const QChar column = letter(Column::Amount);
        const lxw_row_t sum = last + 1, left = last + 2, total = last + 3, fee = last + 4;
        text(sum, 0, totalLines(doc_).value(0).section(u':', 0, 0));
        formula(sum, amount,
                QStringLiteral("=ROUND(SUM(%1%2:%1%3),2)").arg(column).arg(first).arg(last),
                result.interest);
        text(left, 0, QStringLiteral("Остаток долга"));
        money(left, amount, result.remaining);
        text(total, 0, QStringLiteral("ИТОГО"), bold_);
        formula(total, amount,
                QStringLiteral("=ROUND(%1%2+%1%3,2)").arg(column).arg(left + 1).arg(sum + 1),
                result.remaining + result.interest);
        text(fee, 0,
             result.feeExemption.isEmpty()
                 ? QStringLiteral("Государственная пошлина")
                 : QStringLiteral("Государственная пошлина (%1)").arg(result.feeExemption));
        // A court order's half fee is written as counted: halving in a
        // spreadsheet's binary numbers could lose the half kopeck; an
        // exemption is no part of the scale's formula.
        if (doc_.claim.courtOrder || !result.feeExemption.isEmpty())
            money(fee, amount, result.fee);
        else
            formula(fee, amount,
                    feeFormula(QStringLiteral("%1%2").arg(column).arg(total + 1), doc_.claim.court,
                               calc::feeScaleFor(doc_.claim.filed)),
                    result.fee);
        text(fee + 2, 0, signatureLine(doc_));
    }

    lxw_workbook *book_;
    const ClaimDocument &doc_;
    const TableLayout layout_;
    lxw_worksheet *sheet_;
    lxw_format *bold_ = newFormat(), *money_ = newFormat(), *date_ = newFormat(),
               *title_ = newFormat(), *percent_ = newFormat();
};

QByteArray writeSheet(const ClaimDocument &doc) {
    const QStringList heading = headingLines(doc);
    checkRowCount(doc, heading.size());
    QTemporaryDir dir;
    const QByteArray path = (dir.path() + QStringLiteral("/claim.xlsx")).toLocal8Bit();
    lxw_workbook *book = workbook_new(path.constData());
    if (!book) throw AppError(QStringLiteral("не удается составить таблицу .xlsx"));
    SheetWriter(book, doc).write(heading);
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
