// SPDX-License-Identifier: GPL-3.0-or-later
#include "decimal.h"

#include "numtext.h"

#include <algorithm>

namespace calc {

bool readDecimal(QStringView text, int maxScale, Decimal &out) {
    text = text.trimmed();
    if (text.isEmpty()) return false;
    qint64 digits = 0;
    int scale = -1, count = 0;
    for (QChar c : text) {
        if (c == u',' || c == u'.') {
            if (scale >= 0) return false;
            scale = 0;
            continue;
        }
        if (c < u'0' || c > u'9') return false;
        if (scale >= 0 && ++scale > maxScale) return false;
        if (++count > 18) return false;
        digits = digits * 10 + (c.unicode() - u'0');
    }
    if (count == 0) return false;
    out = {digits, std::max(scale, 0)};
    return true;
}

bool readKopecks(QStringView text, qint64 &kopecks) {
    Decimal d;
    if (!readDecimal(text, 2, d)) return false;
    kopecks = d.digits * (d.scale == 0 ? 100 : d.scale == 1 ? 10 : 1);
    return kopecks <= kMaxKopecks;
}

bool readRate(const QString &text, Decimal &rate) {
    if (readDecimal(text, kMaxRateDigits, rate)) return true;
    long double v = 0;
    if (!tryReadNumber(QString(text).replace(u'.', u','), v) || v < 0) return false;
    return readDecimal(generalForm(v, 15), kMaxRateDigits, rate);
}

QString rateText(Decimal d) {
    while (d.scale > 0 && d.digits % 10 == 0) {
        d.digits /= 10;
        --d.scale;
    }
    QString s = QString::number(d.digits);
    if (d.scale == 0) return s;
    if (s.size() <= d.scale) s.prepend(QString(d.scale - s.size() + 1, u'0'));
    s.insert(s.size() - d.scale, u',');
    return s;
}

qint64 pow10(int n) {
    qint64 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

QString kopecksText(qint64 kopecks) {
    const bool negative = kopecks < 0;
    quint64 k = negative ? quint64(-(kopecks + 1)) + 1 : quint64(kopecks);
    char16_t text[24];
    int at = 24;
    text[--at] = char16_t(u'0' + k % 10);
    k /= 10;
    text[--at] = char16_t(u'0' + k % 10);
    k /= 10;
    text[--at] = u',';
    do {
        text[--at] = char16_t(u'0' + k % 10);
        k /= 10;
    } while (k > 0);
    if (negative) text[--at] = u'-';
    return QString(reinterpret_cast<const QChar *>(text + at), 24 - at);
}

} // namespace calc
