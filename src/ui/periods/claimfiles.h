// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"

#include <QString>
#include <functional>
#include <optional>

class QMenu;
class QPushButton;
class QWidget;

namespace ui {

class Dialogs;

// The file dialogs' filter for saved claims.
QString claimFilter();

// A saved claim read from its file, then first in the recent files; a file
// that cannot be used is told in a box ("Ошибка открытия") and gives nothing.
std::optional<calc::PeriodInput> readClaimFile(Dialogs &dialogs, const QString &path);

// "Последние файлы": `menu` lists the claims opened or saved lately each
// time it opens; a choice is passed to `open`, or, for a file that has gone,
// taken off the list with a word.
void offerRecentFiles(QMenu *menu, Dialogs &dialogs, std::function<void(const QString &)> open);
// A button "Последние" with that menu.
QPushButton *recentFilesButton(QWidget *parent, Dialogs &dialogs,
                               std::function<void(const QString &)> open);

// A file dropped on `target` (one local file) is passed to `open`, which
// tells what it cannot use as the open's own error.
void openDroppedClaims(QWidget *target, std::function<void(const QString &)> open);

} // namespace ui
