// SPDX-License-Identifier: GPL-3.0-or-later
#include "rateupdate.h"

#include "storage/settings.h"

#include <QUrl>

namespace update {
namespace {

// The browser's switch for loading pictures, "no" while an update loads and
// "yes" once the first page is in: our loader never loads pictures, but
// whoever watches the settings store sees an update begin and end there.
const QString kBrowserKey = QStringLiteral("Software\\Microsoft\\Internet Explorer\\Main");
const QString kInlineImages = QStringLiteral("Display Inline Images");

// Fetched over TLS: rates used in court claims must not be open to tampering
// on the way. `update_url` in the settings replaces it (a mirror).
const QString kRatePage = QStringLiteral(
    "https://www.cbr.ru/print.asp?file=/statistics/credit_statistics/refinancing_rates.htm");

const QString kUpdateFailed = QStringLiteral("Ошибка обновления");

QString address(const QString &setting, const QString &otherwise) {
    const QString stored = storage::readSetting(storage::kSettingsKey, false, setting);
    return stored.isEmpty() ? otherwise : stored;
}

} // namespace

UpdateOutcome tableFromPages(const PageReading &classic, const PageReading &keyRate) {
    UpdateOutcome out;
    for (const PageReading *page : {&classic, &keyRate})
        if (!page->refusal.isEmpty()) {
            out.message = page->refusal + QStringLiteral(". Таблица ставок не изменена.");
            out.caption = kUpdateFailed;
            return out;
        }
    // A page that starts later than January 2016 lacks changes, and the
    // history before it would fill the gap with a rate long gone.
    if (keyRate.changes.isEmpty() || keyRate.changes.front().date != rates::kKeyRateSince) {
        if (classic.isRatePage) {
            out.message = QStringLiteral("Не удалось получить ключевую ставку с сайта Банка "
                                         "России; таблица ставок не изменена.");
            out.caption = kUpdateFailed;
        } else {
            out.message = QStringLiteral("Ошибка соединения с сервером. Обновление прервано. "
                                         "Проверьте подключение к Интернету и повторите "
                                         "обновление.");
            out.caption = QStringLiteral("Ошибка соединения");
        }
        return out;
    }
    out.lines = rates::keyRateTable(keyRate.changes, classic.lines);
    return out;
}

RateUpdate::RateUpdate(QObject *parent) : QObject(parent) {}

RateUpdate::~RateUpdate() = default;

RateSource *RateUpdate::source() {
    if (!source_) {
        source_ = makeRateSource();
        // Like an installed browser, the loader brings its settings key along.
        storage::settingExists(kBrowserKey, true, kInlineImages);
        source_->setListener(this);
    }
    source_->setTimeLimit(timeLimitMs_);
    return source_.get();
}

void RateUpdate::start(QDate today) {
    RateSource *s = source();
    running_ = true;
    step_ = 0;
    today_ = today;
    stage_ = PageKind::Classic;
    classic_ = PageReading();
    storage::writeSetting(kBrowserKey, false, kInlineImages, QStringLiteral("no"));
    s->load(QUrl(address(QStringLiteral("update_url"), kRatePage)), PageKind::Classic, today);
}

void RateUpdate::step() {
    emit progressed(step_ = std::min(kSteps, step_ + 1));
}

void RateUpdate::downloadBegan() {
    step();
}

void RateUpdate::pageRead() {
    step();
    if (stage_ == PageKind::Classic) {
        storage::writeSetting(kBrowserKey, false, kInlineImages, QStringLiteral("yes"));
        classic_ = source_->reading();
        if (classic_.isRatePage) {
            step();
            if (!classic_.lines.isEmpty()) step();
        }
        stage_ = PageKind::KeyRate;
        source_->load(
            QUrl(address(QStringLiteral("keyrate_url"), rates::keyRatePageAddress(today_))),
            PageKind::KeyRate, today_);
        return;
    }
    const UpdateOutcome outcome = tableFromPages(classic_, source_->reading());
    if (outcome.succeeded()) step();
    running_ = false;
    emit finished(outcome);
}

} // namespace update
