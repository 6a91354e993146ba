// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/dialogs.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

namespace ui {

QString appTitle() {
    return QStringLiteral("Долгомер - РД");
}

bool Dialogs::ask(const QString &text, const QString &caption, MessageBoxes::Icon icon,
                  MessageBoxes::Buttons buttons) {
    // The control that was active has the keyboard again after the box.
    const QPointer<QWidget> active = QApplication::focusWidget();
    const bool answer = boxes_->show(owner_, text, caption, icon, buttons);
    if (active && active->isVisible() && active->isEnabled() &&
        QApplication::focusWidget() != active)
        active->setFocus(Qt::OtherFocusReason);
    return answer;
}

QString Dialogs::saveFileName(const QString &caption, const QString &suggested,
                              const QString &filter) {
    return boxes_->saveFileName(owner_, caption, suggested, filter);
}

QString Dialogs::openFileName(const QString &caption, const QString &filter) {
    return boxes_->openFileName(owner_, caption, filter);
}

MessageBoxes::Choice Dialogs::askToSave(const QString &text, const QString &caption) {
    return boxes_->askToSave(owner_, text, caption);
}

QString Dialogs::errorText(const QString &message) {
    if (!message.isEmpty() && message.back().unicode() > u'.') return message + u'.';
    return message;
}

void Dialogs::reportError(const QString &message) {
    ask(errorText(message), appTitle(), MessageBoxes::Icon::Stop, MessageBoxes::Buttons::Ok);
}

} // namespace ui
