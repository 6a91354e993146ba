// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "common/apperror.h"
#include "ui/widgets/messagebox.h"

#include <QString>
#include <exception>

class QWidget;

namespace ui {

// The program's title, on the task bar and as the caption of the general
// error report.
QString appTitle();

// The input boxes' caption, and what they say of an entry that needs a look.
inline const QString kInputError = QStringLiteral("Ошибка ввода");
inline const QString kCheckInput =
    QStringLiteral("Возможно допущена ошибка при вводе. Исправьте, пожалуйста.");

// The message boxes of the window, all owned by it, and the general error
// report. The parts show every box through here, so tests answer them all
// through one MessageBoxes.
class Dialogs {
public:
    Dialogs(QWidget *owner, MessageBoxes *boxes) : owner_(owner), boxes_(boxes) {}
    // The same boxes over another window (a box over the guide, not behind it).
    Dialogs over(QWidget *owner) const { return Dialogs(owner, boxes_); }

    // A modal box; true when the user pressed OK.
    bool ask(const QString &text, const QString &caption, MessageBoxes::Icon icon,
             MessageBoxes::Buttons buttons = MessageBoxes::Buttons::Ok);
    QString saveFileName(const QString &caption, const QString &suggested, const QString &filter);
    QString openFileName(const QString &caption, const QString &filter);
    MessageBoxes::Choice askToSave(const QString &text, const QString &caption);

    // The general error report: the message with a full stop added when it
    // ends in a letter, a digit or other characters above the stop, the
    // program's title as caption, OK and the stop icon.
    void reportError(const QString &message);
    static QString errorText(const QString &message);

    // Runs an action of the window; what it raises goes to the general error
    // report, so no exception ever leaves a slot.
    template <class Action> void guard(Action &&action) {
        try {
            action();
        } catch (const AppError &e) {
            reportError(e.message());
        } catch (const std::exception &e) {
            reportError(QString::fromUtf8(e.what()));
        }
    }

private:
    QWidget *owner_;
    MessageBoxes *boxes_;
};

} // namespace ui
