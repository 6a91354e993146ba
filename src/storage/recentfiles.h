// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The claims the user opened or saved lately, newest first, at most eight,
// kept in the settings store as "RecentFile1" to "RecentFile8".
namespace storage {

inline constexpr int kRecentFiles = 8;

QStringList recentFiles();
// `path` (made absolute) goes first; the oldest beyond eight is dropped. A
// store that cannot be written keeps the list as it was: the claim itself
// is saved or opened all the same.
void rememberFile(const QString &path);
void forgetFile(const QString &path);

} // namespace storage
