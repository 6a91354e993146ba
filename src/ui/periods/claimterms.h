// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"

#include <QWidget>

class QComboBox;

namespace ui {

class DatePicker;
class NumberField;

// The claim's terms the main window holds too, editable here: the debt, the
// period of delay and the court. The same fields, limits and names as the
// window's; what is changed here goes back to the window.
class ClaimTerms : public QWidget {
    Q_OBJECT
public:
    explicit ClaimTerms(QWidget *parent);

    // Shows the claim's debt, period and court, told to no one.
    void showTerms(const calc::PeriodInput &claim);
    // The terms over the claim `in`; an amount being typed counts as typed.
    void fill(calc::PeriodInput &in) const;
    // Housing bills are their own debts, counted to the filing date: the
    // debt and the period play no part.
    void setHousing(bool housing);

signals:
    void changed();

private:
    NumberField *debt_;
    DatePicker *start_, *end_;
    QComboBox *court_;
};

} // namespace ui
