// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <QShortcut>

namespace ui {

// The keys that count and print a claim, the same in the window and in the
// periods dialog: F9 and Ctrl+Enter count, Ctrl+P prints.
template <class Owner>
void addClaimKeys(Owner *owner, void (Owner::*count)(), void (Owner::*print)()) {
    for (const QKeySequence &keys :
         {QKeySequence(Qt::Key_F9), QKeySequence(Qt::CTRL | Qt::Key_Return),
          QKeySequence(Qt::CTRL | Qt::Key_Enter)})
        QObject::connect(new QShortcut(keys, owner), &QShortcut::activated, owner, count);
    QObject::connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), owner),
                     &QShortcut::activated, owner, print);
}

} // namespace ui
