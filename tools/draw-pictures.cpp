// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the program's pictures: five decorative JPEGs and the plain and
// highlighted action icons, each also at twice the pixels ("@2x") for
// screens scaled up. Run once by hand when a picture changes:
//   g++ -std=c++20 -fPIC draw-pictures.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/draw
//   QT_QPA_PLATFORM=offscreen /tmp/draw ../resources/pictures
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

// Pixels per point of the pictures being drawn: 1, or 2 for the "@2x" set.
int gScale = 1;

QImage canvas(int w, int h, QColor top, QColor bottom) {
    QImage img(w * gScale, h * gScale, QImage::Format_RGB32);
    img.setDevicePixelRatio(gScale);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(img.rect(), g);
    return img;
}

QImage coins() {
    QImage img = canvas(300, 312, QColor(250, 246, 232), QColor(222, 208, 170));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    for (int stack = 0; stack < 3; ++stack) {
        const int x = 40 + stack * 80, n = 5 + stack * 3;
        for (int i = 0; i < n; ++i) {
            const QRectF r(x, 250 - i * 14, 80, 30);
            p.setPen(QPen(QColor(120, 90, 20), 2));
            p.setBrush(QColor(218, 172, 60));
            p.drawEllipse(r);
        }
    }
    p.setPen(QPen(QColor(120, 90, 20), 3));
    p.setFont(QFont(QStringLiteral("Liberation Serif"), 40, QFont::Bold));
    p.drawText(QRect(0, 20, 300, 60), Qt::AlignCenter, QStringLiteral("₽"));
    return img;
}

QImage calendar() {
    QImage img = canvas(249, 259, QColor(236, 242, 250), QColor(196, 210, 230));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 70, 90), 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(24, 40, 200, 190), 10, 10);
    p.fillRect(QRectF(25, 41, 199, 36), QColor(190, 40, 40));
    p.setPen(QPen(QColor(150, 160, 180), 1));
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 7; ++c)
            p.drawRect(QRectF(34 + c * 26, 88 + r * 27, 22, 22));
    p.fillRect(QRectF(34 + 4 * 26, 88 + 2 * 27, 22, 22), QColor(230, 120, 60));
    p.setPen(QPen(QColor(60, 70, 90), 4));
    p.drawLine(70, 28, 70, 54);
    p.drawLine(178, 28, 178, 54);
    return img;
}

QImage scales() {
    QImage img = canvas(320, 280, QColor(244, 240, 236), QColor(200, 190, 178));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(70, 60, 50), 5));
    p.drawLine(160, 40, 160, 230);
    p.drawLine(70, 80, 250, 70);
    p.drawLine(110, 236, 210, 236);
    p.setPen(QPen(QColor(70, 60, 50), 2));
    for (int x : {70, 250}) {
        const int y = x == 70 ? 80 : 70;
        p.drawLine(x, y, x - 40, y + 90);
        p.drawLine(x, y, x + 40, y + 90);
        p.setBrush(QColor(180, 140, 70));
        p.drawChord(QRectF(x - 45, y + 70, 90, 40), 180 * 16, 180 * 16);
    }
    return img;
}

QImage documentPage() {
    QImage img = canvas(249, 259, QColor(234, 240, 234), QColor(190, 206, 190));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(80, 90, 80), 2));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(50, 24, 150, 210));
    p.setPen(QPen(QColor(150, 160, 150), 3));
    for (int i = 0; i < 9; ++i)
        p.drawLine(66, 54 + i * 16, i % 3 == 2 ? 140 : 184, 54 + i * 16);
    p.setPen(QPen(QColor(40, 70, 170), 4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(120, 170, 56, 56));
    p.drawEllipse(QRectF(130, 180, 36, 36));
    return img;
}

