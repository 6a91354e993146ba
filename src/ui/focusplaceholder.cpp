// SPDX-License-Identifier: GPL-3.0-or-later
#include "focusplaceholder.h"

#include <QFocusEvent>

namespace ui {

FocusPlaceholder::FocusPlaceholder(const QString &name, QWidget *parent) : QWidget(parent) {
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(name);
    resize(1, 1);
}

void FocusPlaceholder::focusInEvent(QFocusEvent *event) {
    QWidget::focusInEvent(event);
    emit wanted(event->reason() == Qt::BacktabFocusReason);
}

} // namespace ui
