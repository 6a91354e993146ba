// SPDX-License-Identifier: GPL-3.0-or-later
// The update module: the page loader (Qt Network) and the page readers
// (gumbo) behind the small interface the updates use.
#include "common/module.h"
#include "pageloader.h"
#include "pagereading.h"
#include "ratesource.h"

#include <QPointer>
#include <QThread>

namespace update {
namespace {

class NetworkRateSource final : public RateSource {
public:
    NetworkRateSource() {
        QObject::connect(&loader_, &PageLoader::downloadBegin, [this] {
            if (listener_) listener_->downloadBegan();
        });
        QObject::connect(&loader_, &PageLoader::documentComplete, [this] { readLoadedPage(); });
    }

    // A page still being read is waited for: its thread uses only its own
    // copies, but must not outlive the module's code.
    ~NetworkRateSource() override {
        for (const QPointer<QThread> &worker : workers_) {
            if (!worker) continue;
            worker->disconnect();
            worker->wait();
            delete worker;
        }
    }

    void setListener(Listener *listener) override { listener_ = listener; }
    void setTimeLimit(int ms) override { loader_.setTimeLimit(ms); }
    void load(const QUrl &url, PageKind kind, QDate today) override {
        ++generation_;
        kind_ = kind;
        today_ = today;
        loader_.navigate(url);
    }
    const PageReading &reading() const override { return reading_; }

private:
    // Parsing and reading a long page takes seconds: a thread of its own does
    // it while the caller's event loop goes on.
    void readLoadedPage() {
        const QByteArray bytes = loader_.body();
        const QString charset = loader_.charset();
        const PageKind kind = kind_;
        const QDate today = today_;
        const quint64 generation = generation_;
        auto result = std::make_shared<PageReading>();
        QThread *worker = QThread::create([=] {
            if (!bytes.isEmpty()) *result = readPage(bytes, charset, kind, today);
        });
        QObject::connect(worker, &QThread::finished, &loader_, [this, worker, result, generation] {
            workers_.removeAll(worker);
            worker->deleteLater();
            if (generation != generation_) return; // a later load replaced it
            reading_ = *result;
            if (listener_) listener_->pageRead();
        });
        workers_.append(worker);
        worker->start();
    }

    PageLoader loader_;
    Listener *listener_ = nullptr;
    PageReading reading_;
    PageKind kind_ = PageKind::Classic;
    QDate today_;
    quint64 generation_ = 0;
    QList<QPointer<QThread>> workers_; // still reading
};

} // namespace
} // namespace update

DOLGOMER_EXPORT_MODULE_VERSION()

extern "C" Q_DECL_EXPORT update::RateSource *dolgomerMakeRateSource() {
    return new update::NetworkRateSource;
}
