// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"
#include "ui/rates/rateeditor.h"
#include "ui/widgets/dialogs.h"
#include "ui/widgets/focuschain.h"

#include <QDate>
#include <QPointer>
#include <QWidget>
#include <memory>

class QLabel;

namespace ui {

class ClaimInputs;
class HoverIcon;
class LinkLabel;
class PeriodsDialog;
class RateModes;
class RatePanel;
class RateUpdater;
class ReportView;

// The program's one window. It places the parts and wires them; what each
// part does lives in the part. Left to the window are start-up, the
// calculation that reads every part, the background and closing.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    // `boxes` answers the window's message boxes (the real ones when null);
    // `contactAddress` is where "Для связи:" writes to (none: no such link).
    explicit MainWindow(MessageBoxes *boxes = nullptr, QWidget *parent = nullptr,
                        const QString &contactAddress = builtContactAddress());
    // The address the build was given (empty when none).
    static QString builtContactAddress();
    ~MainWindow() override;

    // Sizes are outer sizes, frame included: the window's heights are worked
    // out from its controls' places plus the frame; the client area is this
    // much smaller.
    static constexpr int kFrameWidth = 6;
    static constexpr int kFrameHeight = 25;
    int outerHeight() const;
    void setOuterHeight(int height);

    // Computes the claim from the parts and shows the report.
    void calculate();
    // Prints the report ("Печать", Ctrl+P).
    void print();
    // Closes the open panels and lets the rate field be clicked again.
    void closePanels();
    void leavePanels();
    // Opens the rate table at the entry in force on the period's end.
    void openRatePanel();
    // Closes the window; closing stores the mode settings.
    void closeWindow();
    // Opens "Расчет по периодам" for the window's claim.
    void openPeriods();
    // Opens it with a claim saved before (a file given to the program).
    void openClaimFile(const QString &path);
    // The day a claim counted here goes to court, which picks its fee scale:
    // today, unless `fileOn` named another day (a claim of past years counted
    // as it was filed then).
    QDate filingDate() const;
    void fileOn(QDate day) { filingDay_ = day; }
    // The general error report.
    void reportError(const QString &message) { dialogs_.reportError(message); }

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void createActions();
    void createShortcuts();
    // Esc: the open rate table or entry editor closes.
    void closeOpenPanel();
    void createContact();
    void wireParts();
    void startUp();
    void showPicture();
    void placeInKeyboardOrder();
    void makeRoomForEditor(RateEditor::Mode mode);
    void showChosenEntry(QDate date, const QString &rate);
    void writeToUs();
    // Shows or hides the note on a table older than the period.
    void checkTableAge();
    // The mouse over the bare background: icons and action links at rest.
    void resetHoverLook();

    FocusLink topFocus_, actionsFocus_;
    QPointer<QWidget> panelOpener_; // had the keyboard when the rate table opened
    std::unique_ptr<MessageBoxes> ownBoxes_;
    Dialogs dialogs_;
    ClaimInputs *claimInputs_;
    RateModes *rateModes_;
    HoverIcon *calculateIcon_, *closeIcon_;
    LinkLabel *calculateLink_, *closeLink_, *periodsLink_, *helpLink_;
    ReportView *reportView_;
    QString contactAddress_;
    LinkLabel *contactLink_ = nullptr; // none without an address
    // "Ставки в таблице — по …": shown while the table may lack the rates of
    // the period's end.
    LinkLabel *staleNote_;
    QLabel *picture_;
    RatePanel *ratePanel_;
    RateUpdater *rateUpdater_;
    RateEditor *rateEditor_;
    PeriodsDialog *periodsDialog_ = nullptr; // made when first opened
    QDate filingDay_;
    QList<calc::RatePoint> tablePoints_; // the rate table's usable entries
    QDate newestEntry_;                  // of the rate table
};

} // namespace ui
