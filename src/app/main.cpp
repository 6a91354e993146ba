#include "cli/commandline.h"
#include "ui/application.h"
#include "ui/mainwindow.h"

int main(int argc, char **argv) {
    // With options it is a command-line program: no window, no display needed.
    if (cli::wantsCommandLine(argc, argv)) return cli::runCommandLine(argc, argv);
    ui::Application app(argc, argv);
    ui::MainWindow window;
    app.setErrorReport([&window](const QString &message) { window.reportError(message); });
    window.show();
    return app.exec();
}
