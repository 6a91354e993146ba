// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace ui {

class DatePicker;
class Dialogs;
class PartiesSection;

// The claim's choices beside its entries: the moratorium of 2022, the day
// the debt arose (which decides the moratorium), the filing date (which
// decides the fee's scale), the court order (half the fee) and the days
// the user says accrue nothing ("Периоды без начисления"); the parties and
// the court of the claim's papers ("Стороны").
class ClaimOptions : public QWidget {
    Q_OBJECT
public:
    ClaimOptions(QWidget *parent, Dialogs &dialogs);

    // The choices made here, over the claim `in`; the day the debt arose is
    // none while it is the period's start.
    void fill(calc::PeriodInput &in) const;
    // A claim's filing date and day of arising, told to no one.
    void showDates(const calc::PeriodInput &claim);
    // A saved claim's moratorium (where it may apply), court order and windows.
    void showChoices(const calc::PeriodInput &claim);
    // The moratorium can be asked for while any debt of the claim arose by
    // its first day; otherwise every debt accrues through it. Returns
    // whether it is asked for now.
    bool followMoratorium(const calc::PeriodInput &claim);
    // "Взыскать и основной долг" is the claimant's to choose on a basis that
    // leaves it to them (a prepayment, an indemnity), off elsewhere.
    void followBasis(const calc::PeriodInput &claim);
    // Housing bills are their own debts: the day the debt arose plays no part.
    void setHousing(bool housing);
    // Opens "Стороны" for a paper that lacks a party.
    void openParties();
    // The button of the papers, beside "Стороны".
    void addPaperButton(QWidget *button);

signals:
    void changed();

private:
    void makeWindows(QLayout *layout);
    void readWindows();
    void showWindows(const QList<calc::DaySpan> &windows);

    Dialogs &dialogs_;
    QList<calc::DaySpan> windows_; // as last read from their field
    QLineEdit *windowsField_;
    QCheckBox *moratorium_, *courtOrder_, *continuing_, *claimBase_;
    DatePicker *filingDate_, *debtArose_;
    QLabel *debtAroseLabel_;
    PartiesSection *parties_;
};

} // namespace ui
