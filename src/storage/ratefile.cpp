// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratefile.h"

#include "common/textencoding.h"
#include "regularfile.h"
#include "savedfile.h"
#include "settings.h"
#include "writeplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

namespace storage {

namespace {

// A rate file is a few kilobytes; anything this large is not one, and reading
// it whole could exhaust memory.
constexpr qint64 kMaxRateFileSize = 64 * 1024 * 1024;

const QString kRateFileSetting = QStringLiteral("patch");

// The per-user application-data folder; the current folder stands in for it
// on a system that has none.
QString appDataFolder() {
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return path.isEmpty() ? QDir::currentPath() : path;
}

} // namespace

QString dataFolder() {
    return QDir::toNativeSeparators(appDataFolder() + QStringLiteral("/Долгомер"));
}

bool makeDataFolder() {
    return QDir().mkpath(dataFolder());
}

QString defaultRateFilePath() {
    return QDir::toNativeSeparators(dataFolder() + QStringLiteral("/stavki.txt"));
}

QString absoluteRateFilePath(const QString &stored) {
    if (stored.isEmpty()) return stored;
    return QDir::toNativeSeparators(QDir(appDataFolder()).absoluteFilePath(stored));
}

QByteArray encodeRateFile(const QStringList &lines) {
    if (lines.isEmpty()) return QByteArray();
    QStringEncoder encoder("windows-1251");
    return encoder(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

namespace {

// The file's text in whichever encoding the user's editor saved it.
QString decodedText(QByteArrayView bytes) {
    switch (detectEncoding(bytes)) {
    case TextEncoding::Utf8WithBom:
        return QString::fromUtf8(bytes.sliced(kUtf8Bom.size()));
    case TextEncoding::Utf8:
        return QString::fromUtf8(bytes);
    case TextEncoding::Cp1251:
        break;
    }
    QStringDecoder cp1251("windows-1251");
    return cp1251(bytes);
}

} // namespace

QStringList decodeRateFile(const QByteArray &bytes) {
    const qsizetype nul = bytes.indexOf('\0');
    const QString text =
        decodedText(nul < 0 ? QByteArrayView(bytes) : QByteArrayView(bytes).first(nul));
    QStringList lines;
    qsizetype begin = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') continue;
        lines.append(text.mid(begin, i - begin));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
        begin = i + 1;
    }
    if (begin < n) lines.append(text.mid(begin));
    return lines;
}

void checkRateFilePlace(const QString &path) {
    if (const WritePlace place = writePlace(path); !place.refused.isEmpty())
        throw AppError(QStringLiteral("Файл ставок \"%1\" не записан: %2")
                           .arg(QDir::toNativeSeparators(path), place.refused));
}

QByteArray writeRateFile(const QString &path, const QStringList &lines) {
    if (path.isEmpty())
        throw AppError(QStringLiteral("Не задан путь к файлу ставок: таблица не сохранена"));
    QByteArray bytes = encodeRateFile(lines); // saveFile asks the writers' rule
    const QString failure = saveFile(path, bytes);
    if (!failure.isEmpty())
        throw AppError(QStringLiteral("Не удается сохранить файл ставок \"%1\": %2")
                           .arg(QDir::toNativeSeparators(path), failure));
    return bytes;
}

QByteArray readRateFileBytes(const QString &path) {
    const QString name = QDir::toNativeSeparators(path);
    const FileBytes file = readRegularFile(path, kMaxRateFileSize);
    switch (file.status) {
    case FileBytes::Status::Read:
        break;
    case FileBytes::Status::TooLarge:
        throw RateFileUnreadable(
            QStringLiteral("Файл ставок \"%1\" слишком велик (%2), он не загружен")
                .arg(name, file.reason));
    case FileBytes::Status::CannotOpen:
    case FileBytes::Status::ReadFailed:
        throw RateFileUnreadable(
            QStringLiteral("Не удается прочитать файл ставок \"%1\": %2").arg(name, file.reason));
    }
    // Zero bytes are in no text: this is some other file, and it must be
    // neither read as a table nor written over.
    if (file.bytes.contains('\0'))
        throw RateFileUnreadable(QStringLiteral("Файл ставок \"%1\" не является текстом (в нем "
                                                "нулевые байты), он не загружен")
                                     .arg(name));
    return file.bytes;
}

QStringList readRateFile(const QString &path) {
    return decodeRateFile(readRateFileBytes(path));
}

QString freeBackupPath(const QString &path) {
    QString backup = path + QStringLiteral(".bak");
    for (int n = 2; QFileInfo::exists(backup); ++n)
        backup = path + QStringLiteral(".bak") + QString::number(n);
    return backup;
}

QString storedRateFilePath() {
    return readSetting(kSettingsKey, false, kRateFileSetting); // "" when there is none
}

void storeRateFilePath(const QString &path) {
    writeSetting(kSettingsKey, true, kRateFileSetting, path);
}

} // namespace storage
