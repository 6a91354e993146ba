// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "documents/claimdocument.h"

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>
#include <optional>

namespace ui {

// What one count of a claim gives: its document, or why it cannot be counted.
struct CountOutcome {
    quint64 serial = 0; // which request it answers
    std::optional<documents::ClaimDocument> document;
    QString problem;
};

// Counts the periods claim off the window's thread, so that typing never
// waits for a claim of thousands of payments. A change waits a short pause
// for the next keystroke; the newest claim wins and a count a newer change
// overtook is thrown away. `settle` shows the claim as it stands now, for
// what must not use an older count: copying, printing, saving.
class CountRunner : public QObject {
    Q_OBJECT
public:
    explicit CountRunner(QObject *parent);
    ~CountRunner() override; // a count still running is waited for

    // The claim changed: counted after the pause, unless it changes again.
    void request(const calc::PeriodInput &claim);
    // A claim opened or shown anew: counted at once, still off the thread.
    void requestNow(const calc::PeriodInput &claim);
    // A count waiting or running is finished here and shown before this returns.
    void settle();
    // Whether the report shown is older than the claim.
    bool isCounting() const { return shownSerial_ != serial_; }

signals:
    // The claim changed; the report shown is out of date until `counted`.
    void outOfDate();
    void counted(const CountOutcome &outcome);

private:
    void start();
    void finished();
    void show(const CountOutcome &outcome);

    QTimer pause_;
    QFutureWatcher<CountOutcome> watcher_;
    std::optional<calc::PeriodInput> waiting_; // the newest claim, not yet counting
    quint64 serial_ = 0;                       // the newest claim's
    quint64 shownSerial_ = 0;                  // the report's
};

} // namespace ui
