// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>

class QWidget;

namespace ui {

// "Заполнить начисления": asks for the first and the last month and the
// amount charged for each; `from`, `to` and `amount` hold what it starts
// with and, when the user presses OK, what was chosen. False when cancelled.
bool askChargeRange(QWidget *parent, QDate &from, QDate &to, QString &amount);

} // namespace ui
