// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QtGlobal>

// How large a claim a court order may be given for (art. 121 of the Code of
// Civil Procedure, art. 229.2 of the Arbitration Procedure Code), from the
// program's table of the limits' changes.
namespace law {

// Roubles on the filing day; 0 before the table's first day (no court order
// in the table's reach) or when the table cannot be read.
qint64 courtOrderLimit(bool arbitration, QDate filed);

} // namespace law
