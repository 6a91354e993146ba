#pragma once

#include <QApplication>
#include <functional>

namespace ui {

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
