// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/widgets/focuschain.h"
#include "update/rateupdate.h"

#include <QDate>
#include <QObject>

class QFrame;
class QProgressBar;

namespace ui {

class Dialogs;
class LinkLabel;
class RatePanel;

// "Обновить через Интернет" at the foot of the rate panel: the link, the
// progress bar, and the update's outcome saved and shown, or told. The window
// stays usable while the pages load and are read; the panel waits disabled.
class RateUpdater : public QObject {
    Q_OBJECT
public:
    RateUpdater(RatePanel *rates, Dialogs &dialogs);
    ~RateUpdater() override;

    // Starts loading the pages.
    void start();
    // The rates the program carries put in the table as an update would,
    // and told; `newest`, the table's newest entry, decides whether the
    // stale-table line offers them, as does `missing`, a change they hold
    // that the table lacks (true: the user took them; false: the caller
    // opens the table).
    void takeKnown();
    bool offerKnown(QDate newest, QDate missing = {});

    // How long a load may take in all.
    void setTimeLimit(int ms) { update_.setTimeLimit(ms); }

    // On the rate panel, made with it.
    LinkLabel *updateLink();
    QProgressBar *progressBar();
    // The link in the window's keyboard order, after the rate grid.
    FocusLink &focusLink() { return focus_; }

signals:
    void started();
    // Back at rest, whatever the outcome, after any closing message.
    void finished();

private:
    void build(QFrame *panel);
    void take(const update::UpdateOutcome &outcome);
    // The end of an update: pointer, panel and bar back at rest.
    void rest();

    RatePanel *rates_;
    Dialogs &dialogs_;
    LinkLabel *updateLink_ = nullptr;
    QProgressBar *progressBar_ = nullptr;
    update::RateUpdate update_;
    bool busy_ = false;
    FocusLink focus_;
};

} // namespace ui
