// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/penalty.h"
#include "storage/modesettings.h"
#include "ui/widgets/focuschain.h"

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
// links show and the statutory mode is on, its group out of sight below the
// window's edge, where the keyboard never goes. The groups are made when first
// wanted; until then the mode keeps their values. The divisor and the
// contractual rate are stored when the window is closed.
class RateModes : public QObject {
    Q_OBJECT
public:
    explicit RateModes(QWidget *window);

    // Shows a mode's group with the stored value it had last time.
    void chooseStatutory();
    void chooseContractual();
    // The statutory mode is on until the contractual one is chosen.
    bool isStatutory() const;

    void setRefinancingRate(const QString &rate);
    // Normalises the daily rate as leaving its field does.
    void normaliseDailyRate();
    // Writes the mode, the rate and the divisor into `input`.
    void fill(calc::CalcInput &input) const;
    // Stores the divisor and the contractual rate; raises AppError when the
    // settings cannot be written.
    void storeSettings() const;

    // The groups' inputs, made with their group on the first call.
    ClickableField *refinancingRateField();
    // The rate the claim is charged at now.
    QString refinancingRateText() const;
    QSlider *divisorSlider();
    NumberField *dailyRateField();
    // The refinancing rate field takes clicks, or not (while the table is open).
    void setRateFieldEnabled(bool enabled);
    // The groups' inputs in the window's keyboard order.
    FocusLink &focusLink() { return focus_; }
    // What follows the rate field, after the rate table it opens: the
    // divisor and the other mode's link.
    FocusLink &afterRateFocus() { return afterRate_; }

signals:
    // The refinancing rate field was clicked or got the focus: the rate table
    // is asked for.
    void rateTableWanted();
    // The open panels should close (the daily rate field or the contractual
    // mode was chosen).
    void panelsDismissed();

private:
    void makeStatutoryBox();
    void makeContractualBox();
    void placeInOrder();
    QString divisorText() const;
    QString dailyRateText() const;
    void selectRefinancingRate();
    void showDivisor(int divisor);
    void showBackLink(LinkLabel *link, const QGroupBox *box);

    QWidget *window_;
    FocusLink focus_, afterRate_;
    LinkLabel *statutoryLink_;
    LinkLabel *contractualLink_;
    QGroupBox *statutoryBox_ = nullptr;
    ClickableField *refinancingRateField_ = nullptr;
    QSlider *divisorSlider_ = nullptr;
    QLabel *divisorLabel_ = nullptr;
    QGroupBox *contractualBox_ = nullptr;
    NumberField *dailyRateField_ = nullptr;
    // The refinancing rate while its field is not made.
    QString refinancingRate_ = storage::kInitialRefinancingRate;
    // The mode the user chose; until then both groups count as shown (the
    // statutory one on, out of sight) whether they are made or not.
    enum class Mode { None, Statutory, Contractual };
    Mode chosen_ = Mode::None;
};

} // namespace ui
