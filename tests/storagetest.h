// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the storage and user-rate tests share: a private home for each test,
// file bytes, and the built-in history as the first run writes it.
#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <thread>
#include <unistd.h>

inline QByteArray readBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

inline void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// The built-in history, written out here from the texts themselves.
inline QStringList builtInLines() {
    const char *lines[] = {
        "с 28 декабря 2009 г.=8,75",  "с 25 ноября 2009 г. =9",     "с 30 октября 2009 г.=9,5 ",
        "с 30 сентября 2009 г.=10  ", "с 15 сентября 2009 г.=10,5", "с 10 августа 2009 г.=10,75",
        "с 13 июля 2009 г.=11  ",     "с 5 июня 2009 г.=11,5",      "с 14 мая 2009 г.=12  ",
        "с 24 апреля 2009 г.=12,5",   "с 1 декабря 2008 г.=13  ",   "с 12 ноября 2008 г.=12  ",
        "с 14 июля 2008 г.=11,00",    "с 10 июня 2008 г.=10,75",    "с 29 апреля 2008 г.=10,5",
        "с 4 февраля 2008 г.=10,25",  "с 19 июня 2007 г.=10",       "с 29 января 2007 г.=10,5",
        "с 23 октября 2006 г.=11,0",  "с 26 июня 2006 г.=11,5",     "с 26 декабря 2005 г.=12",
        "с 15 июня 2004 г.=13",       "с 15 января 2004 г.=14",     "с 21 июня 2003 г.=16",
        "с 17 февраля 2003 г.=18",    "с 7 августа 2002 г.=21",     "с 9 апреля 2002 г.=23",
        "с 4 ноября 2000 г.=25",      "с 10 июля 2000 г.=28",       "с 21 марта 2000 г.=33",
        "с 7 марта 2000 г.=38",       "с 24 января 2000 г.=45",     "с 10 июня 1999 г.=55",
    };
    QStringList list;
    for (const char *l : lines)
        list << QString::fromUtf8(l);
    return list;
}

// The first-run file, byte for byte.
inline QByteArray expectedHistoryBytes() {
    QByteArray bytes;
    QStringEncoder cp1251("windows-1251");
    for (const QString &l : builtInLines())
        bytes += QByteArray(cp1251(l)) + "\r\n";
    return bytes;
}

// Each test gets its own home, so settings and data never leak between them.
class Home {
public:
    Home() {
        qputenv("HOME", dir_.path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (dir_.path() + "/config").toUtf8());
        qputenv("XDG_DATA_HOME", (dir_.path() + "/data").toUtf8());
    }
    QString path(const QString &rel) const { return dir_.path() + u'/' + rel; }
    QString dataFolder() const { return path(QStringLiteral("data/Долгомер")); }

private:
    QTemporaryDir dir_;
};

// A rate file for a test, its folder made; "70 MB" stands for a sparse file
// (no disk) too large to be a rate file.
inline void plantRateFile(const QString &path, const QByteArray &bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    if (bytes == "70 MB")
        QVERIFY(f.resize(70 * 1024 * 1024));
    else
        QCOMPARE(f.write(bytes), bytes.size());
}

// Something that is no regular file at `path`: "device" (a node made in the
// test's folder when the test may, else a link to /dev/zero), "fifo",
// "folder", "loop" (a link to itself) or "dangling" (a link to nothing).
inline void plantNonFile(const QString &path, const QString &kind) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    const QByteArray name = QFile::encodeName(path);
    bool made = false;
    if (kind == u"device")
        made = mknod(name, S_IFCHR | 0666, makedev(1, 5)) == 0 || symlink("/dev/zero", name) == 0;
    else if (kind == u"fifo")
        made = mkfifo(name, 0600) == 0;
    else if (kind == u"folder")
        made = QDir().mkdir(path);
    else if (kind == u"loop")
        made = symlink(name, name) == 0;
    else if (kind == u"dangling")
        made = symlink("nothing-here", name) == 0;
    QVERIFY2(made, qPrintable(kind));
}

// What is at `path` itself, links not followed: its type and, for a node,
// which device; compared before and after to see that nothing replaced it.
// While it lives, whatever opens the pipe at `path` and waits there (a
// reader for a writer, or a writer for a reader) is let through at once, to
// an empty pipe: code that should never have opened it fails its test
// instead of hanging the run.
class PipeUnblocker {
public:
    explicit PipeUnblocker(const QString &path)
        : path_(QFile::encodeName(path)), thread_([this] { serve(); }) {}
    ~PipeUnblocker() {
        stop_ = true;
        thread_.join();
    }
    PipeUnblocker(const PipeUnblocker &) = delete;
    PipeUnblocker &operator=(const PipeUnblocker &) = delete;

private:
    void serve() {
        while (!stop_) {
            // Opening either end without blocking succeeds, or not, at once.
            for (const int mode : {O_WRONLY | O_NONBLOCK, O_RDONLY | O_NONBLOCK})
                if (const int fd = ::open(path_.constData(), mode); fd >= 0) ::close(fd);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
    const QByteArray path_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

inline QString placeSignature(const QString &path) {
    struct stat st {};
    if (lstat(QFile::encodeName(path), &st) != 0) return QStringLiteral("nothing");
    return QStringLiteral("%1/%2/%3").arg(st.st_mode & S_IFMT).arg(st.st_rdev).arg(st.st_size);
}

inline const char *const kNonFiles[] = {"device", "fifo", "folder", "loop", "dangling"};

// While it lives, no file of this process grows past `bytes`: a write that
// really fails half-way, as on a full disk (permissions would not stop a
// test running as root).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit small = old_;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit old_{};
};
