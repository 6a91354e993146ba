// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/widgets/pictures.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace ui {
namespace {

// libjpeg reports fatal errors through error_exit, whose default ends the
// process; ours jumps back to the decoder instead.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void onError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager *>(info->err)->jump, 1);
}

void onMessage(j_common_ptr) {} // warnings about a damaged file are not for the user

// Only plain C objects live in this frame, so the longjmp skips no destructor.
bool decodeInto(const unsigned char *data, unsigned long size, QImage *out) {
    jpeg_decompress_struct info;
    ErrorManager err;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = onError;
    err.base.output_message = onMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    if (info.output_components != 3 || info.output_width > 8192 || info.output_height > 8192) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    *out = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (out->isNull()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

QPixmap placeholder(QSize size) {
    QPixmap pm(size.isValid() ? size : QSize(24, 24));
    pm.fill(QColor(236, 236, 236));
    QPainter p(&pm);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(pm.rect().adjusted(0, 0, -1, -1));
    return pm;
}

QImage decodePng(const QByteArray &bytes) {
    // Named, and not guessed: guessing asks every image plugin installed on
    // the system whether it can read the bytes, which loads them all (and the
    // libraries they pull in) before the window is shown.
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, QByteArrayLiteral("png"));
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace

QImage decodeJpeg(const QByteArray &bytes) {
    QImage img;
    if (bytes.isEmpty() || !decodeInto(reinterpret_cast<const unsigned char *>(bytes.constData()),
                                       static_cast<unsigned long>(bytes.size()), &img))
        return QImage();
    return img;
}

QPixmap loadPicture(const QString &resource, QSize box) {
    return loadPicture(resource, box, qApp ? qApp->devicePixelRatio() : 1.0);
}

QPixmap loadPicture(const QString &resource, QSize box, qreal devicePixelRatio) {
    const auto read = [](const QString &path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return QImage();
        const QByteArray bytes = file.readAll();
        return path.endsWith(QStringLiteral(".jpg")) ? decodeJpeg(bytes) : decodePng(bytes);
    };
    QImage img;
    int scale = 1;
    if (devicePixelRatio > 1) {
        const qsizetype dot = resource.lastIndexOf(u'.');
        img = read(resource.left(dot) + QStringLiteral("@2x") + resource.mid(dot));
        if (!img.isNull()) scale = 2;
    }
    if (img.isNull()) img = read(resource);
    if (img.isNull()) return placeholder(box);
    const QSize pixels = box * scale;
    if (box.isValid() && (img.width() > pixels.width() || img.height() > pixels.height()))
        img = img.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPixmap pm = QPixmap::fromImage(img);
    pm.setDevicePixelRatio(scale);
    return pm;
}

} // namespace ui
