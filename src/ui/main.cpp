#include "application.h"
#include "mainwindow.h"

int main(int argc, char **argv) {
    ui::Application app(argc, argv);
    ui::MainWindow window;
    app.setErrorReport([&window](const QString &message) { window.reportError(message); });
    window.show();
    return app.exec();
}
