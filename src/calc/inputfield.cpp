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

QString normalisedNumber(const QString &text, const QString &defaultText) {
    QString t = text;
    if (t.startsWith(u',')) t.prepend(u'0');
    if (t.isEmpty()) t = defaultText;
    if (t.endsWith(u',')) t.chop(1);
    long double v = 0;
    if (!tryReadNumber(t, v) || v == 0) return defaultText;
    return generalForm(v);
}

QString normalisedAmount(const QString &text) {
    long double v = 0;
    const QString cleaned = normalisedNumber(text, QStringLiteral("0"));
    if (!tryReadNumber(cleaned, v)) v = 0;
    return amountForm(v);
}

} // namespace calc
