// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/widgets/accessibleparts.h"

#include <QComboBox>

namespace ui {

// A choice a screen reader names by what it is ("Вид") and reads its value
// as what is chosen ("оплата"); Qt's own reading of a combo box gives the
// chosen text as its name. A class of its own, so that the program's
// accessibility factory answers for it.
class NamedComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit NamedComboBox(QWidget *parent = nullptr) : QComboBox(parent) {
        setProperty(kNamedChoice, true);
        installAccessibleParts();
    }
};

} // namespace ui
