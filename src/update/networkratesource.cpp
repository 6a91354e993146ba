// SPDX-License-Identifier: GPL-3.0-or-later
// The update module: the page loader (Qt Network) and the page readers
// (gumbo) behind the small interface the window's updater uses.
#include "common/module.h"
#include "keyratepage.h"
#include "pageloader.h"
#include "ratepage.h"
#include "ratesource.h"

namespace update {
namespace {

class NetworkRateSource final : public RateSource {
public:
    NetworkRateSource() {
        QObject::connect(&loader_, &PageLoader::downloadBegin, [this] {
            if (listener_) listener_->downloadBegan();
        });
        QObject::connect(&loader_, &PageLoader::documentComplete, [this] {
            if (listener_) listener_->documentCompleted();
        });
    }

    void setListener(Listener *listener) override { listener_ = listener; }
    void setTimeLimit(int ms) override { loader_.setTimeLimit(ms); }
    void navigate(const QUrl &url) override { loader_.navigate(url); }

    ClassicPage readClassicPage() const override {
        const HtmlDocument &page = loader_.document();
        ClassicPage classic;
        classic.isRatePage = page.isHtml() && isRatePage(page) && page.hasBody();
        // All pairs are read before anything changes.
        if (classic.isRatePage) classic.lines = readRatePairs(ratePageCells(page));
        return classic;
    }

    QList<rates::RateChange> readKeyRatePage() const override {
        const HtmlDocument &page = loader_.document();
        return page.isHtml() ? readKeyRateChanges(page) : QList<rates::RateChange>();
    }

private:
    PageLoader loader_;
    Listener *listener_ = nullptr;
};

} // namespace
} // namespace update

DOLGOMER_EXPORT_MODULE_VERSION()

extern "C" Q_DECL_EXPORT update::RateSource *dolgomerMakeRateSource() {
    return new update::NetworkRateSource;
}
