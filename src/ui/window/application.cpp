// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window/application.h"

#include "common/apperror.h"
#include "common/numericlocale.h"
#include "ui/widgets/pictures.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace ui {

bool useRussian(QCoreApplication &app) {
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    auto *translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ru"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {
    keepNumbersInCForm();
    setApplicationName(QStringLiteral("Долгомер"));
    setWindowIcon(QIcon(loadPicture(QStringLiteral(":/pictures/dolgomer.png"))));
    useRussian(*this);
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
