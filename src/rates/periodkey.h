// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <array>

namespace rates {

// Genitive month names, index 1 to 12 (index 0 is unused).
extern const std::array<QString, 13> monthNames;

// Trims characters with codes up to 32 from both ends.
QStringView trimBlanks(QStringView s);

// A date text gives its period key ("28.12.2009" -> "с 28 декабря 2009 г.");
// anything else is read as a period key and gives its date text
// ("с 5 июня 2009 г." -> "5.06.2009"). A key of fewer than three words raises
// AppError. An unknown month name gives month 00, which no date text accepts.
QString convertPeriodKey(const QString &text);

// The date a period key names; false when the key does not convert.
bool keyDate(QStringView key, QDate &date);

} // namespace rates