QImage chart() {
    QImage img = canvas(280, 240, QColor(245, 245, 250), QColor(205, 205, 225));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 60, 80), 3));
    p.drawLine(30, 210, 260, 210);
    p.drawLine(30, 210, 30, 20);
    const int heights[] = {40, 70, 60, 110, 140, 170};
    for (int i = 0; i < 6; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 128, 128).lighter(100 + i * 12));
        p.drawRect(QRectF(45 + i * 35, 208 - heights[i], 24, heights[i]));
    }
    p.setPen(QPen(QColor(190, 40, 40), 3));
    p.drawLine(50, 160, 240, 40);
    return img;
}

QImage icon(int w, int h, bool lit, int kind) {
    QImage img(w * gScale, h * gScale, QImage::Format_ARGB32);
    img.setDevicePixelRatio(gScale);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = lit ? QColor(0, 150, 150) : QColor(70, 90, 90);
    const QColor fill = lit ? QColor(200, 250, 240) : QColor(225, 228, 228);
    p.setPen(QPen(ink, 1.5));
    p.setBrush(fill);
    const QRectF r(1.5, 1.5, w - 3, h - 3);
    if (kind == 0) { // calculator
        p.drawRoundedRect(r, 3, 3);
        p.fillRect(QRectF(5, 4, w - 10, 6), ink);
        for (int row = 0; row < 3; ++row)
            for (int c = 0; c < 3; ++c)
                p.fillRect(QRectF(5 + c * (w - 10) / 3.0, 12 + row * (h - 15) / 3.0, 4, 3), ink);
    } else if (kind == 1) { // close
        p.drawEllipse(r);
        p.setPen(QPen(lit ? QColor(200, 30, 30) : QColor(120, 60, 60), 3));
        p.drawLine(QPointF(w * 0.3, h * 0.3), QPointF(w * 0.7, h * 0.7));
        p.drawLine(QPointF(w * 0.7, h * 0.3), QPointF(w * 0.3, h * 0.7));
    } else { // printer
        p.drawRect(QRectF(8, 2, w - 16, 10));
        p.drawRoundedRect(QRectF(2, 11, w - 4, 13), 2, 2);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(8, 20, w - 16, 10));
        p.setPen(QPen(ink, 1));
        p.drawLine(11, 24, w - 11, 24);
        p.drawLine(11, 27, w - 14, 27);
        p.fillRect(QRectF(w - 7, 14, 3, 3), lit ? QColor(0, 200, 0) : QColor(90, 120, 90));
    }
    return img;
}

} // namespace

int main(int argc, char **argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    for (gScale = 1; gScale <= 2; ++gScale) {
        // "picture1.jpg", or "picture1@2x.jpg" at twice the pixels.
        const auto named = [](const QString &name) {
            if (gScale == 1) return name;
            const qsizetype dot = name.lastIndexOf(u'.');
            return name.left(dot) + QStringLiteral("@2x") + name.mid(dot);
        };
        const QList<QPair<QString, QImage>> jpegs = {
            {QStringLiteral("picture1.jpg"), coins()},
            {QStringLiteral("picture2.jpg"), calendar()},
            {QStringLiteral("picture3.jpg"), scales()},
            {QStringLiteral("picture4.jpg"), documentPage()},
            {QStringLiteral("picture5.jpg"), chart()},
        };
        for (const auto &[name, img] : jpegs)
            if (!img.save(dir + u'/' + named(name), "JPEG", 80)) return 1;
        const struct {
            const char *name;
            int w, h, kind;
            bool lit;
        } icons[] = {
            {"calc.png", 24, 24, 0, false},    {"calc-lit.png", 25, 26, 0, true},
            {"close.png", 26, 26, 1, false},   {"close-lit.png", 25, 26, 1, true},
            {"print.png", 32, 32, 2, false},   {"print-lit.png", 32, 32, 2, true},
            {"dolgomer.png", 64, 64, 0, true},
        };
        for (const auto &i : icons)
            if (!icon(i.w, i.h, i.lit, i.kind).save(dir + u'/' + named(QLatin1String(i.name))))
                return 1;
    }
    return 0;
}
