// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A tiny HTTP server on 127.0.0.1 for the tests of the page loader: it answers
// each path with a scripted response, or never answers at all.
#include <QHash>
#include <QTcpServer>
#include <QTcpSocket>
#include <functional>

class HttpResponder : public QTcpServer {
public:
    struct Response {
        int status = 200;
        QByteArray contentType = "text/html";
        QByteArray body;
        QByteArray location; // for redirects
        bool hang = false;   // accept, read, and never answer
    };

    HttpResponder() {
        listen(QHostAddress::LocalHost, 0);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *s = nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, this, [this, s] { answer(s); });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }

    QString url(const QString &path) const {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(serverPort()).arg(path);
    }

    QHash<QByteArray, Response> routes;
    int requests = 0;
    // Runs when a request has come, before it is answered (what happens
    // while a client waits for a page).
    std::function<void(const QByteArray &path)> onRequest;

private:
    void answer(QTcpSocket *s) {
        QByteArray &buf = pending_[s];
        buf += s->readAll();
        if (!buf.contains("\r\n\r\n")) return;
        ++requests;
        const QByteArray path = buf.split(' ').value(1);
        pending_.remove(s);
        if (onRequest) onRequest(path);
        const Response r = routes.value(path, Response{404, "text/plain", "not found", {}, false});
        if (r.hang) return;
        QByteArray head = "HTTP/1.1 " + QByteArray::number(r.status) + " X\r\n";
        head += "Content-Type: " + r.contentType + "\r\n";
        if (!r.location.isEmpty()) head += "Location: " + r.location + "\r\n";
        head += "Content-Length: " + QByteArray::number(r.body.size()) + "\r\n";
        head += "Connection: close\r\n\r\n";
        s->write(head + r.body);
        s->disconnectFromHost();
    }

    QHash<QTcpSocket *, QByteArray> pending_;
};
