// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/hovericon.h"

#include "ui/widgets/pictures.h"

#include <QMouseEvent>

namespace ui {

HoverIcon::HoverIcon(const QString &plainPicture, QSize plainSize, const QString &litPicture,
                     QSize litSize, QPoint at, QWidget *parent)
    : QLabel(parent), plain_(loadPicture(plainPicture, plainSize)), litPath_(litPicture),
      plainSize_(plainSize), litSize_(litSize) {
    setAlignment(Qt::AlignCenter);
    setGeometry(QRect(at, plainSize));
    setPixmap(plain_);
    setMouseTracking(true);
}

void HoverIcon::setLit(bool lit) {
    if (lit == lit_) return;
    lit_ = lit;
    if (lit && litPicture_.isNull()) litPicture_ = loadPicture(litPath_, litSize_);
    resize(lit ? litSize_ : plainSize_);
    setPixmap(lit ? litPicture_ : plain_);
}

void HoverIcon::mouseMoveEvent(QMouseEvent *event) {
    if (!lit_) {
        setLit(true);
        emit litByMouse();
    }
    QLabel::mouseMoveEvent(event);
}

void HoverIcon::mouseReleaseEvent(QMouseEvent *event) {
    if (lit_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

} // namespace ui
