// SPDX-License-Identifier: GPL-3.0-or-later
#include "numtext.h"

#include "common/apperror.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <locale.h>
#include <string>
#include <vector>

namespace calc {
namespace {

// The states of the number grammar. Reading a number, and finding the longest
// beginning of a text that is one, walk the same automaton.
enum State : std::int8_t {
    Dead = -1,
    Lead,     // leading blanks
    Sign,     // after + or -
    Int,      // integer digits (accepting)
    Comma,    // after the comma (accepting: "12," and "," are numbers)
    Frac,     // fraction digits (accepting)
    ExpMark,  // after E
    ExpSign,  // after the exponent's sign
    ExpDigit, // exponent digits (accepting)
    Trail,    // trailing blanks (accepting)
};

bool isAccepting(State s) {
    return s == Int || s == Comma || s == Frac || s == ExpDigit || s == Trail;
}

State step(State s, char16_t c) {
    const bool digit = c >= u'0' && c <= u'9';
    const bool blank = c == u' ';
    const bool sign = c == u'+' || c == u'-';
    const bool comma = c == u',';
    const bool exp = c == u'E' || c == u'e';
    switch (s) {
    case Lead:
        return blank ? Lead : sign ? Sign : digit ? Int : comma ? Comma : Dead;
    case Sign:
        return digit ? Int : comma ? Comma : Dead;
    case Int:
        return digit ? Int : comma ? Comma : exp ? ExpMark : blank ? Trail : Dead;
    case Comma:
    case Frac:
        return digit ? Frac : exp ? ExpMark : blank ? Trail : Dead;
    case ExpMark:
        return sign ? ExpSign : digit ? ExpDigit : Dead;
    case ExpSign:
        return digit ? ExpDigit : Dead;
    case ExpDigit:
        return digit ? ExpDigit : blank ? Trail : Dead;
    case Trail:
        return blank ? Trail : Dead;
    case Dead:
        break;
    }
    return Dead;
}

bool matchesGrammar(QStringView text) {
    State s = Lead;
    for (QChar ch : text) {
        s = step(s, ch.unicode());
        if (s == Dead) return false;
    }
    return isAccepting(s);
}

locale_t cLocale() {
    static const locale_t loc = newlocale(LC_ALL_MASK, "C", nullptr);
    return loc;
}

// Powers of ten that the extended type holds exactly (5^27 < 2^64).
constexpr int kExactPow10 = 27;
const std::array<long double, kExactPow10 + 1> &exactPowers() {
    static const auto table = [] {
        std::array<long double, kExactPow10 + 1> t{};
        long double p = 1.0L;
        for (auto &v : t) {
            v = p;
            p *= 10.0L;
        }
        return t;
    }();
    return table;
}

// Converts a text the grammar accepted. Short numbers take the exact route:
// an integer of at most 19 digits and an exactly held power of ten meet in one
// correctly rounded operation. Everything else goes to strtold, which rounds
// correctly too, so both routes give the same value.
long double convert(QStringView text) {
    std::uint64_t mantissa = 0;
    int mantissaDigits = 0;
    int scale = 0; // decimal exponent contributed by the mantissa's position
    bool negative = false;
    bool inFraction = false;
    bool inExponent = false;
    bool expNegative = false;
    long expValue = 0;
    bool exactRoute = true;
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u' ') {
            continue;
        } else if (c == u'E' || c == u'e') {
            inExponent = true;
        } else if (c == u'+' || c == u'-') {
            (inExponent ? expNegative : negative) = (c == u'-');
        } else if (c == u',') {
            inFraction = true;
        } else if (inExponent) {
            if (expValue < 100000) expValue = expValue * 10 + (c - u'0');
        } else {
            if (mantissa == 0 && c == u'0') {
                if (inFraction) --scale; // leading zeros of the fraction only shift the scale
                continue;
            }
            if (mantissaDigits == 19) {
                exactRoute = false;
                break;
            }
            mantissa = mantissa * 10 + (c - u'0');
            ++mantissaDigits;
            if (inFraction) --scale;
        }
    }
    if (exactRoute) {
        const long total = scale + (expNegative ? -expValue : expValue);
        if (mantissa == 0) return negative ? -0.0L : 0.0L;
        if (total >= -kExactPow10 && total <= kExactPow10) {
            const auto m = static_cast<long double>(mantissa);
            long double v = total >= 0 ? m * exactPowers()[total] : m / exactPowers()[-total];
            return negative ? -v : v;
        }
    }
    std::string ascii;
    ascii.reserve(static_cast<size_t>(text.size()));
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c != u' ') ascii.push_back(c == u',' ? '.' : static_cast<char>(c));
    }
    // strtold wants a digit before the exponent; ",E5" is zero all the same.
    if (ascii.size() >= 1 && (ascii[0] == '.' || ((ascii[0] == '+' || ascii[0] == '-') &&
                                                  ascii.size() > 1 && ascii[1] == '.')))
        ascii.insert(ascii[0] == '.' ? 0 : 1, 1, '0');
    return strtold_l(ascii.c_str(), nullptr, cLocale());
}

