// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace ui {

// Every message box of the window goes through this one interface, so tests
// can answer them without a modal dialog blocking the run.
class MessageBoxes {
public:
    enum class Icon { Information, Question, Stop };
    // YesNo waits for a "Да" the user chose (Enter says "Нет"); YesByDefault
    // is for an offer whose "Да" costs nothing (Enter takes it).
    enum class Buttons { Ok, OkCancel, YesNo, YesByDefault };

    virtual ~MessageBoxes() = default;
    // Shows a modal box owned by `owner`; true when the user pressed OK (Да).
    virtual bool show(QWidget *owner, const QString &text, const QString &caption, Icon icon,
                      Buttons buttons) = 0;
    // Asks where to save a file; an empty text when the user cancels.
    virtual QString saveFileName(QWidget *owner, const QString &caption, const QString &suggested,
                                 const QString &filter) = 0;
    // Asks which file to open; an empty text when the user cancels.
    virtual QString openFileName(QWidget *owner, const QString &caption, const QString &filter) = 0;
    // Changes would be lost: "Сохранить", "Не сохранять" or "Отмена".
    enum class Choice { Save, Discard, Cancel };
    virtual Choice askToSave(QWidget *owner, const QString &text, const QString &caption) = 0;
};

// The real boxes.
class QtMessageBoxes : public MessageBoxes {
public:
    bool show(QWidget *owner, const QString &text, const QString &caption, Icon icon,
              Buttons buttons) override;
    QString saveFileName(QWidget *owner, const QString &caption, const QString &suggested,
                         const QString &filter) override;
    QString openFileName(QWidget *owner, const QString &caption, const QString &filter) override;
    Choice askToSave(QWidget *owner, const QString &text, const QString &caption) override;
};

// Boxes for runs with nobody at the screen (benchmarks, documentation
// pictures): every box is answered OK at once, no file is chosen.
class SilentMessageBoxes : public MessageBoxes {
public:
    bool show(QWidget *, const QString &, const QString &, Icon, Buttons) override { return true; }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override {
        return QString();
    }
    QString openFileName(QWidget *, const QString &, const QString &) override { return QString(); }
    Choice askToSave(QWidget *, const QString &, const QString &) override {
        return Choice::Discard;
    }
};

} // namespace ui
