// SPDX-License-Identifier: GPL-3.0-or-later
#include "moneywords.h"

#include <QStringList>
#include <array>

namespace calc {
namespace {

const char *const kOnes[] = {
    "",           "один",        "два",        "три",          "четыре",
    "пять",       "шесть",       "семь",       "восемь",       "девять",
    "десять",     "одиннадцать", "двенадцать", "тринадцать",   "четырнадцать",
    "пятнадцать", "шестнадцать", "семнадцать", "восемнадцать", "девятнадцать"};
const char *const kTens[] = {"",          "",           "двадцать",  "тридцать",    "сорок",
                             "пятьдесят", "шестьдесят", "семьдесят", "восемьдесят", "девяносто"};
const char *const kHundreds[] = {"",        "сто",      "двести",  "триста",    "четыреста",
                                 "пятьсот", "шестьсот", "семьсот", "восемьсот", "девятьсот"};

// A group of three digits' name by how many it counts: one, two to four, five and more.
struct Scale {
    const char *forms[3];
    bool feminine; // "одна тысяча", "две тысячи"
};
const Scale kScales[] = {
    {{"рубль", "рубля", "рублей"}, false},
    {{"тысяча", "тысячи", "тысяч"}, true},
    {{"миллион", "миллиона", "миллионов"}, false},
    {{"миллиард", "миллиарда", "миллиардов"}, false},
    {{"триллион", "триллиона", "триллионов"}, false},
    {{"квадриллион", "квадриллиона", "квадриллионов"}, false},
};

int formOf(qint64 n) {
    const qint64 lastTwo = n % 100, last = n % 10;
    if (lastTwo >= 11 && lastTwo <= 19) return 2;
    if (last == 1) return 0;
    if (last >= 2 && last <= 4) return 1;
    return 2;
}

// Three digits in words; a feminine group says "одна", "две".
QStringList groupWords(int n, bool feminine) {
    QStringList words;
    if (n / 100) words << QString::fromUtf8(kHundreds[n / 100]);
    const int rest = n % 100;
    if (rest >= 20) {
        words << QString::fromUtf8(kTens[rest / 10]);
        if (rest % 10) words << QString::fromUtf8(kOnes[rest % 10]);
    } else if (rest) {
        words << QString::fromUtf8(kOnes[rest]);
    }
    if (feminine && !words.isEmpty() && (rest % 10 == 1 || rest % 10 == 2) &&
        (rest < 10 || rest > 20))
        words.last() = rest % 10 == 1 ? QStringLiteral("одна") : QStringLiteral("две");
    return words;
}

} // namespace

QString roublesInWords(qint64 kopecks) {
    const qint64 roubles = kopecks / 100;
    QStringList words;
    if (roubles == 0) words << QStringLiteral("ноль");
    qint64 rest = roubles;
    std::array<int, std::size(kScales)> groups{};
    for (int &g : groups) {
        g = int(rest % 1000);
        rest /= 1000;
    }
    for (int i = int(groups.size()) - 1; i >= 0; --i) {
        const int g = groups[size_t(i)];
        if (g == 0) continue;
        words << groupWords(g, kScales[i].feminine);
        if (i > 0) words << QString::fromUtf8(kScales[i].forms[formOf(g)]);
    }
    words << QString::fromUtf8(kScales[0].forms[formOf(roubles % 1000)]);
    const int cents = int(kopecks % 100);
    static const char *const kKopecks[] = {"копейка", "копейки", "копеек"};
    return words.join(u' ') + QStringLiteral(" %1 %2")
                                  .arg(cents, 2, 10, QChar(u'0'))
                                  .arg(QString::fromUtf8(kKopecks[formOf(cents)]));
}

} // namespace calc
