// SPDX-License-Identifier: GPL-3.0-or-later
// One start of the window (or, built with BARE_WINDOW, of a bare Qt window of
// the same size; with BARE_LABEL as well, that window with one line of text,
// which is what it costs to have fonts at all; with BARE_FIELD too, a line
// edit beside it: the floor the window's start-up is measured against). As
// soon as the window is shown and the event loop is idle it writes the time
// (CLOCK_MONOTONIC, in nanoseconds) to its standard output and quits.
// bench_startup starts it and reads that time and its peak memory.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

#ifndef BARE_WINDOW
#include "ui/window/application.h"
#include "ui/window/mainwindow.h"
#endif

int main(int argc, char **argv) {
#ifdef BARE_WINDOW
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(600 - 6, 346 - 25);
#ifdef BARE_LABEL
    QLabel label(QStringLiteral("Долг с налогом (руб.):"), &window);
#endif
#ifdef BARE_FIELD
    QLineEdit field(QStringLiteral("0,00"), &window);
    field.setGeometry(176, 24, 145, 28);
#endif
#else
    ui::Application app(argc, argv);
    ui::SilentMessageBoxes boxes; // a first-run message would wait for a click
    ui::MainWindow window(&boxes);
#endif
    window.show();
    QTimer::singleShot(0, &app, [] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::printf("%lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return app.exec();
}
