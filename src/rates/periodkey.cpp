// SPDX-License-Identifier: GPL-3.0-or-later
#include "periodkey.h"

#include "common/apperror.h"
#include "common/dates.h"

namespace rates {

const std::array<QString, 13> monthNames = {
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

bool isBlank(char16_t c) {
    return c >= 1 && c <= 32;
}

// The first three words of a key, split so that every key of a hand-edited
// file keeps naming the day it named in earlier versions:
// runs of blanks and commas separate words, consecutive commas give empty
// words, a word in double quotes keeps its blanks and commas ("" inside stands
// for one quote), and a NUL ends the text. Unquoted words are views into the
// text; quoted ones live in `quoted`.
struct Words {
    std::array<QStringView, 3> word;
    std::array<QString, 3> quoted;
    int count = 0;
};

void splitWords(QStringView s, Words &out) {
    qsizetype i = 0;
    const qsizetype n = s.size();
    auto at = [&](qsizetype k) -> char16_t { return k < n ? s[k].unicode() : u'\0'; };
    auto add = [&](QStringView w) {
        if (out.count < 3) out.word[size_t(out.count++)] = w;
    };
    while (isBlank(at(i)))
        ++i;
    while (at(i) != 0 && out.count < 3) {
        if (at(i) == u'"') {
            QString &word = out.quoted[size_t(out.count)];
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
            add(word);
        } else {
            const qsizetype begin = i;
            while (at(i) > 32 && at(i) != u',')
                ++i;
            add(s.sliced(begin, i - begin));
        }
        while (isBlank(at(i)))
            ++i;
        if (at(i) == u',') {
            if (at(i + 1) == 0) add(QStringView());
            do
                ++i;
            while (isBlank(at(i)));
        }
    }
}

// The reverse direction up to the words: the marks "с ", then a Latin "c "
// (hand-typed keys sometimes carry one), then "г." go, and the rest is trimmed.
QString stripMarks(QStringView key) {
    QString s = key.toString();
    s.remove(QStringLiteral("с "));
    s.remove(QStringLiteral("c "));
    s.remove(QStringLiteral("г."));
    return s;
}

int monthIndex(QStringView name) {
    for (int m = 1; m <= 12; ++m)
        if (name == monthNames[size_t(m)]) return m;
    return 0;
}

} // namespace

QStringView trimBlanks(QStringView s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s[b].unicode() <= 32)
        ++b;
    while (e > b && s[e - 1].unicode() <= 32)
        --e;
    return s.sliced(b, e - b);
}

QString convertPeriodKey(const QString &text) {
    QDate date;
    if (parseDateText(text, date)) {
        // Built in place: the update writes a key for every row of the bank's page.
        const QString &month = monthNames[size_t(date.month())];
        QString key;
        key.reserve(16 + month.size());
        key += QStringLiteral("с ");
        key += QChar(u'0' + date.day() / 10);
        key += QChar(u'0' + date.day() % 10);
        key += u' ';
        key += month;
        key += u' ';
        key += QString::number(date.year());
        key += QStringLiteral(" г.");
        return key;
    }
    const QString stripped = stripMarks(text);
    Words w;
    splitWords(trimBlanks(stripped), w);
    if (w.count < 3)
        throw AppError(QStringLiteral("Не удается разобрать ключ периода \"%1\": в нем меньше "
                                      "трех слов")
                           .arg(text));
    const int month = monthIndex(w.word[1]);
    QString result;
    result += w.word[0];
    result += month < 10 ? QStringLiteral(".0") : QStringLiteral(".");
    result += QString::number(month);
    result += u'.';
    result += w.word[2];
    return result;
}

// The same as reading convertPeriodKey's date text, without building it: the
// lookup does this for every row of the table. "w1.MM.w3" is a date text
// exactly when w1 is one or two digits, w3 four digits and the day exists.
bool keyDate(QStringView key, QDate &date) {
    QDate unused;
    if (parseDateText(key, unused))
        return false; // a date text converts to a key, which is no date text
    const QString stripped = stripMarks(key);
    Words w;
    splitWords(trimBlanks(stripped), w);
    if (w.count < 3) return false;
    qsizetype pos = 0;
    int day = 0, year = 0;
    if (!readDigits(w.word[0], pos, 1, 2, day) || pos != w.word[0].size()) return false;
    pos = 0;
    if (w.word[2].size() != 4 || !readDigits(w.word[2], pos, 4, 4, year)) return false;
    const QDate d(year, monthIndex(w.word[1]), day);
    if (!d.isValid()) return false;
    date = d;
    return true;
}

} // namespace rates
