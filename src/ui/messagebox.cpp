#include "messagebox.h"

#include <QMessageBox>
#include <QPushButton>

bool QtMessageBoxes::show(QWidget *owner, const QString &text, const QString &caption, Icon icon,
                          Buttons buttons) {
    QMessageBox box(icon == Icon::Information ? QMessageBox::Information
                    : icon == Icon::Question  ? QMessageBox::Question
                                              : QMessageBox::Critical,
                    caption, text, QMessageBox::NoButton, owner);
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    if (buttons == Buttons::OkCancel)
        box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.exec();
    return box.clickedButton() == ok;
}
