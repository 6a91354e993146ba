// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ratesource.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

namespace update {

// Loads one web page at a time and hands over its bytes. Every navigation
// ends in exactly one documentComplete, a failed one too: it then has no
// bytes. Redirects are followed (never from https to http), TLS is verified,
// and a load that takes longer than the time limit or grows past the size
// limit fails.
class PageLoader : public QObject {
    Q_OBJECT
public:
    explicit PageLoader(QObject *parent = nullptr);
    ~PageLoader() override;

    static constexpr int kTimeLimitMs = RateSource::kTimeLimitMs;
    static constexpr qint64 kSizeLimit = 5 * 1024 * 1024;

    void setTimeLimit(int ms) { timeLimitMs_ = ms; }
    // Starts loading and returns at once; a load still running is dropped.
    void navigate(const QUrl &url);
    // The page just loaded, and the charset its header named; a failed load
    // leaves them empty.
    const QByteArray &body() const { return body_; }
    const QString &charset() const { return charset_; }

signals:
    void downloadBegin();
    void documentComplete();

private:
    void finish(QNetworkReply *reply, bool timedOut);

    QNetworkAccessManager *manager_;
    QPointer<QNetworkReply> reply_;
    QTimer timer_;
    int timeLimitMs_ = kTimeLimitMs;
    QByteArray body_;
    QString charset_;
};

} // namespace update
