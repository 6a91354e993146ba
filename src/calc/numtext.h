// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>
#include <cfloat>

// Amounts and rates are read into the x87 80-bit extended type; the digits the
// user sees depend on it.
static_assert(LDBL_MANT_DIG == 64, "long double must be the 80-bit extended type");

namespace calc {

// Reads a number written with a decimal comma: optional blanks, sign, digits,
// comma and digits, exponent (E or e, sign, digits), optional blanks. "12,",
// ",5" and "," are numbers. A value beyond the extended range is not a number.
bool tryReadNumber(QStringView text, long double &value);

// The same, raising AppError "'<text>' is not a valid floating point value".
long double readNumber(QStringView text);

// The longest beginning of text that reads as a number (empty when none does).
QStringView numberPrefix(QStringView text);

// The general form: at most `precision` significant digits, no trailing zeros,
// exponent form ("1E-5", "1,5E20") below 0.0001 or with more than `precision`
// integer digits.
QString generalForm(long double value, int precision = 15);

// The same digits as the general form, always written out in full:
// 0.00001 -> "0,00001", never "1E-5".
QString decimalForm(long double value, int precision = 15);

// The amount form: exactly two decimals ("100000,00", "0,50"); more than 13
// integer digits switch to the general exponent form with 13 digits.
QString amountForm(long double value);

} // namespace calc
