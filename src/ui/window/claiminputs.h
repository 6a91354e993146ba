// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/penalty.h"
#include "calc/periodinterest.h"
#include "ui/widgets/focuschain.h"

#include <QObject>

class QLabel;
class QRadioButton;
class QSlider;
class QWidget;

namespace ui {

class DatePicker;
class NumberField;

// What the claim is about: the debt with tax, the tax rate, the period of
// delay and the court. Its controls sit in the window's top left corner.
class ClaimInputs : public QObject {
    Q_OBJECT
public:
    explicit ClaimInputs(QWidget *window);

    // Both dates today and the debt selected, as the window opens.
    void reset();
    // Normalises the debt as leaving its field does.
    void normaliseDebt();
    // Writes the debt, the dates, the tax rate and the court into `input`.
    void fill(calc::CalcInput &input) const;
    // Shows a saved claim's debt, period and court.
    void show(const calc::PeriodInput &claim);
    QDate periodStartDate() const;
    QDate periodEndDate() const;
    // The keyboard on the period's last day (the rate it is charged at follows it).
    void focusPeriodEnd(Qt::FocusReason reason);

    // In the window's keyboard order the rate table and its editor come
    // after the period, the report and the mode inputs after the tax rate.
    FocusLink &periodFocus() { return periodFocus_; }
    FocusLink &courtFocus() { return courtFocus_; }

signals:
    // The last day of the delay changed: the rate in force may be another.
    void periodEndChanged(QDate end);
    // The first day changed: the days whose rates the claim takes are others.
    void periodStartChanged(QDate start);
    // A click on one of the fields, which closes the open panels.
    void clicked();

private:
    void showTaxRate(int percent);

    NumberField *debtField_;
    QSlider *taxSlider_;
    QLabel *taxRateLabel_;
    DatePicker *periodStart_;
    DatePicker *periodEnd_;
    QRadioButton *arbitrationCourt_;
    QRadioButton *generalCourt_;
    FocusLink periodFocus_, courtFocus_;
};

} // namespace ui
