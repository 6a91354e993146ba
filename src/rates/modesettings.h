#pragma once

#include <QString>

// The two stored values of the rate modes, read as the window reads them
// when a mode is chosen (and as the command line takes its defaults).
namespace rates {

// The stored "k_stav" when it is a whole number from 1 to 369 (leading
// blanks and a sign allowed), else 360. A store that cannot be read counts as
// missing. The slider holds values above 365 at 365.
int storedDivisor();

// The stored "dogovor" in the general form with four digits when it reads as
// a number above 0 and below 500, else "0,1".
QString storedDailyRate();

} // namespace rates
