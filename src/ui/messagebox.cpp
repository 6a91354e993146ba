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
    QPushButton *ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    if (buttons == Buttons::OkCancel)
        box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.exec();
    return box.clickedButton() == ok;
}

QString QtMessageBoxes::saveFileName(QWidget *owner, const QString &caption,
                                     const QString &suggested, const QString &filter) {
    return QFileDialog::getSaveFileName(owner, caption, suggested, filter);
}

} // namespace ui
