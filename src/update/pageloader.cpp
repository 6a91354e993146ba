// SPDX-License-Identifier: GPL-3.0-or-later
#include "pageloader.h"

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QRegularExpression>

namespace update {
namespace {

QString headerCharset(const QNetworkReply *reply) {
    static const QRegularExpression charset(QStringLiteral("charset\\s*=\\s*\"?([^\";\\s]+)"),
                                            QRegularExpression::CaseInsensitiveOption);
    const QString type = reply->header(QNetworkRequest::ContentTypeHeader).toString();
    const QRegularExpressionMatch m = charset.match(type);
    return m.hasMatch() ? m.captured(1) : QString();
}

} // namespace

PageLoader::PageLoader(QObject *parent)
    : QObject(parent), manager_(new QNetworkAccessManager(this)) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (reply_) finish(reply_, true);
    });
}

PageLoader::~PageLoader() {
    if (reply_) {
        reply_->disconnect(this);
        reply_->abort();
    }
}

void PageLoader::navigate(const QUrl &url) {
    if (reply_) {
        QNetworkReply *old = reply_;
        reply_ = nullptr;
        old->disconnect(this);
        old->abort();
        old->deleteLater();
    }
    // Pages on this machine never go through a proxy.
    const QHostAddress host(url.host());
    manager_->setProxy(host.isLoopback() || url.host() == QStringLiteral("localhost")
                           ? QNetworkProxy(QNetworkProxy::NoProxy)
                           : QNetworkProxy(QNetworkProxy::DefaultProxy));
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(10);
    QNetworkReply *reply = manager_->get(request);
    reply_ = reply;
    connect(reply, &QNetworkReply::downloadProgress, this, [this, reply](qint64 received, qint64) {
        if (received > kSizeLimit && reply == reply_) finish(reply, false);
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        if (reply == reply_) finish(reply, false);
    });
    timer_.start(timeLimitMs_);
    QMetaObject::invokeMethod(this, &PageLoader::downloadBegin, Qt::QueuedConnection);
}

void PageLoader::finish(QNetworkReply *reply, bool timedOut) {
    timer_.stop();
    reply_ = nullptr;
    reply->disconnect(this);
    const bool tooLarge = reply->bytesAvailable() > kSizeLimit;
    if (!reply->isFinished()) reply->abort();
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    const bool ok = !timedOut && !tooLarge && reply->error() == QNetworkReply::NoError &&
                    (status == 0 || (status >= 200 && status < 300));
    body_ = ok ? reply->readAll() : QByteArray();
    charset_ = ok ? headerCharset(reply) : QString();
    reply->deleteLater();
    emit documentComplete();
}

} // namespace update
