#pragma once

// What the window tests share: scripted message boxes, a home of each test's
// own, and a few ways of driving the window.
#include "Unit1.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// Answers every box the window shows and remembers it.
class ScriptedBoxes : public MessageBoxes {
public:
    struct Box {
        QString text, caption;
        Icon icon;
        Buttons buttons;
    };
    QList<Box> shown;
    QList<bool> answers; // OK when nothing is scripted

    bool show(QWidget *, const QString &text, const QString &caption, Icon icon,
              Buttons buttons) override {
        shown.append({text, caption, icon, buttons});
        return answers.isEmpty() ? true : answers.takeFirst();
    }
    QString savePath; // what the save dialog answers
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override {
        return savePath;
    }
};

// A fresh home for one test function, and the window opened in it.
class WindowEnv {
public:
    void start() {
        cwd_ = QDir::currentPath();
        home_ = std::make_unique<QTemporaryDir>();
        qputenv("HOME", home_->path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home_->path() + "/config").toUtf8());
        qputenv("XDG_DATA_HOME", (home_->path() + "/data").toUtf8());
        boxes = ScriptedBoxes();
    }
    void stop() {
        form.reset();
        QDir::setCurrent(cwd_);
        home_.reset();
    }
    TForm1 &open() {
        form = std::make_unique<TForm1>(&boxes);
        form->show();
        form->activateWindow();
        if (!QTest::qWaitForWindowActive(form.get())) qWarning("window not active");
        return *form;
    }
    QString path(const QString &rel) const { return home_->path() + u'/' + rel; }
    QString rateFile() const { return path(QStringLiteral("data/Долгомер/stavki.txt")); }

    ScriptedBoxes boxes;
    std::unique_ptr<TForm1> form;

private:
    std::unique_ptr<QTemporaryDir> home_;
    QString cwd_;
};

inline void hover(QWidget *w) {
    QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &move);
}

inline void leave(QWidget *w) {
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(w, &e);
}

inline QByteArray fileBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}
