// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"

#include <QWidget>

class QCheckBox;
class QGridLayout;
class QHBoxLayout;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QTableWidget;

namespace ui {

class DatePicker;
class Dialogs;
class NumberField;

// The dated entries of a calculation by periods: payments, which lower the
// debt from the next day, and increases (invoices overdue from their own
// day), which raise it from that day; for housing bills, the charges of each
// month instead of increases, and payments that may name the month they pay.
// A grid shows them (date, amount, which kind) in date order, a day's as
// entered; the fields below it add, change and delete them, by mouse and
// keyboard (Delete on the grid); "Заполнить…" charges a range of months.
class PeriodEntries : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Payment, Increase, Charge }; // as the kind list holds them
    struct Entry {
        Kind kind = Kind::Payment;
        calc::Payment payment;
    };

    PeriodEntries(QWidget *parent, Dialogs &dialogs);

    // The period entries must lie in; those outside it are dropped, and the
    // date field goes to its first day.
    void setPeriod(QDate start, QDate end);
    // The period as the user edits it: new entries are checked against it;
    // those made before stay (the count names any it leaves outside).
    void followPeriod(QDate start, QDate end) {
        start_ = start;
        end_ = end;
    }
    QList<calc::Payment> payments() const { return of(Kind::Payment); }
    QList<calc::Payment> increases() const { return of(Kind::Increase); }
    QList<calc::Charge> charges() const;

    // Housing bills: charges are entered, not increases, entries are kept
    // whatever the period, and a payment may name its month.
    void setHousing(bool housing);

    // Replaces the entries (a claim opened from its file).
    void setEntries(const QList<calc::Payment> &payments, const QList<calc::Payment> &increases,
                    const QList<calc::Charge> &charges = {});
    // The same charge for each month from `from` to `to` (any days of
    // them); told and nothing added when it cannot be.
    bool fillCharges(QDate from, QDate to, const QString &amount);

    // From the fields; a bad entry is told and changes nothing.
    void add();
    void change();
    void remove();
    // Ctrl+V on the grid: rows of dates and amounts from the clipboard (a
    // spreadsheet's, a bank statement's) become payments; those the grid's
    // rule refuses are listed in one message, and past the entry limit
    // nothing is added.
    void pasteRows();
    void pasteRows(const QString &text);

signals:
    void changed();

protected:
    // Enter in the month field adds the entry, as in the amount.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void makeGrid();
    void makeFields();
    void makeButtons(QGridLayout *layout, QHBoxLayout *besideMonth);
    QList<calc::Payment> of(Kind kind) const;
    bool fromFields(Entry &entry);
    int insert(const Entry &entry);
    void show(int select = -1);
    void showChosen();
    void followKind();
    void askFill();

    Dialogs &dialogs_;
    QDate start_, end_;
    QList<Entry> entries_;
    QTableWidget *grid_;
    DatePicker *date_;
    NumberField *amount_;
    QComboBox *kind_;
    DatePicker *arose_;
    QLabel *title_, *aroseLabel_;
    QCheckBox *forMonth_;
    QDateEdit *month_;
    QPushButton *fill_;
    bool housing_ = false;
    QDate shownDate_; // the entry date the day it arose follows
};

} // namespace ui
