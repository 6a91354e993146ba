// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"

#include <QWidget>

class QComboBox;
class QTableWidget;

namespace ui {

class DatePicker;
class Dialogs;
class NumberField;

// The dated entries of a calculation by periods: payments, which lower the
// debt from the next day, and increases (invoices overdue from their own
// day), which raise it from that day. A grid shows them (date, amount, which
// kind) in date order, a day's as entered; the fields below it add, change
// and delete them, by mouse and keyboard (Delete on the grid).
class PeriodEntries : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Payment, Increase };
    struct Entry {
        Kind kind = Kind::Payment;
        calc::Payment payment;
    };

    PeriodEntries(QWidget *parent, Dialogs &dialogs);

    // The period entries must lie in; those outside it are dropped, and the
    // date field goes to its first day.
    void setPeriod(QDate start, QDate end);
    QList<calc::Payment> payments() const { return of(Kind::Payment); }
    QList<calc::Payment> increases() const { return of(Kind::Increase); }

    // Replaces the entries (a claim opened from its file).
    void setEntries(const QList<calc::Payment> &payments, const QList<calc::Payment> &increases);

    // From the fields; a bad entry is told and changes nothing.
    void add();
    void change();
    void remove();

    QTableWidget *grid() const { return grid_; }
    DatePicker *date() const { return date_; }
    NumberField *amount() const { return amount_; }
    QComboBox *kind() const { return kind_; }
    DatePicker *arose() const { return arose_; }

signals:
    void changed();

private:
    QList<calc::Payment> of(Kind kind) const;
    bool fromFields(Entry &entry);
    int insert(const Entry &entry);
    void show(int select = -1);
    void showChosen();

    Dialogs &dialogs_;
    QDate start_, end_;
    QList<Entry> entries_;
    QTableWidget *grid_;
    DatePicker *date_;
    NumberField *amount_;
    QComboBox *kind_;
    DatePicker *arose_;
    QDate shownDate_; // the entry date the day it arose follows
};

} // namespace ui
