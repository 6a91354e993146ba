// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rates/keyratetable.h"

#include <QDate>
#include <QList>
#include <QStringList>
#include <memory>

class QUrl;

namespace update {

// The two pages an update reads: the classic rate page (the rates before
// 2016) and the key rate page (every working day since 2016).
enum class PageKind { Classic, KeyRate };

// What a page gave, read and checked.
struct PageReading {
    bool isRatePage = false;          // classic: HTML, the rate page, with a body
    QStringList lines;                // classic: its rate pairs as table lines, newest first
    QList<rates::RateChange> changes; // key rate: its changes, oldest first
    QString refusal;                  // a rate or a day on the page that cannot be right
};

// What an update of the rate table needs from the network and the bank's
// pages. The update module makes it: the program loads the network, TLS and
// the HTML parser only when the user first updates.
class RateSource {
public:
    static constexpr int kTimeLimitMs = 30000;

    // Told when a load starts and when its page has been read, failed or not.
    class Listener {
    public:
        virtual void downloadBegan() = 0;
        virtual void pageRead() = 0;

    protected:
        ~Listener() = default;
    };

    virtual ~RateSource() = default;

    virtual void setListener(Listener *listener) = 0;
    // How long a load may take in all.
    virtual void setTimeLimit(int ms) = 0;
    // Starts loading and returns at once; a load still running is dropped.
    // The page is parsed and read as `kind` off the caller's thread (a key
    // rate page has thousands of rows), its rates checked against `today`.
    virtual void load(const QUrl &url, PageKind kind, QDate today) = 0;
    // The page last read.
    virtual const PageReading &reading() const = 0;
};

// A source from the update module, loaded on the first call. Raises AppError
// when the module is missing or of another version.
std::unique_ptr<RateSource> makeRateSource();

} // namespace update

// The update module's entry point besides its version is
// "dolgomerMakeRateSource": a new source.
