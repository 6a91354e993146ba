// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <functional>

namespace ui {

// Russian whatever the desktop's locale: Qt's own dialogs, the fields' menus
// and the calendar in Russian, and Russian as the program's default locale.
// False when Qt's Russian translation is not installed (the texts stay English).
bool useRussian(QCoreApplication &app);

// The program's application object. Whatever an event handler raises and no
// handler caught ends here and goes to the general error report: no exception
// ever crosses the event loop.
class Application : public QApplication {
public:
    Application(int &argc, char **argv);
    void setErrorReport(std::function<void(const QString &)> report) {
        report_ = std::move(report);
    }
    bool notify(QObject *receiver, QEvent *event) override;

private:
    std::function<void(const QString &)> report_;
};

} // namespace ui
