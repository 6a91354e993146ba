// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>

// A read-only HTML document: what the rate update needs of a web page and
// nothing more. Parsed with gumbo (HTML5 rules), so any bytes give a document.
namespace update {

class HtmlDocument {
public:
    struct Element {
        QString innerText;                         // the text without markup; "&nbsp;" stays U+00A0
        QList<QPair<QString, QString>> attributes; // lower-case names, values as written
        int row = -1; // which table row (tr, counted in document order) holds it; -1: none

        // The attribute's text ("" when absent); names compare without case.
        QString attribute(const QString &name) const;
        bool hasAttribute(const QString &name) const;
    };

    // A document that stands for a failed load: it has a title and nothing else.
    static HtmlDocument failed(const QString &title);

    // Pages whose elements nest deeper than this are refused (a failed
    // document): no real page comes near it, and parsing them takes minutes.
    static constexpr int kMaxNesting = 1000;

    // Decodes the bytes by `headerCharset` (from the HTTP header), else by the
    // page's meta tag, else as windows-1251, and parses them.
    static HtmlDocument parse(const QByteArray &bytes, const QString &headerCharset = QString());

    bool isHtml() const { return html_; }
    const QString &title() const { return title_; }
    bool hasBody() const { return body_; }
    // The body's elements with this tag, in document order.
    QList<Element> bodyElementsByTagName(const QString &tag) const;

    // The charset a page declares in its meta tags, "" when none.
    static QString metaCharset(const QByteArray &bytes);

private:
    bool html_ = false;
    bool body_ = false;
    QString title_;
    QList<Element> cells_; // the body's td elements; the only tag the update asks for
};

} // namespace update
