// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/focusring.h"

#include <QEvent>
#include <QFocusFrame>
#include <QPointer>
#include <QWidget>

namespace ui {
namespace {

class FocusRing : public QObject {
public:
    explicit FocusRing(QWidget *widget) : QObject(widget), widget_(widget) {
        widget->installEventFilter(this);
    }

    bool eventFilter(QObject *, QEvent *e) override {
        if (e->type() == QEvent::FocusIn) {
            if (!ring_) {
                ring_ = new QFocusFrame(widget_->parentWidget());
                ring_->setProperty("decorative", true);
                ring_->setWidget(widget_);
            }
            ring_->show();
            ring_->raise();
        } else if (e->type() == QEvent::FocusOut && ring_) {
            ring_->hide();
        }
        return false;
    }

private:
    QWidget *widget_;
    QPointer<QFocusFrame> ring_;
};

} // namespace

void ringFocus(QWidget *widget) {
    new FocusRing(widget);
}

} // namespace ui
