// SPDX-License-Identifier: GPL-3.0-or-later
#include "inputfield.h"

#include "numtext.h"

namespace calc {

QChar filterTypedKey(QChar typed) {
    const char16_t c = typed.unicode();
    if (c == u'.') return QChar(u',');
    if ((c >= u'0' && c <= u'9') || c == u',' || c == 8) return typed;
    return QChar();
}

QString longestNumberPrefix(const QString &text) {
    return numberPrefix(text).toString();
}

TypedNumber readTypedNumber(QStringView text, int limit, QString &typed) {
    typed = text.trimmed().toString();
    for (QChar &c : typed) {
        const QChar kept = filterTypedKey(c);
        if (kept.isNull() || kept.unicode() == 8) return TypedNumber::BadCharacter;
        c = kept;
    }
    if (typed.isEmpty()) return TypedNumber::Empty;
    if (typed.size() > limit) return TypedNumber::TooLong;
    long double value = 0; // the whole text, not a prefix of it
    return tryReadNumber(typed, value) ? TypedNumber::Ok : TypedNumber::NotANumber;
}

namespace {

// A text of digits and at most one comma, as the typed fields hold it, in its
// shortest decimal form: "007,50" -> "7,5" (the text itself when it is so
// already). Null for any other text.
QString plainDecimal(const QString &text) {
    qsizetype comma = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u',' && comma < 0)
            comma = i;
        else if (text[i] < u'0' || text[i] > u'9')
            return {};
    }
    const QStringView all(text);
    QStringView whole = comma < 0 ? all : all.first(comma);
    QStringView fraction = comma < 0 ? QStringView() : all.sliced(comma + 1);
    while (whole.size() > 1 && whole.front() == u'0')
        whole = whole.sliced(1);
    while (!fraction.isEmpty() && fraction.back() == u'0')
        fraction.chop(1);
    if (whole.isEmpty()) whole = u"0";
    if (whole.size() + (fraction.isEmpty() ? 0 : fraction.size() + 1) == text.size()) return text;
    return fraction.isEmpty() ? whole.toString() : whole.toString() + u',' + fraction.toString();
}

} // namespace

QString normalisedNumber(const QString &text, const QString &defaultText) {
    QString t = text;
    if (t.startsWith(u',')) t.prepend(u'0');
    if (t.isEmpty()) t = defaultText;
    if (t.endsWith(u',')) t.chop(1);
    // Typed digits stay as typed: 0,00001 is never turned into "1E-5". A
    // field's text is short; a longer one takes the general way below.
    if (t.size() <= 64)
        if (const QString plain = plainDecimal(t); !plain.isNull())
            return plain == u"0" ? defaultText : plain;
    long double v = 0;
    if (!tryReadNumber(t, v) || v == 0) return defaultText;
    return generalForm(v);
}

namespace {

// The amount a plain decimal text comes to, without going through binary and
// back: digits, then at most two decimals after a comma, at most 13 integer
// and 15 significant digits. Such a text reads, in the extended type, as a
// value whose 18-digit expansion is the text itself, so the long way gives
// exactly this. Null for any other text.
QString plainAmount(const QString &text) {
    const qsizetype comma = text.indexOf(u',');
    const qsizetype end = comma < 0 ? text.size() : comma;
    qsizetype lead = 0;
    while (lead < end - 1 && text[lead] == u'0')
        ++lead;
    const qsizetype decimals = comma < 0 ? 0 : text.size() - comma - 1;
    if (end == 0 || end - lead > 13 || decimals > 2 || end - lead + decimals > 15) return {};
    for (qsizetype i = 0; i < text.size(); ++i)
        if (i != comma && (text[i] < u'0' || text[i] > u'9')) return {};
    QString out = text.mid(lead, end - lead) + u',';
    out += comma < 0 ? QStringView() : QStringView(text).sliced(comma + 1);
    out += QString(2 - decimals, u'0');
    return out;
}

} // namespace

QString normalisedAmount(const QString &text) {
    // The debt field is left after every edit and a batch reads one per row:
    // the common plain texts take the short way.
    if (const QString plain = plainAmount(text); !plain.isNull()) return plain;
    long double v = 0;
    const QString cleaned = normalisedNumber(text, QStringLiteral("0"));
    if (!tryReadNumber(cleaned, v)) v = 0;
    return amountForm(v);
}

} // namespace calc