// A value's decimal expansion to 18 significant digits: d[0].d[1]...d[17] x 10^exp10.
struct Expansion {
    bool negative = false;
    std::array<char, 18> d{};
    int exp10 = 0;
};

Expansion expand(long double value) {
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%.17Le", value);
    Expansion e;
    int k = 0;
    int i = 0;
    if (n > 0 && buf[0] == '-') {
        e.negative = true;
        ++i;
    }
    // The decimal point follows the locale; only the digits and the exponent matter.
    for (; i < n && buf[i] != 'e' && k < 18; ++i)
        if (buf[i] >= '0' && buf[i] <= '9') e.d[static_cast<size_t>(k++)] = buf[i];
    while (i < n && buf[i] != 'e')
        ++i;
    e.exp10 = i < n ? static_cast<int>(std::strtol(buf + i + 1, nullptr, 10)) : 0;
    return e;
}

// The expansion cut to `keep` significant digits and rounded half away from
// zero. The digits are returned without trailing zeros (empty when the value
// rounds to zero); exp10 is the position of the first digit.
struct Rounded {
    std::string digits;
    int exp10 = 0;
};

Rounded roundTo(const Expansion &e, int keep) {
    Rounded r;
    r.exp10 = e.exp10;
    if (keep < 0) return r;
    if (keep >= 18) {
        r.digits.assign(e.d.begin(), e.d.end());
    } else {
        r.digits.assign(e.d.begin(), e.d.begin() + keep);
        if (e.d[static_cast<size_t>(keep)] >= '5') {
            int i = keep - 1;
            while (i >= 0 && r.digits[static_cast<size_t>(i)] == '9')
                r.digits[static_cast<size_t>(i--)] = '0';
            if (i >= 0) {
                ++r.digits[static_cast<size_t>(i)];
            } else {
                r.digits.insert(r.digits.begin(), '1');
                ++r.exp10;
            }
        }
    }
    while (!r.digits.empty() && r.digits.back() == '0')
        r.digits.pop_back();
    return r;
}

