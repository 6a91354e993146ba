// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>

// The rate of value added tax in force on a day (art. 164 p. 3 of the Tax
// Code), from the program's table of its changes: the tax share's rate when
// the user gives none.
namespace law {

// Whole percent; before the table's first day, its first rate.
int vatPercentOn(QDate day);

} // namespace law
