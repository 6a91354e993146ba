#include "Unit1.h"
#include "application.h"

int main(int argc, char **argv) {
    ui::Application app(argc, argv);
    TForm1 form;
    app.setErrorReport([&form](const QString &message) { form.ReportError(message); });
    form.show();
    return app.exec();
}
