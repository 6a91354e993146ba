// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/readablestyle.h"

#include "ui/widgets/lookandfeel.h"

#include <QApplication>
#include <QPainter>
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
    // The proxy takes the style in use as its base (and as its child, so the
    // application does not delete it when it is replaced): no second style
    // is made at start-up.
    QApplication::setStyle(new ReadableStyle(QApplication::style()));
}

} // namespace ui
