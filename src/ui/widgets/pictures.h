// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace ui {

// Decodes a JPEG with libjpeg; a null image when the bytes are not a JPEG it
// can read.
QImage decodeJpeg(const QByteArray &bytes);

// A picture from the program's resources: JPEGs through decodeJpeg, the
// icons through Qt. When `box` is given the picture is scaled down, never up,
// to fit it with its proportions kept. A picture that cannot be read becomes a
// plain framed placeholder of the box's (or a 24x24) size, so the window still
// opens and shows where the picture belongs. On a screen scaled up (a device
// pixel ratio above 1) the picture drawn at twice the pixels, "name@2x.ext",
// is taken when there is one, so that it stays as sharp as the text; sizes
// and boxes are in the window's own (logical) pixels either way.
QPixmap loadPicture(const QString &resource, QSize box = QSize());
QPixmap loadPicture(const QString &resource, QSize box, qreal devicePixelRatio);

} // namespace ui
