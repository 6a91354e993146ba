// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"

#include <QString>
#include <optional>

namespace ui {

class Dialogs;

// The file dialogs' filter for saved claims.
QString claimFilter();

// A saved claim read from its file; a file that cannot be used is told in a
// box ("Ошибка открытия") and gives nothing.
std::optional<calc::PeriodInput> readClaimFile(Dialogs &dialogs, const QString &path);

} // namespace ui
