// SPDX-License-Identifier: GPL-3.0-or-later
#include "rateupdater.h"

#include "common/apperror.h"
#include "dialogs.h"
#include "linklabel.h"
#include "lookandfeel.h"
#include "ratepanel.h"
#include "rates/keyratetable.h"
#include "storage/settings.h"

#include <QApplication>
#include <QFrame>
#include <QProgressBar>

namespace ui {
namespace {

// The browser's switch for loading pictures, "no" while an update loads and
// "yes" once the page is in: our loader never loads pictures, but whoever
// watches the settings store sees an update begin and end there.
const QString kBrowserKey = QStringLiteral("Software\\Microsoft\\Internet Explorer\\Main");
const QString kInlineImages = QStringLiteral("Display Inline Images");

// Fetched over TLS: rates used in court claims must not be open to tampering
// on the way. `update_url` in the settings replaces it (a mirror).
const QString kRatePage = QStringLiteral(
    "https://www.cbr.ru/print.asp?file=/statistics/credit_statistics/refinancing_rates.htm");

} // namespace

RateUpdater::RateUpdater(RatePanel *rates, Dialogs &dialogs)
    : QObject(rates), rates_(rates), dialogs_(dialogs),
      timeLimitMs_(update::RateSource::kTimeLimitMs) {
    connect(rates, &RatePanel::frameMade, this, &RateUpdater::build);
}

// The link and the bar live on the rate panel, made with it.
void RateUpdater::build(QFrame *panel) {
    progressBar_ = new QProgressBar(panel);
    progressBar_->setObjectName(QStringLiteral("updateProgress"));
    progressBar_->setGeometry(120, 266, 120, 16); // at the panel's foot, beside the link
    progressBar_->setRange(0, 7); // four steps for the classic page, three for the key rate
    progressBar_->setTextVisible(false);
    progressBar_->hide();
    updateLink_ = new LinkLabel(QStringLiteral("Обновить через Интернет"), panel, {11, 266, 0, 0},
                                plainFont(11), kBlue, QString());
    updateLink_->setObjectName(QStringLiteral("updateLink"));
    updateLink_->setHoverFont(false, true);
    connect(updateLink_, &LinkLabel::clicked, this, &RateUpdater::start);
}

LinkLabel *RateUpdater::updateLink() {
    rates_->frame();
    return updateLink_;
}

QProgressBar *RateUpdater::progressBar() {
    rates_->frame();
    return progressBar_;
}

RateUpdater::~RateUpdater() = default;

update::RateSource *RateUpdater::rateSource() {
    if (!source_) {
        source_ = update::makeRateSource();
        // Like an installed browser, the loader brings its settings key along.
        storage::settingExists(kBrowserKey, true, kInlineImages);
        source_->setListener(this);
    }
    source_->setTimeLimit(timeLimitMs_);
    return source_.get();
}

// Runs a step of the update. A failure puts the window back at rest before
// the general error report tells it; an update that has ended says so.
template <class Step> void RateUpdater::step(Step &&run) {
    dialogs_.guard([&] {
        try {
            run();
        } catch (const AppError &) {
            rest();
            throw;
        }
    });
    if (!running_) emit finished();
}

void RateUpdater::start() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    running_ = true;
    emit started();
    rates_->frame()->setEnabled(false);
    progressBar()->setValue(0);
    progressBar_->show();
    step([this] {
        update::RateSource *source = rateSource();
        storage::writeSetting(kBrowserKey, false, kInlineImages, QStringLiteral("no"));
        const QString address =
            storage::readSetting(storage::kSettingsKey, false, QStringLiteral("update_url"));
        stage_ = Stage::ClassicPage;
        source->navigate(QUrl(address.isEmpty() ? kRatePage : address));
    });
}

void RateUpdater::downloadBegan() {
    advance();
}

void RateUpdater::advance() {
    progressBar_->setValue(std::min(progressBar_->maximum(), progressBar_->value() + 1));
}

void RateUpdater::rest() {
    if (running_) {
        QApplication::restoreOverrideCursor();
        running_ = false;
    }
    progressBar_->hide();
    rates_->frame()->setEnabled(true);
}

void RateUpdater::connectionFailure() {
    dialogs_.ask(QStringLiteral("Ошибка соединения с сервером. Обновление прервано"),
                 QStringLiteral("Ошибка соединения"), MessageBoxes::Icon::Stop);
    rest();
}

void RateUpdater::documentCompleted() {
    step([this] { takePage(); });
}

void RateUpdater::takePage() {
    if (stage_ == Stage::ClassicPage)
        takeClassicPage();
    else
        takeKeyRatePage();
}

// The classic page gives the rates before 2016; its pairs wait for the key rate
// page, which is loaded next in the same update.
void RateUpdater::takeClassicPage() {
    storage::writeSetting(kBrowserKey, false, kInlineImages, QStringLiteral("yes"));
    advance();
    const update::RateSource::ClassicPage page = rateSource()->readClassicPage();
    classicLines_ = page.lines;
    if (page.isRatePage) {
        advance();
        if (!classicLines_.isEmpty()) advance();
    }
    stage_ = Stage::KeyRatePage;
    const QString address =
        storage::readSetting(storage::kSettingsKey, false, QStringLiteral("keyrate_url"));
    rateSource()->navigate(
        QUrl(address.isEmpty() ? rates::keyRatePageAddress(QDate::currentDate()) : address));
}

// The key rate page decides the table when it gives any rate; without it the
// classic page's pairs do (a mirror of the classic page alone still updates).
void RateUpdater::takeKeyRatePage() {
    advance();
    const QList<rates::RateChange> changes = rateSource()->readKeyRatePage();
    const QStringList lines =
        changes.isEmpty() ? classicLines_ : rates::keyRateTable(changes, classicLines_);
    if (lines.isEmpty()) {
        connectionFailure();
        return;
    }
    advance();
    // The file is written before the grid shows the new table: a table that
    // cannot be saved never replaces the one in the file.
    rates::RateTable fresh;
    fresh.setLines(lines);
    rest();                                   // the pointer back before any question about the file
    if (!rates_->replaceTable(fresh)) return; // the user kept their file
    dialogs_.ask(QStringLiteral("Значения ставок рефинансирования актуализированы"),
                 QStringLiteral("Сообщение"), MessageBoxes::Icon::Information);
    rates_->focusGrid();
}

} // namespace ui
