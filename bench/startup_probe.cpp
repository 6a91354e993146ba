// One start of the window (or, built with BARE_WINDOW, of a bare Qt window of
// the same size; with BARE_LABEL as well, that window with one line of text,
// which is what it costs to have fonts at all; with BARE_FIELD too, a line
// edit beside it: the floor the window's start-up is measured against): it quits as soon as the
// window is shown and the event loop is idle. bench_startup times it from outside and reads its
// peak memory.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

#ifndef BARE_WINDOW
#include "application.h"
#include "mainwindow.h"
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
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
