// SPDX-License-Identifier: GPL-3.0-or-later
#include "lookandfeel.h"

#include <QLabel>
#include <QLineEdit>

namespace ui {

namespace {

// Both of the layout's fonts are drawn with one face of their metrics. Asking
// for that face by name lets the two share their font engines: each distinct
// request costs a font engine at start-up, and the window asks for a dozen.
const QString kFace = QStringLiteral("Liberation Sans");

} // namespace

QFont plainFont(int pixelSize, bool bold) {
    QFont f(kFace);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

void useClassicFonts() {
    // The printout asks for Arial by name; Liberation Sans has its metrics.
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
}

void setTextColor(QWidget *widget, const QColor &color) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::Text, color);
    widget->setPalette(p);
}

QLabel *makeLabel(QWidget *parent, const QString &text, QPoint at, const QFont &font,
                  const QColor &color) {
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    if (color.isValid()) setTextColor(label, color);
    label->move(at);
    label->adjustSize();
    return label;
}

void placeField(QLineEdit *field, QRect geometry, const QFont &font, const QString &hint) {
    field->setGeometry(geometry);
    field->setFont(font);
    field->setToolTip(hint);
}

} // namespace ui
