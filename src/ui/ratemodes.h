#pragma once

#include "calc/penalty.h"

#include <QObject>

class QGroupBox;
class QLabel;
class QSlider;
class QWidget;

namespace ui {

class ClickableField;
class LinkLabel;
class NumberField;

// The two ways the claim is charged: the statutory rate (the refinancing rate
// over a day divisor) or a contractual daily rate. Until one is chosen both
// links show and the statutory group waits below the window's edge. The
// divisor and the contractual rate are stored when the window is closed.
class RateModes : public QObject {
    Q_OBJECT
public:
    explicit RateModes(QWidget *window);

    // Shows a mode's group with the stored value it had last time.
    void chooseStatutory();
    void chooseContractual();
    // The statutory mode is on while its group is not hidden.
    bool isStatutory() const;

    void setRefinancingRate(const QString &rate);
    // Normalises the daily rate as leaving its field does.
    void normaliseDailyRate();
    // Writes the mode, the rate and the divisor into `input`.
    void fill(calc::CalcInput &input) const;
    // Stores the divisor and the contractual rate; raises AppError when the
    // settings cannot be written.
    void storeSettings() const;

    ClickableField *refinancingRateField() const { return refinancingRateField_; }
    QSlider *divisorSlider() const { return divisorSlider_; }
    NumberField *dailyRateField() const { return dailyRateField_; }
    LinkLabel *statutoryLink() const { return statutoryLink_; }
    LinkLabel *contractualLink() const { return contractualLink_; }

signals:
    // The refinancing rate field was clicked or got the focus: the rate table
    // is asked for.
    void rateTableWanted();
    // The open panels should close (the daily rate field or the contractual
    // mode was chosen).
    void panelsDismissed();

private:
    void selectRefinancingRate();
    void showDivisor(int divisor);
    void showBackLink(LinkLabel *link, const QGroupBox *box);

    LinkLabel *statutoryLink_;
    LinkLabel *contractualLink_;
    QGroupBox *statutoryBox_;
    ClickableField *refinancingRateField_;
    QSlider *divisorSlider_;
    QLabel *divisorLabel_;
    QGroupBox *contractualBox_;
    NumberField *dailyRateField_;
};

} // namespace ui
