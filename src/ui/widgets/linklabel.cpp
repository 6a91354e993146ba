// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/linklabel.h"

#include "ui/widgets/accessibleparts.h"
#include "ui/widgets/hovericon.h"
#include "ui/widgets/lookandfeel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace ui {

LinkLabel::LinkLabel(const QString &text, QWidget *parent, QRect geometry, const QFont &font,
                     const QColor &color, const QString &hint)
    : QLabel(text, parent) {
    setFont(font);
    if (color.isValid()) setTextColor(this, color);
    move(geometry.topLeft());
    adjustSize();
    if (geometry.width() > 0) resize(geometry.size());
    setCursor(Qt::PointingHandCursor);
    setToolTip(hint);
    setFocusPolicy(Qt::TabFocus);
    setProperty(kActionLink, true);
    installAccessibleParts();
}

void LinkLabel::paintEvent(QPaintEvent *event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.backgroundColor = palette().color(QPalette::Window);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}

void LinkLabel::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (event->modifiers() & ~Qt::KeypadModifier) break; // Ctrl+Enter is the window's
        event->accept();
        emit clicked();
        return;
    default:
        break;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::setHoverFont(bool bold, bool underline) {
    hover_ = Hover::Font;
    hoverBold_ = bold;
    hoverUnderline_ = underline;
    setMouseTracking(true);
}

void LinkLabel::setHoverColor(const QColor &color) {
    hover_ = Hover::Color;
    hoverColor_ = readableColor(color, this);
    setMouseTracking(true);
}

void LinkLabel::showHover() {
    if (hover_ == Hover::Font) {
        QFont f = font();
        f.setBold(hoverBold_);
        f.setUnderline(hoverUnderline_);
        setFont(f);
    } else if (hover_ == Hover::Color) {
        QPalette p = palette();
        p.setColor(QPalette::WindowText, hoverColor_);
        setPalette(p);
    }
    if (icon_) icon_->setLit(true);
}

void LinkLabel::showRest() {
    if (hover_ == Hover::Font) {
        QFont f = font();
        f.setBold(hoverBold_);
        f.setUnderline(false);
        setFont(f);
    } else if (hover_ == Hover::Color) {
        setPalette(window()->palette());
    }
}

void LinkLabel::mouseMoveEvent(QMouseEvent *event) {
    showHover();
    QLabel::mouseMoveEvent(event);
}

void LinkLabel::leaveEvent(QEvent *event) {
    showRest();
    QLabel::leaveEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::setIcon(HoverIcon *icon) {
    icon_ = icon;
    connect(icon, &HoverIcon::litByMouse, this, &LinkLabel::showHover);
    icon->setToolTip(toolTip());
}

} // namespace ui
