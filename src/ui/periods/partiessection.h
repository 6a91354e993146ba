// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/parties.h"

#include <QList>
#include <QWidget>

class QFormLayout;
class QHBoxLayout;
class QLineEdit;
class QToolButton;

namespace ui {

class Dialogs;

// "Стороны": who claims from whom, on what ground and before which court,
// for the claim's papers. Folded until opened; its fields are made then.
class PartiesSection : public QWidget {
    Q_OBJECT
public:
    PartiesSection(QWidget *parent, Dialogs &dialogs);

    const calc::Parties &parties() const { return parties_; }
    // A saved claim's parties, told to no one.
    void show(const calc::Parties &parties);
    // Opens the section and puts the keyboard in its first empty field the
    // paper needs (the papers ask for it when one is missing).
    void open();
    // A button beside the section's own (the papers made of it).
    void addBeside(QWidget *widget);

signals:
    void changed();

private:
    void unfold(bool open);
    void makeFields();
    void readField(int index);
    void showFields();

    Dialogs &dialogs_;
    calc::Parties parties_;
    QToolButton *toggle_;
    QHBoxLayout *row_;
    QWidget *form_ = nullptr; // made when first opened
    QList<QLineEdit *> fields_;
};

} // namespace ui
