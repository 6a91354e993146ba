// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

namespace ui {

// The desktop's own style, with the edges it loses under a dark palette drawn
// back: some styles draw a radio button's circle, a check box's square and a
// text field's frame a shade darker than the window, which on a dark window
// cannot be seen. Under a dark palette these edges are stroked again in a
// grey that stands out from the window by 3:1; under a light one nothing
// changes.
class ReadableStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget = nullptr) const override;
};

// Makes the application's style a ReadableStyle over the style it has now.
// Later calls do nothing.
void useReadableStyle();

} // namespace ui
