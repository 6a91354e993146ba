// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program started as a user starts it from a terminal, for the tests
// that run it whole.
#include "patience.h"
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// What the program prints and its exit code.
struct Run {
    int exitCode = -1;
    QString out, err;
    QByteArray outBytes;
};

// A process for the program in a home of its own, with no display, and
// `environment` ("NAME=value") over the test's own.
inline void prepareProgram(QProcess &p, const QTemporaryDir &home,
                           const QStringList &environment = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &e : environment)
        env.insert(e.section(u'=', 0, 0), e.section(u'=', 1));
    env.insert("HOME", home.path());
    env.insert("XDG_CONFIG_HOME", home.path() + "/c");
    env.insert("XDG_DATA_HOME", home.path() + "/d");
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.remove("QT_QPA_PLATFORM");
    p.setProcessEnvironment(env);
    p.setWorkingDirectory(home.path());
    p.setProgram(QStringLiteral(DOLGOMER_PROGRAM));
}

inline Run runProgram(const QTemporaryDir &home, const QStringList &args,
                      const QStringList &environment = {}) {
    QProcess p;
    prepareProgram(p, home, environment);
    p.setArguments(args);
    p.start();
    Run run;
    if (!p.waitForFinished(kPatienceMs)) return run;
    run.exitCode = p.exitCode();
    run.outBytes = p.readAllStandardOutput();
    run.out = QString::fromUtf8(run.outBytes);
    run.err = QString::fromUtf8(p.readAllStandardError());
    return run;
}
