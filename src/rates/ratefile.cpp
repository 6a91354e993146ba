#include "ratefile.h"

#include "settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QStringEncoder>

namespace rates {

namespace {

constexpr int kAppDataFolder = 26;
// A rate file is a few kilobytes; anything this large is not one, and reading
// it whole could exhaust memory.
constexpr qint64 kMaxRateFileSize = 64 * 1024 * 1024;

const QString kDataFolder = QStringLiteral("Долгомер");

QString appDataFolder() {
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (path.isEmpty() || !QDir().mkpath(path)) return QString();
    return path;
}

} // namespace

QString specialFolderPath(int folder) {
    QString path = folder == kAppDataFolder ? appDataFolder() : QString();
    if (path.isEmpty()) path = appDataFolder();
    return path;
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

void saveRateFile(const QString &path, const RateTable &table) {
    if (path.isEmpty())
        throw AppError(QStringLiteral("Не задан путь к файлу ставок: таблица не сохранена"));
    QSaveFile file(path);
    const QByteArray bytes = encodeRateFile(table.lines());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw AppError(QStringLiteral("Не удается сохранить файл ставок \"%1\": %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
}

void loadRateFile(const QString &path, RateTable &table) {
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

    // Keys must stay unique: every repeat of a key is left out, and the user is
    // told about the first one.
    QString repeated;
    const QStringList lines = withoutRepeatedKeys(decodeRateFile(bytes), &repeated);
    table.setLines(lines);
    if (!repeated.isNull())
        throw AppError(QStringLiteral("В файле ставок \"%1\" повторяется ключ \"%2\"; "
                                      "повторные строки не загружены")
                           .arg(QDir::toNativeSeparators(path), repeated));
}

void openRateStorage(RateTable &table, QString &rateFilePath) {
    const QString appData = specialFolderPath(kAppDataFolder);
    QDir::setCurrent(appData); // without it the current directory serves
    const QString patch = QStringLiteral("patch");
    rateFilePath.clear();
    if (settingExists(kSettingsKey, false, patch))
        rateFilePath = readSetting(kSettingsKey, false, patch);
    if (!rateFilePath.isEmpty()) {
        const QFileInfo info(rateFilePath);
        if (info.exists() && info.isFile()) {
            try {
                loadRateFile(rateFilePath, table);
            } catch (const RateFileUnreadable &) {
                rateFilePath.clear();
                throw;
            }
        } else {
            // The file has gone: write the history again where it was.
            if (!QDir::current().exists(kDataFolder)) QDir::current().mkdir(kDataFolder);
            saveRateFile(rateFilePath, table);
        }
        return;
    }
    // First run, or a settings store that was lost: a rate file already in
    // the data folder is the user's table and is never written over.
    QDir::current().mkdir(kDataFolder);
    QDir::setCurrent(kDataFolder);
    rateFilePath = QDir::toNativeSeparators(QDir::currentPath() + QStringLiteral("/stavki.txt"));
    if (QFileInfo(rateFilePath).isFile()) {
        // The table is loaded before its path is stored: a store that cannot
        // be written must not leave the built-in table bound to the user's file.
        try {
            loadRateFile(rateFilePath, table);
        } catch (const RateFileUnreadable &) {
            rateFilePath.clear();
            throw;
        } catch (const AppError &) {
            writeSetting(kSettingsKey, true, patch, rateFilePath); // repeated keys: loaded
            throw;
        }
        writeSetting(kSettingsKey, true, patch, rateFilePath);
        return;
    }
    saveRateFile(rateFilePath, table);
    writeSetting(kSettingsKey, true, patch, rateFilePath);
}

} // namespace rates
