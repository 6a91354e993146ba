// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The two stored values of the rate modes, read as the window reads them
// when a mode is chosen (and as the command line takes its defaults).
namespace storage {

// What the window's mode inputs hold before anything is stored or looked up:
// the divisor, the contractual daily rate, and the refinancing rate field's
// text (the newest built-in rate).
inline constexpr int kDefaultDivisor = 360;
inline const QString kDefaultDailyRate = QStringLiteral("0,1");
inline const QString kInitialRefinancingRate = QStringLiteral("8,75");

// The stored "k_stav" when it is a whole number from 1 to 369 (leading
// blanks and a sign allowed), else kDefaultDivisor. A store that cannot be read counts as
// missing. The slider holds values above 365 at 365.
int storedDivisor();

// The stored "dogovor" to four significant digits, written out in full, when
// it reads as a number above 0 and below 500, else kDefaultDailyRate.
QString storedDailyRate();

// Stores both values as the window leaves them; raises AppError when the
// store cannot be written.
void storeModeValues(const QString &divisor, const QString &dailyRate);

} // namespace storage
