#include "application.h"

#include "calc/apperror.h"

#include <QIcon>

namespace ui {

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Долгомер"));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/dolgomer.png")));
}

bool Application::notify(QObject *receiver, QEvent *event) {
    QString message;
    try {
        return QApplication::notify(receiver, event);
    } catch (const AppError &e) {
        message = e.message();
    } catch (const std::exception &e) {
        message = QString::fromUtf8(e.what());
    }
    if (report_) report_(message);
    return false;
}

} // namespace ui
