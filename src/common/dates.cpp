// SPDX-License-Identifier: GPL-3.0-or-later
#include "dates.h"

QString dateText(QDate date) {
    int y = 0, m = 0, d = 0;
    date.getDate(&y, &m, &d);
    // Written digit by digit: every report line and rate key goes through
    // here, and QDate::toString parses its format on every call.
    if (!date.isValid() || y < 1000 || y > 9999) return date.toString(QStringLiteral("dd.MM.yyyy"));
    const char16_t text[10] = {
        char16_t(u'0' + d / 10),   char16_t(u'0' + d % 10),       u'.',
        char16_t(u'0' + m / 10),   char16_t(u'0' + m % 10),       u'.',
        char16_t(u'0' + y / 1000), char16_t(u'0' + y / 100 % 10), char16_t(u'0' + y / 10 % 10),
        char16_t(u'0' + y % 10)};
    return QString(reinterpret_cast<const QChar *>(text), 10);
}

bool readDigits(QStringView s, qsizetype &pos, int minDigits, int maxDigits, int &value) {
    value = 0;
    int digits = 0;
    while (pos < s.size() && s[pos].unicode() >= u'0' && s[pos].unicode() <= u'9' &&
           digits < maxDigits) {
        value = value * 10 + (s[pos].unicode() - u'0');
        ++pos;
        ++digits;
    }
    return digits >= minDigits;
}

bool parseDayText(QStringView text, QDate &date) {
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-') return parseDateText(text, date);
    qsizetype pos = 0;
    int y = 0, m = 0, d = 0;
    if (!readDigits(text, pos, 4, 4, y) || ++pos != 5 || !readDigits(text, pos, 2, 2, m) ||
        ++pos != 8 || !readDigits(text, pos, 2, 2, d) || pos != 10)
        return false;
    const QDate parsed(y, m, d);
    if (!parsed.isValid()) return false;
    date = parsed;
    return true;
}

bool parseDateText(QStringView text, QDate &date) {
    qsizetype pos = 0;
    int d = 0, m = 0, y = 0;
    if (!readDigits(text, pos, 1, 2, d) || pos >= text.size() || text[pos] != u'.') return false;
    ++pos;
    if (!readDigits(text, pos, 1, 2, m) || pos >= text.size() || text[pos] != u'.') return false;
    ++pos;
    if (!readDigits(text, pos, 4, 4, y) || pos != text.size()) return false;
    const QDate parsed(y, m, d);
    if (!parsed.isValid()) return false;
    date = parsed;
    return true;
}
