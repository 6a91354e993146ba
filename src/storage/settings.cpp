// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings.h"

#include "common/apperror.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QFileDevice>
#include <QIODevice>
#include <QSettings>
#endif

namespace storage {

QString settingsFilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Долгомер/registry.ini");
}

#ifdef Q_OS_WIN

namespace {

HKEY openKey(const QString &keyPath, bool create) {
    HKEY key = nullptr;
    const auto path = reinterpret_cast<LPCWSTR>(keyPath.utf16());
    const LONG rc = create && !keyPath.isEmpty()
                        ? RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS,
                                          nullptr, &key, nullptr)
                        : RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_ALL_ACCESS, &key);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

} // namespace

void writeSetting(const QString &keyPath, bool create, const QString &name, const QString &text) {
    HKEY key = openKey(keyPath, create);
    if (!key)
        throw AppError(QStringLiteral("Не удается открыть раздел настроек \"%1\"").arg(keyPath));
    const auto bytes = DWORD((text.size() + 1) * sizeof(wchar_t));
    const LONG rc = RegSetValueExW(key, reinterpret_cast<LPCWSTR>(name.utf16()), 0, REG_SZ,
                                   reinterpret_cast<const BYTE *>(text.utf16()), bytes);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        throw AppError(QStringLiteral("Не удается записать значение \"%1\"").arg(name));
}

QString readSetting(const QString &keyPath, bool create, const QString &name) {
    HKEY key = openKey(keyPath, create);
    if (!key) return QString();
    DWORD type = 0, size = 0;
    const auto wname = reinterpret_cast<LPCWSTR>(name.utf16());
    LONG rc = RegQueryValueExW(key, wname, nullptr, &type, nullptr, &size);
    QString result;
    if (rc == ERROR_SUCCESS && type != REG_SZ && type != REG_EXPAND_SZ) {
        RegCloseKey(key);
        throw AppError(QStringLiteral("Значение \"%1\" не является строкой").arg(name));
    }
    if (rc == ERROR_SUCCESS && size > 0) {
        std::wstring buf(size / sizeof(wchar_t) + 1, L'\0');
        rc = RegQueryValueExW(key, wname, nullptr, &type, reinterpret_cast<BYTE *>(buf.data()),
                              &size);
        if (rc == ERROR_SUCCESS) result = QString::fromWCharArray(buf.c_str());
    }
    RegCloseKey(key);
    return result;
}

bool settingExists(const QString &keyPath, bool create, const QString &name) {
    HKEY key = openKey(keyPath, create);
    if (!key) return false;
    const LONG rc = RegQueryValueExW(key, reinterpret_cast<LPCWSTR>(name.utf16()), nullptr, nullptr,
                                     nullptr, nullptr);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS;
}

#else

namespace {

// A key exists when its section exists, even with no values in it. In the map
// that QSettings hands around, a section is marked by this entry; on disk it
// is only the section header.
const QString kMarker = QStringLiteral(".");

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Blanks at either end are written escaped: reading drops the bare ones, as
// people expect of a hand-edited file, and keeps every value the program wrote.
QString escape(const QString &s, bool isName) {
    QString out;
    out.reserve(s.size());
    qsizetype lead = 0, tail = s.size();
    while (lead < s.size() && isBlank(s[lead]))
        ++lead;
    while (tail > lead && isBlank(s[tail - 1]))
        --tail;
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (i < lead || i >= tail)
            out += u'\\' + c;
        else if (c == u'\\')
            out += QStringLiteral("\\\\");
        else if (c == u'\n')
            out += QStringLiteral("\\n");
        else if (c == u'\r')
            out += QStringLiteral("\\r");
        else if (isName && (c == u'=' || (i == 0 && c == u'[')))
            out += u'\\' + c;
        else if (!isName && i == lead && c == u'"')
            out += u'\\' + c; // a value in quotes is read without them
        else
            out += c;
    }
    return out;
}

QString unescape(QStringView s) {
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'\\' && i + 1 < s.size()) {
            const QChar n = s[++i];
            out += n == u'n' ? QChar(u'\n') : n == u'r' ? QChar(u'\r') : n;
        } else {
            out += s[i];
        }
    }
    return out;
}

// Whether the text's last character is escaped: an odd run of backslashes
// stands before it.
bool lastIsEscaped(QStringView s) {
    qsizetype slashes = 0;
    while (slashes + 1 < s.size() && s[s.size() - 2 - slashes] == u'\\')
        ++slashes;
    return slashes % 2 == 1;
}

// Drops blanks at both ends that are not escaped.
QStringView trimmed(QStringView s) {
    while (!s.isEmpty() && isBlank(s.front()))
        s = s.sliced(1);
    while (!s.isEmpty() && isBlank(s.back()) && !lastIsEscaped(s))
        s.chop(1);
    return s;
}

// A value in double quotes, as Qt's own INI files and hand edits write it,
// is read without them.
QString valueText(QStringView raw) {
    if (raw.size() >= 2 && raw.front() == u'"' && raw.back() == u'"' &&
        !lastIsEscaped(raw.sliced(1)))
        raw = raw.sliced(1, raw.size() - 2);
    return unescape(raw);
}

