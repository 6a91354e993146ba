// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// A sum of money in words, as papers for a court repeat every figure:
// "сто тысяч рублей 00 копеек".
namespace calc {

// Kopecks from 0 to below 10^18 (a count's totals are checked far below);
// the roubles in words, the kopecks in figures.
QString roublesInWords(qint64 kopecks);

} // namespace calc
