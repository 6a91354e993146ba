#include "periodkey.h"

#include "calc/apperror.h"

#include <QStringList>

namespace rates {

const std::array<QString, 13> MonthNames = {
    QString(),
    QStringLiteral("января"),
    QStringLiteral("февраля"),
    QStringLiteral("марта"),
    QStringLiteral("апреля"),
    QStringLiteral("мая"),
    QStringLiteral("июня"),
    QStringLiteral("июля"),
    QStringLiteral("августа"),
    QStringLiteral("сентября"),
    QStringLiteral("октября"),
    QStringLiteral("ноября"),
    QStringLiteral("декабря"),
};

namespace {

bool isAsciiDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// Reads 1..maxDigits ASCII digits at pos.
bool readNumber(QStringView s, qsizetype &pos, int minDigits, int maxDigits, int &value) {
    value = 0;
    int digits = 0;
    while (pos < s.size() && isAsciiDigit(s[pos]) && digits < maxDigits) {
        value = value * 10 + (s[pos].unicode() - u'0');
        ++pos;
        ++digits;
    }
    return digits >= minDigits;
}

bool isBlank(char16_t c) {
    return c >= 1 && c <= 32;
}

// Splits a key into words the way the key reader always has: runs of blanks
// and commas separate words, consecutive commas give empty words, a word in
// double quotes keeps its blanks and commas ("" inside stands for one quote),
// and a NUL ends the text. Only the first `wanted` words are collected.
QStringList splitWords(QStringView s, int wanted) {
    QStringList words;
    qsizetype i = 0;
    const qsizetype n = s.size();
    auto at = [&](qsizetype k) -> char16_t { return k < n ? s[k].unicode() : u'\0'; };
    while (isBlank(at(i)))
        ++i;
    while (at(i) != 0 && words.size() < wanted) {
        QString word;
        if (at(i) == u'"') {
            ++i;
            while (at(i) != 0) {
                if (at(i) == u'"') {
                    if (at(i + 1) != u'"') {
                        ++i;
                        break;
                    }
                    ++i;
                }
                word += QChar(at(i));
                ++i;
            }
        } else {
            const qsizetype begin = i;
            while (at(i) > 32 && at(i) != u',')
                ++i;
            word = s.sliced(begin, i - begin).toString();
        }
        words.append(word);
        while (isBlank(at(i)))
            ++i;
        if (at(i) == u',') {
            if (at(i + 1) == 0) words.append(QString());
            do
                ++i;
            while (isBlank(at(i)));
        }
    }
    return words;
}

QStringView trimLow(QStringView s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s[b].unicode() <= 32)
        ++b;
    while (e > b && s[e - 1].unicode() <= 32)
        --e;
    return s.sliced(b, e - b);
}

} // namespace

bool ParseDateText(QStringView text, QDate &date) {
    qsizetype pos = 0;
    int d = 0, m = 0, y = 0;
    if (!readNumber(text, pos, 1, 2, d) || pos >= text.size() || text[pos] != u'.') return false;
    ++pos;
    if (!readNumber(text, pos, 1, 2, m) || pos >= text.size() || text[pos] != u'.') return false;
    ++pos;
    if (!readNumber(text, pos, 4, 4, y) || pos != text.size()) return false;
    const QDate parsed(y, m, d);
    if (!parsed.isValid()) return false;
    date = parsed;
    return true;
}

QString PeriodKeyConvert(const QString &text) {
    QDate date;
    if (ParseDateText(text, date)) {
        QString key = QStringLiteral("с ");
        if (date.day() < 10) key += u'0';
        key += QString::number(date.day()) + u' ' + MonthNames[size_t(date.month())] + u' ' +
               QString::number(date.year()) + QStringLiteral(" г.");
        return key;
    }
    // Keys are written with the Cyrillic "с", but hand-typed ones sometimes
    // carry a Latin "c"; both go, then the year mark.
    QString s = text;
    s.remove(QStringLiteral("с "));
    s.remove(QStringLiteral("c "));
    s.remove(QStringLiteral("г."));
    const QStringList words = splitWords(trimLow(s), 3);
    if (words.size() < 3)
        throw AppError(QStringLiteral("Не удается разобрать ключ периода \"%1\": в нем меньше "
                                      "трех слов")
                           .arg(text));
    int month = 0;
    for (int m = 1; m <= 12; ++m) {
        if (words[1] == MonthNames[size_t(m)]) {
            month = m;
            break;
        }
    }
    return words[0] + u'.' + (month < 10 ? QStringLiteral("0") : QString()) +
           QString::number(month) + u'.' + words[2];
}

bool KeyDate(const QString &key, QDate &date) {
    try {
        return ParseDateText(PeriodKeyConvert(key), date);
    } catch (const AppError &) {
        return false;
    }
}

} // namespace rates