// The file is read as the registry it stands for: a line that fits nothing
// carries no value and is passed over, so one damaged line never costs the
// user the others; blanks around section headers, names, "=" and values are
// not part of them; section names are the same whatever their letter case,
// and a section written twice is one section (spelled as it first was).
bool readIni(QIODevice &device, QSettings::SettingsMap &map) {
    const QString text = QString::fromUtf8(device.readAll());
    QHash<QString, QString> spelling; // case-folded name -> first spelling
    QString section;
    bool inSection = false;
    for (QStringView line : QStringView(text).split(u'\n')) {
        if (line.endsWith(u'\r')) line.chop(1);
        line = trimmed(line);
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            section = trimmed(line.sliced(1, line.size() - 2)).toString().replace(u'\\', u'/');
            inSection = !section.isEmpty();
            if (!inSection) continue;
            const QString folded = section.toCaseFolded();
            auto first = spelling.constFind(folded);
            if (first == spelling.constEnd()) first = spelling.insert(folded, section);
            section = *first;
            map.insert(section + u'/' + kMarker, QString());
            continue;
        }
        if (!inSection) continue;
        qsizetype eq = -1;
        for (qsizetype i = 0; i < line.size(); ++i) {
            if (line[i] == u'\\')
                ++i;
            else if (line[i] == u'=') {
                eq = i;
                break;
            }
        }
        const QStringView name = trimmed(line.first(std::max<qsizetype>(eq, 0)));
        if (eq > 0 && !name.isEmpty())
            map.insert(section + u'/' + unescape(name), valueText(trimmed(line.sliced(eq + 1))));
    }
    return true;
}

bool writeIni(QIODevice &device, const QSettings::SettingsMap &map) {
    QString out;
    QString current;
    bool first = true;
    // The map is sorted, so the values of one section are together.
    for (auto it = map.constBegin(); it != map.constEnd(); ++it) {
        const qsizetype slash = it.key().lastIndexOf(u'/');
        if (slash <= 0) continue;
        const QString section = it.key().left(slash);
        const QString name = it.key().mid(slash + 1);
        if (first || section != current) {
            if (!first) out += u'\n';
            // Key paths come from the program itself and hold no line ends.
            out += u'[' + QString(section).replace(u'/', u'\\') + QStringLiteral("]\n");
            current = section;
            first = false;
        }
        if (name != kMarker)
            out += escape(name, true) + u'=' + escape(it.value().toString(), false) + u'\n';
    }
    const QByteArray bytes = out.toUtf8();
    if (device.write(bytes) != bytes.size()) return false;
    // The store hands us a buffered file that it commits whatever the buffer
    // met on its way to disk: a full disk must fail here, not empty the file.
    auto *file = qobject_cast<QFileDevice *>(&device);
    return !file || file->flush();
}

QSettings::Format iniFormat() {
    static const QSettings::Format format =
        QSettings::registerFormat(QStringLiteral("ini"), readIni, writeIni, Qt::CaseSensitive);
    return format;
}

QString groupOf(const QString &keyPath) {
    return QString(keyPath).replace(u'\\', u'/');
}

// A key path as the file spells it, level by level, letter case aside.
QString spelledIn(const QSettings &settings, const QString &group) {
    const QStringList keys = settings.allKeys();
    QString spelled;
    for (const QString &part : group.split(u'/', Qt::SkipEmptyParts)) {
        const QString level = spelled.isEmpty() ? part : spelled + u'/' + part;
        spelled = level;
        for (const QString &key : keys) {
            if (key.size() > level.size() && key[level.size()] == u'/' &&
                QStringView(key).first(level.size()).compare(level, Qt::CaseInsensitive) == 0) {
                spelled = key.left(level.size());
                break;
            }
        }
    }
    return spelled;
}

// One opening of the store: the key path, created with all its levels when asked.
class Store {
public:
    Store(const QString &keyPath, bool create)
        : settings_(settingsFilePath(), iniFormat()),
          group_(spelledIn(settings_, groupOf(keyPath))) {
        exists_ = settings_.contains(group_ + u'/' + kMarker);
        if (create && !group_.isEmpty() && !exists_) {
            QString level;
            for (const QString &part : group_.split(u'/', Qt::SkipEmptyParts)) {
                level += (level.isEmpty() ? QString() : QStringLiteral("/")) + part;
                settings_.setValue(level + u'/' + kMarker, QString());
            }
            exists_ = true;
            sync();
        }
    }

    bool keyExists() const { return exists_; }
    QSettings &settings() { return settings_; }
    QString path(const QString &name) const { return group_ + u'/' + name; }

    void sync() {
        QDir().mkpath(QFileInfo(settings_.fileName()).absolutePath());
        settings_.sync();
        if (settings_.status() == QSettings::AccessError)
            throw AppError(QStringLiteral("Не удается записать настройки в файл \"%1\"")
                               .arg(settings_.fileName()));
    }

private:
    QSettings settings_;
    QString group_;
    bool exists_ = false;
};

} // namespace

void writeSetting(const QString &keyPath, bool create, const QString &name, const QString &text) {
    Store store(keyPath, create);
    if (!store.keyExists())
        throw AppError(QStringLiteral("Не удается открыть раздел настроек \"%1\"").arg(keyPath));
    // A value already stored is not written again: the window stores its mode
    // values at every close, and each write rewrites the file under a lock.
    const QString path = store.path(name);
    if (store.settings().contains(path) && store.settings().value(path).toString() == text) return;
    store.settings().setValue(path, text);
    store.sync();
}

QString readSetting(const QString &keyPath, bool create, const QString &name) {
    Store store(keyPath, create);
    if (!store.keyExists()) return QString();
    return store.settings().value(store.path(name)).toString();
}

bool settingExists(const QString &keyPath, bool create, const QString &name) {
    Store store(keyPath, create);
    return store.keyExists() && store.settings().contains(store.path(name));
}

#endif

} // namespace storage
