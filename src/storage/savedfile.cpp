// SPDX-License-Identifier: GPL-3.0-or-later
#include "savedfile.h"

#include "writeplace.h"

#include <QSaveFile>

namespace storage {

bool writeWhole(QIODevice &device, QByteArrayView bytes) {
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = device.write(bytes.data() + done, bytes.size() - done);
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

QString saveFile(const QString &path, const QByteArray &bytes, const QString &within) {
    const WritePlace place = writePlace(path, within);
    if (!place.refused.isEmpty()) return place.refused;
    QSaveFile file(place.path);
    // Unbuffered, so that a failed write is seen by the file itself: a write
    // that failed only when a buffer was flushed would still be committed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
    if (!writeWhole(file, bytes) || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) return file.errorString();
    return QString();
}

} // namespace storage
