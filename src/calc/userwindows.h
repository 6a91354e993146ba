// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine.h"

// Windows of the user's own: days in which nothing accrues on any debt and
// any basis, for a decree the program does not know yet or a court's
// ruling. The steps by day of delay still count their days.
namespace calc {

inline constexpr int kMaxUserWindows = 100;

// "01.02.2024-29.02.2024" (dates as дд.мм.гггг or гггг-мм-дд, a hyphen or
// a dash between them); false when the text is no such pair.
bool readDaySpan(QStringView text, DaySpan &span);
// "с 01.02.2024 по 29.02.2024", as the claim file and the dialog write one.
QString daySpanText(const DaySpan &span);

// Raises AppError when a window ends before it starts, two overlap, one
// lies wholly outside the days counted (`first` to `last`), or there are
// more than kMaxUserWindows.
void checkUserWindows(const QList<DaySpan> &windows, QDate first, QDate last);

// The windows as the engine's: on every debt, said as the user's.
void addUserWindows(const QList<DaySpan> &windows, CountRules &rules);

// How a row of days without accrual is told: the user's window, or the
// moratorium's words (naming the part it holds, `held`, where given).
QString windowPhrase(const PeriodRow &row, const QString &noun, qint64 held = 0);

} // namespace calc
