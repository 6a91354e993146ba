// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ratesource.h"

#include <QDate>
#include <QObject>
#include <QStringList>
#include <memory>

// One refresh of the rate table from the central bank's pages, the same for
// the window and the command line: which pages, in what order, what they must
// give, and what the user is told when they do not.
namespace update {

// The table an update makes, or why it makes none.
struct UpdateOutcome {
    QStringList lines; // the new table, newest first; empty: nothing changes
    QString message;   // why nothing changes
    QString caption;

    bool succeeded() const { return !lines.isEmpty(); }
};

// Decides from both pages. The key rate page must give the changes since
// January 2016, or the table would stop years ago; the classic page gives the
// history before (the program's own when it gives none). A page with a rate
// that cannot be right (rates::pageRateProblem) changes nothing.
UpdateOutcome tableFromPages(const PageReading &classic, const PageReading &keyRate);

// Loads the classic page, then the key rate page, each read off the calling
// thread, and tells the outcome. Needs an event loop; the caller goes on.
class RateUpdate : public QObject, private RateSource::Listener {
    Q_OBJECT
public:
    static constexpr int kSteps = 7;

    explicit RateUpdate(QObject *parent = nullptr);
    ~RateUpdate() override;

    // The source, made on the first call with the browser's settings key;
    // raises AppError when the update module cannot be loaded.
    RateSource *source();
    void setTimeLimit(int ms) { timeLimitMs_ = ms; }
    // Starts with the addresses in the settings (`update_url`, `keyrate_url`)
    // or the bank's own; raises AppError when the module cannot be loaded.
    void start(QDate today);
    bool isRunning() const { return running_; }

signals:
    // How far the update is, 1 to kSteps.
    void progressed(int step);
    // The update has ended.
    void finished(const update::UpdateOutcome &outcome);

private:
    void downloadBegan() override;
    void pageRead() override;
    void step();

    std::unique_ptr<RateSource> source_;
    int timeLimitMs_ = RateSource::kTimeLimitMs;
    bool running_ = false;
    int step_ = 0;
    QDate today_;
    PageKind stage_ = PageKind::Classic;
    PageReading classic_;
};

} // namespace update
