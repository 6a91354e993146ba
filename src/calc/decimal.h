// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

// Exact decimals for the calculation by periods: amounts in kopecks, rates as
// digits over a power of ten, read from text and written back without going
// through binary.
namespace calc {

// An exact decimal: value = digits / 10^scale.
struct Decimal {
    qint64 digits = 0;
    int scale = 0;
};

// How many decimals a rate may have.
inline constexpr int kMaxRateDigits = 12;
// Every amount and every sum of a claim by periods stays within a quadrillion
// roubles (10^15, 10^17 kopecks).
inline constexpr qint64 kMaxKopecks = 100000000000000000;

// "123", "123,4", "123.45", blanks around; no sign, no exponent; at most 18
// digits and `maxScale` decimals.
bool readDecimal(QStringView text, int maxScale, Decimal &out);
// Roubles with at most two decimals, as kopecks, at most kMaxKopecks.
bool readKopecks(QStringView text, qint64 &kopecks);
// A rate as the table writes it; forms the exact reader does not take
// ("1E-5") go through the general form first.
bool readRate(const QString &text, Decimal &rate);
// The general form of an exact decimal: no trailing zeros, comma.
QString rateText(Decimal d);
qint64 pow10(int n);

// Kopecks in the two-decimal form: 10000050 -> "100000,50".
QString kopecksText(qint64 kopecks);

} // namespace calc
