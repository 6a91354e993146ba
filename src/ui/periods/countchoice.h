// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"

#include <QGroupBox>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QRadioButton;
class QSpinBox;

namespace ui {

class DatePicker;
class NumberField;

// What a calculation by periods counts ("Основание"): the statutory
// interest, a contractual penalty ("Неустойка", a percent a day), a penalty
// of a fraction of the key rate ("Пени", 1/N, at each period's rate or at one
// date's), or the penalty on housing bills (at which day's rate, the due day,
// whether a due date moves off a day off, the window of 2020), or another
// legal basis of the law's own rules. Only the chosen count's inputs are
// enabled.
class CountChoice : public QGroupBox {
    Q_OBJECT
public:
    explicit CountChoice(QWidget *parent);

    // The percent a day the penalty starts from (the window's daily rate),
    // and the one date's default (the filing date).
    void setDailyRate(const QString &percent);
    void setRateDate(QDate day);
    // Writes the count and its figures into `input`, or shows `input`'s.
    void fill(calc::PeriodInput &input) const;
    void show(const calc::PeriodInput &input);

    bool isHousing() const;

signals:
    void changed();
    // The user chose another basis (before `changed`): it may bring its usual court.
    void basisChosen();

private:
    void enableInputs();
    void fillBills(calc::PeriodInput &input) const;

    QButtonGroup *makeCounts();
    void makePenaltyInputs(QGridLayout *layout);
    void makeRateInputs(QGridLayout *layout);
    void makeHousingInputs(QGridLayout *layout);
    void makeOtherBasis(QGridLayout *layout, QButtonGroup *counts);
    void connectInputs();
    void makeOwnTerms(QGridLayout *layout);

    QRadioButton *statutory_, *contractual_, *keyFraction_, *housing_, *other_, *eachPeriod_,
        *oneDate_;
    QComboBox *otherBasis_;
    NumberField *dailyPercent_, *cap_, *fulfilled_, *insuredSum_;
    QComboBox *capUnit_;
    QSpinBox *fraction_, *contractFraction_;
    QLabel *fractionLabel_, *fulfilledLabel_, *insuredLabel_;
    DatePicker *rateDate_;
    QComboBox *rateDay_;
    DatePicker *housingRateDate_;
    QSpinBox *dueDay_;
    QCheckBox *shift_, *moratorium2020_;
};

} // namespace ui
