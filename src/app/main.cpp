// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commandline.h"
#include "ui/window/application.h"
#include "ui/window/mainwindow.h"

#include <cstdio>

namespace {

// Qt would abort with an English message; the user is told in Russian where
// the command line is.
bool hasDisplay() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
#else
    return true; // the desktop is always there
#endif
}

} // namespace

int main(int argc, char **argv) {
    // With options it is a command-line program: no window, no display needed.
    if (cli::wantsCommandLine(argc, argv)) return cli::runCommandLine(argc, argv);
    if (!hasDisplay()) {
        std::fputs("dolgomer: для окна программы нужен графический экран (не задана переменная "
                   "DISPLAY). Расчет без окна: dolgomer --help\n",
                   stderr);
        return 1;
    }
    ui::Application app(argc, argv);
    ui::MainWindow window;
    app.setErrorReport([&window](const QString &message) { window.reportError(message); });
    window.show();
    // A claim saved before, opened from a file manager: dolgomer FILE.dolgomer.
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1) window.openClaimFile(args[1]);
    return app.exec();
}
