// SPDX-License-Identifier: GPL-3.0-or-later
#include "savedfile.h"

#include <QSaveFile>

namespace storage {

QString saveFile(const QString &path, const QByteArray &bytes) {
    QSaveFile file(path);
    // Unbuffered, so that a failed write is seen by the file itself: a write
    // that failed only when a buffer was flushed would still be committed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return file.errorString();
    // A write that stops part-way (a disk that filled meanwhile) reports no
    // reason; the write of the rest then fails with the system's own.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return reason;
        }
        done += n;
    }
    if (!file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit()) return file.errorString();
    return QString();
}

} // namespace storage
