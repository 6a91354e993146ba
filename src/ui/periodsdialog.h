// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"
#include "reportprinter.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QTableWidget;
class QTextEdit;

namespace ui {

class DatePicker;
class Dialogs;
class NumberField;

// "Расчет по периодам": the statutory interest as courts count it today, for
// the window's debt, period and court, with partial payments and the
// moratorium of 2022. The report follows every change; it can be copied,
// printed or saved as PDF over as many pages as it takes. Esc closes it.
class PeriodsDialog : public QDialog {
    Q_OBJECT
public:
    PeriodsDialog(QWidget *parent, Dialogs &dialogs);

    // The claim to count: debt, period, court and the rate table; payments
    // entered before are kept while they lie inside the period.
    void setClaim(const calc::PeriodInput &claim);

    const QStringList &reportLines() const { return lines_; }
    const QList<calc::Payment> &payments() const { return payments_; }

    // The payments editor: the date and amount fields and the grid.
    DatePicker *paymentDate() const { return paymentDate_; }
    NumberField *paymentAmount() const { return paymentAmount_; }
    QTableWidget *paymentsGrid() const { return grid_; }
    QCheckBox *moratoriumBox() const { return moratorium_; }
    // "Дата подачи": the claim's fee scale follows it.
    DatePicker *filingDate() const { return filingDate_; }
    // What the user should know of the calculation, above the report: a rate
    // table older than the period, rates of the deposit span.
    QLabel *notes() const { return notes_; }
    QTextEdit *reportBox() const { return report_; }
    ReportPrinter &printer() { return printer_; }

    void addPayment();
    void changePayment();
    void deletePayment();
    void copyReport();
    void printReport();
    void saveReportPdf();

private:
    // A payment from the fields, or false after telling what is wrong.
    bool paymentFromFields(calc::Payment &payment);
    // Puts a payment at its place in date order; returns that place.
    int insertPayment(const calc::Payment &payment);
    void showPayments(int select = -1);
    void showChosenPayment();
    void recalculate();

    Dialogs &dialogs_;
    calc::PeriodInput claim_;
    QList<calc::Payment> payments_;
    QStringList lines_;
    QLabel *summary_;
    QTableWidget *grid_;
    DatePicker *paymentDate_;
    NumberField *paymentAmount_;
    QCheckBox *moratorium_;
    DatePicker *filingDate_;
    QLabel *notes_;
    QTextEdit *report_;
    ReportPrinter printer_;
};

} // namespace ui
