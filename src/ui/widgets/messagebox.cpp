// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/messagebox.h"

#include <QFileDialog>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>

namespace ui {
namespace {

// Qt's own file dialog, in Russian with the program (its translation), in
// detail view with room for what its columns say: "Документ PDF", a whole
// date and time.
QString chooseFile(QFileDialog &dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setViewMode(QFileDialog::Detail);
    const QFontMetrics metrics = dialog.fontMetrics();
    const int pad = 3 * metrics.averageCharWidth();
    const int size = metrics.horizontalAdvance(QStringLiteral("999,9 КиБ")) + pad;
    const int kind = metrics.horizontalAdvance(QStringLiteral("Документ XLSX")) + pad;
    const int when = metrics.horizontalAdvance(QStringLiteral("31.12.2026 23:59:59")) + pad;
    dialog.resize(std::max(dialog.width(), size + kind + when + 44 * metrics.averageCharWidth()),
                  std::max(dialog.height(), 26 * metrics.height()));
    if (auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        QHeaderView *header = view->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(0, QHeaderView::Stretch);
        header->resizeSection(1, size);
        header->resizeSection(2, kind);
        header->resizeSection(3, when);
    }
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

} // namespace

bool QtMessageBoxes::show(QWidget *owner, const QString &text, const QString &caption, Icon icon,
                          Buttons buttons) {
    QMessageBox box(icon == Icon::Information ? QMessageBox::Information
                    : icon == Icon::Question  ? QMessageBox::Question
                                              : QMessageBox::Critical,
                    caption, text, QMessageBox::NoButton, owner);
    const bool yesNo = buttons == Buttons::YesNo || buttons == Buttons::YesByDefault;
    QPushButton *ok =
        box.addButton(yesNo ? QStringLiteral("Да") : QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton *other = nullptr;
    if (buttons == Buttons::OkCancel)
        other = box.addButton(QStringLiteral("Отмена"), QMessageBox::RejectRole);
    if (yesNo) other = box.addButton(QStringLiteral("Нет"), QMessageBox::RejectRole);
    // A question that could cost the user something waits for a "Да" they chose.
    box.setDefaultButton(buttons == Buttons::YesNo ? other : ok);
    box.exec();
    return box.clickedButton() == ok;
}

QString QtMessageBoxes::saveFileName(QWidget *owner, const QString &caption,
                                     const QString &suggested, const QString &filter) {
    QFileDialog dialog(owner, caption, suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!suggested.isEmpty()) dialog.selectFile(suggested);
    return chooseFile(dialog);
}

QString QtMessageBoxes::openFileName(QWidget *owner, const QString &caption,
                                     const QString &filter) {
    QFileDialog dialog(owner, caption, QString(), filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return chooseFile(dialog);
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
