// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

// Dates as the program writes and reads them everywhere: in reports, rate
// keys, the bank's pages and the command line, day.month.year whatever the
// desktop's locale.

// Two-digit day and month, four-digit year: "07.12.2026".
QString dateText(QDate date);

// Reads a date text, day.month.year: one- or two-digit day and month, a
// four-digit year. Impossible dates ("10.00.1999", "31.02.2009") are refused.
bool parseDateText(QStringView text, QDate &date);

// The same, or year-month-day as a spreadsheet or a billing system writes
// it ("2024-01-31", exactly so): what the command line and a batch take.
bool parseDayText(QStringView text, QDate &date);

// Reads `minDigits` to `maxDigits` ASCII digits at `pos`, moving it past them.
bool readDigits(QStringView text, qsizetype &pos, int minDigits, int maxDigits, int &value);
