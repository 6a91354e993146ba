// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rates/keyratetable.h"

#include <QList>
#include <QStringList>
#include <memory>

class QUrl;

namespace update {

// What an update of the rate table needs from the network and the bank's
// pages. The update module makes it: the program loads the network, TLS and
// the HTML parser only when the user first updates.
class RateSource {
public:
    static constexpr int kTimeLimitMs = 30000;

    // Told when a load starts and when it has ended, failed or not.
    class Listener {
    public:
        virtual void downloadBegan() = 0;
        virtual void documentCompleted() = 0;

    protected:
        ~Listener() = default;
    };

    virtual ~RateSource() = default;

    virtual void setListener(Listener *listener) = 0;
    // How long a load may take in all.
    virtual void setTimeLimit(int ms) = 0;
    // Starts loading and returns at once; a load still running is dropped.
    virtual void navigate(const QUrl &url) = 0;

    // The page just loaded, read as the classic rate page.
    struct ClassicPage {
        bool isRatePage = false; // HTML, the rate page, with a body
        QStringList lines;       // its rate pairs as table lines, newest first
    };
    virtual ClassicPage readClassicPage() const = 0;
    // The page just loaded, read as the key rate page; empty when it is not.
    virtual QList<rates::RateChange> readKeyRatePage() const = 0;
};

// A source from the update module, loaded on the first call. Raises AppError
// when the module is missing or of another version.
std::unique_ptr<RateSource> makeRateSource();

} // namespace update

// The update module's entry point besides its version is
// "dolgomerMakeRateSource": a new source.
