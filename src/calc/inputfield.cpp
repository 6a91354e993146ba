#include "inputfield.h"

#include "numtext.h"

namespace calc {

QChar FilterKey(QChar typed) {
    const char16_t c = typed.unicode();
    if (c == u'.') return QChar(u',');
    if ((c >= u'0' && c <= u'9') || c == u',' || c == 8) return typed;
    return QChar();
}

QString EditCheck(const QString &text) {
    return LongestNumberPrefix(text).toString();
}

QString EditClean(const QString &text, const QString &defaultText) {
    QString t = text;
    if (t.startsWith(u',')) t.prepend(u'0');
    if (t.isEmpty()) t = defaultText;
    if (t.endsWith(u',')) t.chop(1);
    long double v = 0;
    if (!TryReadNumber(t, v) || v == 0) return defaultText;
    return GeneralForm(v);
}

QString Edit1Exit(const QString &text) {
    long double v = 0;
    const QString cleaned = EditClean(text, QStringLiteral("0"));
    if (!TryReadNumber(cleaned, v)) v = 0;
    return AmountForm(v);
}

} // namespace calc
