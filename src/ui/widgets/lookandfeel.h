// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
#include <QString>

class QLabel;
class QLineEdit;
class QWidget;

// The window's look: the classic desktop's fonts, colours and fixed places.
// Everything is placed in pixels: the window has a fixed size, and its heights
// and the report's print link are worked out from these places.
namespace ui {

inline const QColor kTeal(0, 128, 128);
inline const QColor kMaroon(128, 0, 0);
inline const QColor kBlue(0, 0, 255);
inline const QColor kGrey(128, 128, 128);

// The layout's font at a pixel size: its Arial and its sans serif texts are
// both drawn with Liberation Sans, which has their metrics, so the layout
// holds everywhere.
QFont plainFont(int pixelSize, bool bold = false);
// Lets texts that ask for Arial by name (the printout) get that face too.
void useClassicFonts();

// The contrast ratio of two colours, 1 to 21 (by their relative luminance).
double contrastRatio(const QColor &a, const QColor &b);
// Whether a palette draws windows dark (a dark desktop theme).
bool isDark(const QPalette &palette);
// The window's fixed colours are the classic desktop's, made for a light
// window. On a dark background a colour is replaced by the nearest lighter
// shade of it that has a contrast of at least 4.5:1 with the background;
// under a light palette every colour stays exactly as it is.
QColor readableOn(const QColor &color, const QColor &background);
// The same to 3:1, enough for what is not text: a control's edge, a mark.
QColor visibleOn(const QColor &color, const QColor &background);
// The same for a text on `widget`'s window colour.
QColor readableColor(const QColor &color, const QWidget *widget);

// The colour of a control's text (made readable on a dark window).
void setTextColor(QWidget *widget, const QColor &color);

// A label that sizes itself to its text, so that its place is its corner alone.
QLabel *makeLabel(QWidget *parent, const QString &text, QPoint at, const QFont &font,
                  const QColor &color = QColor());

// Places a line edit with its font and hint.
void placeField(QLineEdit *field, QRect geometry, const QFont &font, const QString &hint);

} // namespace ui
