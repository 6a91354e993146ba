// SPDX-License-Identifier: GPL-3.0-or-later
#include "htmldoc.h"

#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <gumbo.h>
#include <string_view>
#include <vector>

namespace update {
namespace {

const GumboVector &childrenOf(const GumboNode *node) {
    return node->type == GUMBO_NODE_DOCUMENT ? node->v.document.children : node->v.element.children;
}

bool isElement(const GumboNode *node) {
    return node->type == GUMBO_NODE_ELEMENT || node->type == GUMBO_NODE_TEMPLATE;
}

// The text under a node with markup removed and runs of white space folded to
// one blank, as a browser shows it; a no-break space is not white space here.
// Walked without recursion: a page may nest elements a million deep.
QString innerText(const GumboNode *root) {
    QString out;
    bool pendingBlank = false;
    std::vector<const GumboNode *> stack{root};
    while (!stack.empty()) {
        const GumboNode *node = stack.back();
        stack.pop_back();
        if (node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE ||
            node->type == GUMBO_NODE_CDATA) {
            const QString text = QString::fromUtf8(node->v.text.text);
            for (QChar c : text) {
                if (c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f') {
                    pendingBlank = !out.isEmpty();
                } else {
                    if (pendingBlank) out += u' ';
                    pendingBlank = false;
                    out += c;
                }
            }
        } else if (isElement(node)) {
            if (node->v.element.tag == GUMBO_TAG_BR) pendingBlank = !out.isEmpty();
            const GumboVector &kids = node->v.element.children;
            for (unsigned i = kids.length; i-- > 0;)
                stack.push_back(static_cast<const GumboNode *>(kids.data[i]));
        }
    }
    return out;
}

HtmlDocument::Element toElement(const GumboNode *node) {
    HtmlDocument::Element e;
    const GumboVector &attrs = node->v.element.attributes;
    for (unsigned i = 0; i < attrs.length; ++i) {
        const auto *a = static_cast<const GumboAttribute *>(attrs.data[i]);
        // The parser has lower-cased the names already.
        e.attributes.append({QString::fromUtf8(a->name), QString::fromUtf8(a->value)});
    }
    e.innerText = innerText(node);
    return e;
}

// The page in UTF-8, which is what the parser reads. A UTF-8 page goes as it
// is (the parser replaces broken sequences itself); others are decoded by
// their charset, windows-1251 when they name none or one we do not know.
QByteArray toUtf8(const QByteArray &bytes, const QString &headerCharset) {
    QString charset = headerCharset.trimmed();
    if (charset.isEmpty()) charset = HtmlDocument::metaCharset(bytes);
    const QByteArray name = charset.toLatin1().toLower();
    if (name == "utf-8" || name == "utf8") return bytes;
    QStringDecoder decoder(name.isEmpty() ? "windows-1251" : name.constData());
    if (!decoder.isValid()) decoder = QStringDecoder("windows-1251");
    return QString(decoder(bytes)).toUtf8();
}

// How deep the page's elements nest, counted on the raw text: gumbo's time
// grows faster than the square of the nesting, so a page of a few hundred
// kilobytes of unclosed <div>s would keep it busy for minutes. Elements whose
// end tag may be left out (p, li, td, tr, ...) close themselves and do not
// count, nor do void elements and self-closed tags.
int nestingDepth(const QByteArray &html) {
    static constexpr std::string_view flat[] = {
        "area",  "base",    "basefont", "body",  "br",    "caption", "col",      "colgroup",
        "dd",    "dt",      "embed",    "frame", "head",  "hr",      "html",     "img",
        "input", "isindex", "keygen",   "li",    "link",  "meta",    "optgroup", "option",
        "p",     "param",   "rb",       "rp",    "rt",    "source",  "tbody",    "td",
        "tfoot", "th",      "thead",    "tr",    "track", "wbr"};
    int depth = 0, deepest = 0;
    const char *p = html.constData();
    const char *end = p + html.size();
    char name[16];
    while ((p = static_cast<const char *>(std::memchr(p, '<', size_t(end - p))))) {
        ++p;
        if (p >= end) break;
        const bool closing = *p == '/';
        if (closing) ++p;
        size_t n = 0;
        const char *start = p;
        while (p < end && (std::isalnum(uchar(*p)) || *p == '-')) {
            if (n < sizeof name) name[n] = char(std::tolower(uchar(*p)));
            ++n;
            ++p;
        }
        if (p == start) continue; // "<!--", "< ", text
        if (n <= sizeof name &&
            std::binary_search(std::begin(flat), std::end(flat), std::string_view(name, n)))
            continue;
        if (closing) {
            depth = std::max(0, depth - 1);
            continue;
        }
        const char *close = static_cast<const char *>(std::memchr(p, '>', size_t(end - p)));
        if (close && close > p && close[-1] == '/') continue; // <div/>
        deepest = std::max(deepest, ++depth);
    }
    return deepest;
}

struct Parsed {
    bool body = false;
    QString title;
    QList<HtmlDocument::Element> cells;
};

Parsed parseUtf8(const QByteArray &utf8) {
    Parsed result;
    GumboOutput *out =
        gumbo_parse_with_options(&kGumboDefaultOptions, utf8.constData(), size_t(utf8.size()));
    // Each node with the table row it lies in, so a cell knows its row.
    struct Visit {
        const GumboNode *node;
        int row;
    };
    std::vector<Visit> stack{{out->document, -1}};
    int rows = 0;
    while (!stack.empty()) {
        auto [node, row] = stack.back();
        stack.pop_back();
        if (isElement(node)) {
            const GumboTag tag = node->v.element.tag;
            if (tag == GUMBO_TAG_TITLE && result.title.isNull()) result.title = innerText(node);
            if (tag == GUMBO_TAG_BODY) result.body = true;
            if (tag == GUMBO_TAG_TR) row = rows++;
            if (tag == GUMBO_TAG_TD) { // an HTML5 parser puts every cell in the body
                result.cells.append(toElement(node));
                result.cells.back().row = row;
            }
        }
        if (node->type == GUMBO_NODE_DOCUMENT || isElement(node)) {
            const GumboVector &kids = childrenOf(node);
            for (unsigned i = kids.length; i-- > 0;)
                stack.push_back({static_cast<const GumboNode *>(kids.data[i]), row});
        }
    }
    gumbo_destroy_output(&kGumboDefaultOptions, out);
    return result;
}

} // namespace

QString HtmlDocument::Element::attribute(const QString &name) const {
    for (const auto &[n, v] : attributes)
        if (n.compare(name, Qt::CaseInsensitive) == 0) return v;
    return QString();
}

bool HtmlDocument::Element::hasAttribute(const QString &name) const {
    for (const auto &a : attributes)
        if (a.first.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

HtmlDocument HtmlDocument::failed(const QString &title) {
    HtmlDocument d;
    d.title_ = title;
    return d;
}

QString HtmlDocument::metaCharset(const QByteArray &bytes) {
    // The declaration stands near the top; the rest of a big page is not searched.
    static const QRegularExpression meta(
        QStringLiteral("<meta[^>]*charset\\s*=\\s*[\"']?\\s*([A-Za-z0-9_:.\\-]+)"),
        QRegularExpression::CaseInsensitiveOption);
    const QString head = QString::fromLatin1(bytes.left(4096));
    const QRegularExpressionMatch m = meta.match(head);
    return m.hasMatch() ? m.captured(1) : QString();
}

HtmlDocument HtmlDocument::parse(const QByteArray &bytes, const QString &headerCharset) {
    const QByteArray utf8 = toUtf8(bytes, headerCharset);
    if (nestingDepth(utf8) > kMaxNesting) return failed(QStringLiteral("Страница слишком сложна"));
    const Parsed parsed = parseUtf8(utf8);
    HtmlDocument d;
    d.html_ = true;
    d.body_ = parsed.body;
    d.title_ = parsed.title.isNull() ? QString() : parsed.title;
    d.cells_ = parsed.cells;
    return d;
}

QList<HtmlDocument::Element> HtmlDocument::bodyElementsByTagName(const QString &tag) const {
    if (!body_ || tag.compare(QStringLiteral("td"), Qt::CaseInsensitive) != 0) return {};
    return cells_;
}

} // namespace update
