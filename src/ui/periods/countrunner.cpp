// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periods/countrunner.h"

#include "common/apperror.h"

#include <QtConcurrent/QtConcurrentRun>

namespace ui {
namespace {

// A pause long enough for the next keystroke of a number being typed.
constexpr int kPauseMs = 150;

CountOutcome countClaim(quint64 serial, const calc::PeriodInput &claim) {
    CountOutcome outcome;
    outcome.serial = serial;
    try {
        outcome.document = documents::makeDocument(claim, QDate::currentDate());
    } catch (const AppError &e) {
        outcome.problem = e.message();
    }
    return outcome;
}

} // namespace

CountRunner::CountRunner(QObject *parent) : QObject(parent) {
    pause_.setSingleShot(true);
    pause_.setInterval(kPauseMs);
    connect(&pause_, &QTimer::timeout, this, &CountRunner::start);
    connect(&watcher_, &QFutureWatcher<CountOutcome>::finished, this, &CountRunner::finished);
}

CountRunner::~CountRunner() {
    watcher_.waitForFinished();
}

void CountRunner::request(const calc::PeriodInput &claim) {
    waiting_ = claim;
    ++serial_;
    emit outOfDate();
    pause_.start();
}

void CountRunner::requestNow(const calc::PeriodInput &claim) {
    request(claim);
    pause_.stop();
    start();
}

// One count at a time: a claim that comes while one runs waits for it.
void CountRunner::start() {
    if (!waiting_ || watcher_.isRunning()) return;
    watcher_.setFuture(QtConcurrent::run(countClaim, serial_, *std::exchange(waiting_, {})));
}

void CountRunner::finished() {
    // A count settled already may still tell it finished, after a new one began.
    if (!watcher_.isFinished()) return;
    const CountOutcome outcome = watcher_.result();
    if (waiting_ && !pause_.isActive()) start();
    show(outcome);
}

void CountRunner::settle() {
    pause_.stop();
    // A count that finished may not have told it yet.
    if (watcher_.future().isValid()) {
        watcher_.waitForFinished();
        show(watcher_.result());
    }
    if (waiting_) show(countClaim(serial_, *std::exchange(waiting_, {})));
}

// Only the newest claim's count is shown, and only once.
void CountRunner::show(const CountOutcome &outcome) {
    if (outcome.serial != serial_ || outcome.serial == shownSerial_) return;
    shownSerial_ = outcome.serial;
    emit counted(outcome);
}

} // namespace ui
