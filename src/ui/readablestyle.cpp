// SPDX-License-Identifier: GPL-3.0-or-later
#include "readablestyle.h"

#include "lookandfeel.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

namespace ui {

void ReadableStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                  QPainter *painter, const QWidget *widget) const {
    QProxyStyle::drawPrimitive(element, option, painter, widget);
    if (!isDark(option->palette)) return;
    if (element != PE_IndicatorRadioButton && element != PE_IndicatorCheckBox &&
        element != PE_FrameLineEdit)
        return;
    const QRectF edge = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, element == PE_IndicatorRadioButton);
    painter->setPen(QPen(visibleOn(kGrey, option->palette.color(QPalette::Window)), 1));
    painter->setBrush(Qt::NoBrush);
    if (element == PE_IndicatorRadioButton)
        painter->drawEllipse(edge);
    else
        painter->drawRect(edge);
    painter->restore();
}

void useReadableStyle() {
    if (qobject_cast<ReadableStyle *>(QApplication::style())) return;
    // The proxy owns its base: a fresh copy of the style in use, as the
    // application deletes the style it replaces.
    QApplication::setStyle(new ReadableStyle(QStyleFactory::create(QApplication::style()->name())));
}

} // namespace ui
