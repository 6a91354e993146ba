// SPDX-License-Identifier: GPL-3.0-or-later
#include "messagebox.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace ui {

bool QtMessageBoxes::show(QWidget *owner, const QString &text, const QString &caption, Icon icon,
                          Buttons buttons) {
    QMessageBox box(icon == Icon::Information ? QMessageBox::Information
                    : icon == Icon::Question  ? QMessageBox::Question
                                              : QMessageBox::Critical,
                    caption, text, QMessageBox::NoButton, owner);
    const bool yesNo = buttons == Buttons::YesNo;
    QPushButton *ok =
        box.addButton(yesNo ? QStringLiteral("Да") : QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton *other = nullptr;
    if (buttons == Buttons::OkCancel)
        other = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    if (yesNo) other = box.addButton(QStringLiteral("Нет"), QMessageBox::RejectRole);
    // A question that could cost the user something waits for a "Да" they chose.
    box.setDefaultButton(yesNo ? other : ok);
    box.exec();
    return box.clickedButton() == ok;
}

QString QtMessageBoxes::saveFileName(QWidget *owner, const QString &caption,
                                     const QString &suggested, const QString &filter) {
    return QFileDialog::getSaveFileName(owner, caption, suggested, filter);
}

QString QtMessageBoxes::openFileName(QWidget *owner, const QString &caption,
                                     const QString &filter) {
    return QFileDialog::getOpenFileName(owner, caption, QString(), filter);
}

MessageBoxes::Choice QtMessageBoxes::askToSave(QWidget *owner, const QString &text,
                                               const QString &caption) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, owner);
    QPushButton *save = box.addButton(QStringLiteral("Сохранить"), QMessageBox::AcceptRole);
    QPushButton *discard =
        box.addButton(QStringLiteral("Не сохранять"), QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return Choice::Save;
    if (box.clickedButton() == discard) return Choice::Discard;
    return Choice::Cancel;
}

} // namespace ui
