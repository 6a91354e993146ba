// SPDX-License-Identifier: GPL-3.0-or-later
#include "telluser.h"

#include <QByteArray>
#include <cstdio>
#include <utility>

namespace cli {

namespace {

// The system's common reasons, as the C library and Qt give them in English,
// in the program's language: a Russian message is not cut by an English one.
QString inRussian(QString message) {
    static constexpr std::pair<const char *, const char *> kReasons[] = {
        {"No such file or directory", "нет такого файла или папки"},
        {"Permission denied", "нет прав доступа"},
        {"No space left on device", "нет места на диске"},
        {"File too large", "файл слишком велик"},
        {"Disk quota exceeded", "превышена квота диска"},
        {"Read-only file system", "файловая система только для чтения"},
        {"Is a directory", "это папка"},
        {"Not a directory", "это не папка"},
        {"File name too long", "слишком длинное имя файла"},
        {"Input/output error", "ошибка ввода-вывода"},
        {"Too many open files", "открыто слишком много файлов"},
    };
    for (const auto &[english, russian] : kReasons)
        message.replace(QLatin1String(english), QString::fromUtf8(russian), Qt::CaseInsensitive);
    return message;
}

} // namespace

void tellUser(const QString &message) {
    const QByteArray bytes = (QStringLiteral("dolgomer: ") + inRussian(message)).toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

} // namespace cli
