#include "ratefile.h"

#include "savedfile.h"
#include "settings.h"

#include <QDir>
#include <QFile>
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

QStringList decodeRateFile(const QByteArray &bytes) {
    const qsizetype nul = bytes.indexOf('\0');
    QStringDecoder decoder("windows-1251");
    const QString text =
        decoder(nul < 0 ? QByteArrayView(bytes) : QByteArrayView(bytes).first(nul));
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

void writeRateFile(const QString &path, const QStringList &lines) {
    if (path.isEmpty())
        throw AppError(QStringLiteral("Не задан путь к файлу ставок: таблица не сохранена"));
    const QString failure = saveFile(path, encodeRateFile(lines));
    if (!failure.isEmpty())
        throw AppError(QStringLiteral("Не удается сохранить файл ставок \"%1\": %2")
                           .arg(QDir::toNativeSeparators(path), failure));
}

QStringList readRateFile(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw RateFileUnreadable(QStringLiteral("Не удается прочитать файл ставок \"%1\": %2")
                                     .arg(QDir::toNativeSeparators(path), file.errorString()));
    if (file.size() > kMaxRateFileSize)
        throw RateFileUnreadable(
            QStringLiteral("Файл ставок \"%1\" слишком велик (%2 байт), он не загружен")
                .arg(QDir::toNativeSeparators(path))
                .arg(file.size()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw RateFileUnreadable(QStringLiteral("Не удается прочитать файл ставок \"%1\": %2")
                                     .arg(QDir::toNativeSeparators(path), file.errorString()));
    return decodeRateFile(bytes);
}

QString storedRateFilePath() {
    if (!settingExists(kSettingsKey, false, kRateFileSetting)) return QString();
    return readSetting(kSettingsKey, false, kRateFileSetting);
}

void storeRateFilePath(const QString &path) {
    writeSetting(kSettingsKey, true, kRateFileSetting, path);
}

} // namespace storage
