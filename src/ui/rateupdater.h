// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "update/ratesource.h"

#include <QObject>
#include <QStringList>
#include <memory>

class QFrame;
class QProgressBar;

namespace ui {

class Dialogs;
class LinkLabel;
class RatePanel;

// Refreshes the rate table from the central bank's pages: the link and the
// progress bar at the foot of the rate panel, the page loader, reading the
// classic rate page and the key rate page, saving the table and showing it. The window stays usable
// while the page loads; the panel waits disabled.
class RateUpdater : public QObject, private update::RateSource::Listener {
    Q_OBJECT
public:
    RateUpdater(RatePanel *rates, Dialogs &dialogs);
    ~RateUpdater() override;

    // Starts loading the page (the address in `update_url` when set).
    void start();

    // The source is made on the first update, and with it the browser's
    // settings key; until then the program never touches the network.
    update::RateSource *rateSource();
    // How long a load may take in all.
    void setTimeLimit(int ms) { timeLimitMs_ = ms; }

    // On the rate panel, made with it.
    LinkLabel *updateLink();
    QProgressBar *progressBar();

signals:
    void started();
    // Back at rest, whatever the outcome, after any closing message.
    void finished();

private:
    void build(QFrame *panel);
    template <class Step> void step(Step &&run);
    void downloadBegan() override;
    void documentCompleted() override;
    void takePage();
    void takeClassicPage();
    void takeKeyRatePage();
    void advance();
    // The end of an update: pointer, panel and bar back at rest.
    void rest();
    // What the update says when the page is not the bank's.
    void connectionFailure();

    RatePanel *rates_;
    Dialogs &dialogs_;
    LinkLabel *updateLink_ = nullptr;
    QProgressBar *progressBar_ = nullptr;
    std::unique_ptr<update::RateSource> source_;
    int timeLimitMs_;
    bool running_ = false;
    // An update loads the classic rate page, then the key rate page.
    enum class Stage { ClassicPage, KeyRatePage };
    Stage stage_ = Stage::ClassicPage;
    QStringList classicLines_;
};

} // namespace ui
