// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"
#include "documents/claimdocument.h"
#include "ui/periods/claimfiles.h"
#include "ui/periods/claimoptions.h"
#include "ui/periods/claimterms.h"
#include "ui/periods/countchoice.h"
#include "ui/periods/countrunner.h"
#include "ui/periods/papermaker.h"
#include "ui/periods/periodentries.h"
#include "ui/periods/reporttable.h"
#include "ui/print/reportprinter.h"

#include <QByteArray>
#include <QDialog>
#include <optional>

class QLabel;
class QScrollArea;
class QVBoxLayout;

namespace ui {

class Dialogs;
class NumberField;

// "Расчет по периодам": the statutory interest as courts count it today, or
// a contractual penalty or a penalty of a fraction of the key rate, for the
// window's debt, period and court, with payments, debt increases and the
// moratorium of 2022; or the penalty on housing bills, charged by month and
// counted to the filing date. The report follows every change; it can be copied,
// printed or saved as a table (PDF, OpenDocument text, spreadsheet) over as
// many pages as it takes. Esc closes it.
class PeriodsDialog : public QDialog {
    Q_OBJECT
public:
    PeriodsDialog(QWidget *parent, Dialogs &dialogs);

    // The claim to count: debt, period, court, filing date and the rate
    // table; entries made before are kept while they lie inside the period.
    // `dailyRate` is the window's, which the penalty starts from.
    void setClaim(const calc::PeriodInput &claim, const QString &dailyRate = QString());

    // The report's lines of the claim as it stands now (a count still
    // waiting is made first); none while the claim cannot be counted.
    const QStringList &reportLines();

    // Whether the report shown is older than the claim (a count waits or runs).
    bool isCounting() const { return counter_->isCounting(); }

    // Tests print into files instead of the default printer.
    ReportPrinter &printer() { return printer_; }

    // F9, Ctrl+Enter: counts the claim as it is typed now.
    void countNow();
    // "Копировать": the report's text lines, for pasting anywhere.
    void copyReport();
    // "Печать": the table, its header on every page.
    void printReport();
    // "Сохранить как...": the table as PDF, .docx, OpenDocument text or .xlsx, or
    // the text lines (.txt), by the file name's extension (.pdf when none).
    void saveReportAs();

    // The claim as the dialog holds it now: the window's, with the entries,
    // the count, the moratorium choice and the filing date made here.
    calc::PeriodInput currentClaim() const;
    // "Сохранить расчет...": the whole claim in a file of its own; false when
    // nothing was saved (cancelled, or told why).
    bool saveClaim();
    // "Открыть расчет...", or a file given to the program: the claim in the
    // file replaces the dialog's; a file that cannot be used is told and
    // changes nothing.
    void openClaim();
    bool openClaim(const QString &path);
    // A claim already read from its file, as opening it shows it.
    void showSaved(calc::PeriodInput claim);
    // Whether the claim changed since it was shown, saved or opened.
    bool hasUnsavedChanges() const;
    // Closing: changes not saved are asked about (Сохранить / Не сохранять /
    // Отмена); Отмена keeps the dialog open.
    void reject() override;

signals:
    // The debt, the period or the court changed here: the window holds them too.
    void termsChanged(const calc::PeriodInput &claim);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void makeReport(QVBoxLayout *layout);
    void placeOverOwner();
    void connectParts();
    // Edits wait for a pause in typing; a claim shown anew counts at once.
    enum class Counting { AfterPause, AtOnce };
    void recalculate(Counting when = Counting::AfterPause);
    void showCount(const CountOutcome &outcome);
    void followHousing();
    void showClaim();

    Dialogs &dialogs_;
    calc::PeriodInput claim_;
    QByteArray baseline_; // the claim as last shown, saved or opened
    // The claim as shown and counted; none while it cannot be counted.
    std::optional<documents::ClaimDocument> shown_;
    QLabel *summary_;
    PeriodEntries *entries_;
    CountChoice *count_;
    ClaimOptions *options_;
    ClaimTerms *terms_;
    QScrollArea *scroll_;
    bool sized_ = false; // sized to its content once, when first shown
    QLabel *notes_;
    QStringList gapNotes_; // the rate table's gaps in the claim's period
    CountRunner *counter_;
    QLabel *status_;
    ReportTable *report_;
    ReportPrinter printer_;
};

} // namespace ui
