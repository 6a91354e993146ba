// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/lookandfeel.h"

#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <cmath>

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

namespace {

double luminance(const QColor &c) {
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

constexpr double kReadable = 4.5; // text
constexpr double kVisible = 3.0;  // a control's edge, a focus mark

// Lighter in steps, hue and saturation kept, until `ratio` is reached.
QColor lightenedTo(const QColor &color, const QColor &background, double ratio) {
    if (background.lightness() >= 128 || contrastRatio(color, background) >= ratio) return color;
    const QColor c = color.toHsl();
    for (int l = c.lightness(); l <= 255; l += 4) {
        const QColor lighter = QColor::fromHsl(c.hslHue(), c.hslSaturation(), l);
        if (contrastRatio(lighter, background) >= ratio) return lighter.toRgb();
    }
    return QColor(Qt::white);
}

} // namespace

double contrastRatio(const QColor &a, const QColor &b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool isDark(const QPalette &palette) {
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor readableOn(const QColor &color, const QColor &background) {
    return lightenedTo(color, background, kReadable);
}

QColor visibleOn(const QColor &color, const QColor &background) {
    return lightenedTo(color, background, kVisible);
}

QColor readableColor(const QColor &color, const QWidget *widget) {
    return readableOn(color, widget->palette().color(QPalette::Window));
}

void setTextColor(QWidget *widget, const QColor &color) {
    QPalette p = widget->palette();
    const QColor readable = readableColor(color, widget);
    p.setColor(QPalette::WindowText, readable);
    p.setColor(QPalette::Text, readable);
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