QString specialForm(long double value) {
    if (std::isnan(value)) return QStringLiteral("NAN");
    return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

QString exponentForm(bool negative, const Rounded &r) {
    QString s;
    if (negative) s += u'-';
    s += QLatin1Char(r.digits[0]);
    if (r.digits.size() > 1) {
        s += u',';
        s += QLatin1String(r.digits.data() + 1, static_cast<qsizetype>(r.digits.size() - 1));
    }
    s += u'E';
    s += QString::number(r.exp10);
    return s;
}

// Fixed notation of rounded digits with exactly `decimals` decimals, or as many
// as there are when decimals < 0.
QString fixedForm(bool negative, const Rounded &r, int decimals) {
    const auto nd = static_cast<int>(r.digits.size());
    auto digitAt = [&](int pos) { // pos: power of ten
        const int idx = r.exp10 - pos;
        return idx >= 0 && idx < nd ? QLatin1Char(r.digits[static_cast<size_t>(idx)])
                                    : QLatin1Char('0');
    };
    const int lowest = decimals >= 0 ? -decimals : std::min(0, r.exp10 - nd + 1);
    QString s;
    if (negative) s += u'-';
    for (int pos = std::max(r.exp10, 0); pos >= 0; --pos)
        s += digitAt(pos);
    if (lowest < 0) {
        s += u',';
        for (int pos = -1; pos >= lowest; --pos)
            s += digitAt(pos);
    }
    return s;
}

} // namespace

bool tryReadNumber(QStringView text, long double &value) {
    if (!matchesGrammar(text)) return false;
    const long double v = convert(text);
    if (std::isinf(v)) return false;
    value = v;
    return true;
}

long double readNumber(QStringView text) {
    long double v = 0;
    if (!tryReadNumber(text, v))
        throw AppError(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return v;
}

QStringView numberPrefix(QStringView text) {
    // The grammar gives the candidate lengths; a candidate can still fail by
    // overflowing. Within one stretch of the grammar (mantissa, exponent digits,
    // trailing blanks) the valid candidates form an unbroken run from the
    // stretch's start, so each stretch needs a binary search, not a scan: a
    // megabyte of digits must not take a million conversions.
    struct Candidate {
        qsizetype length;
        int stretch;
    };
    std::vector<Candidate> candidates;
    State s = Lead;
    for (qsizetype i = 0; i < text.size(); ++i) {
        s = step(s, text[i].unicode());
        if (s == Dead) break;
        if (isAccepting(s)) {
            const int stretch = s == ExpDigit ? 1 : s == Trail ? 2 : 0;
            candidates.push_back({i + 1, stretch});
        }
    }
    auto valid = [&](size_t k) {
        long double v = 0;
        return tryReadNumber(text.first(candidates[k].length), v);
    };
    size_t end = candidates.size();
    while (end > 0) {
        size_t begin = end - 1;
        while (begin > 0 && candidates[begin - 1].stretch == candidates[end - 1].stretch)
            --begin;
        if (valid(end - 1)) return text.first(candidates[end - 1].length);
        if (valid(begin)) {
            size_t lo = begin, hi = end - 1; // valid(lo), !valid(hi)
            while (hi - lo > 1) {
                const size_t mid = lo + (hi - lo) / 2;
                (valid(mid) ? lo : hi) = mid;
            }
            return text.first(candidates[lo].length);
        }
        end = begin;
    }
    return text.first(0);
}

QString generalForm(long double value, int precision) {
    if (!std::isfinite(value)) return specialForm(value);
    if (value == 0) return QStringLiteral("0");
    const Expansion e = expand(value);
    const Rounded r = roundTo(e, precision);
    if (r.exp10 < -4 || r.exp10 >= precision) return exponentForm(e.negative, r);
    return fixedForm(e.negative, r, -1);
}

QString decimalForm(long double value, int precision) {
    if (!std::isfinite(value)) return specialForm(value);
    if (value == 0) return QStringLiteral("0");
    const Expansion e = expand(value);
    return fixedForm(e.negative, roundTo(e, precision), -1);
}

QString amountForm(long double value) {
    if (!std::isfinite(value)) return specialForm(value);
    const Expansion e = expand(value);
    const Rounded r = roundTo(e, e.exp10 + 3);
    if (r.digits.empty() || value == 0) return QStringLiteral("0,00");
    if (r.exp10 >= 13) return exponentForm(e.negative, roundTo(e, 13));
    return fixedForm(e.negative, r, 2);
}

} // namespace calc
