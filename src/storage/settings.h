// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The per-user settings store: named string values under key paths such as
// "Software\Долгомер". On Windows this is the registry under HKEY_CURRENT_USER;
// elsewhere one INI file, $XDG_CONFIG_HOME/Долгомер/registry.ini, with a section
// per key path. Every call opens and closes the store.
namespace storage {

// The key path of the program's own values.
inline const QString kSettingsKey = QStringLiteral("Software\\Долгомер");

// Stores a string value. With `create` the key and all missing levels are
// created first; without it a missing key raises AppError, as does a store
// that cannot be written.
void writeSetting(const QString &keyPath, bool create, const QString &name, const QString &text);

// A value's text; "" when the key or the value does not exist.
QString readSetting(const QString &keyPath, bool create, const QString &name);

// Whether the value exists (false also when its key does not).
bool settingExists(const QString &keyPath, bool create, const QString &name);

// Where the INI store lives (not used on Windows).
QString settingsFilePath();

} // namespace storage
