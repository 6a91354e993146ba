// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>

namespace storage {

// Writes all of `bytes`; false when a write fails, the device's error string
// then saying why. A write that stops part-way (a disk that filled
// meanwhile) reports no reason, so the rest is written again, and that
// write fails with the system's own reason.
bool writeWhole(QIODevice &device, QByteArrayView bytes);

// Writes `bytes` to `path` atomically: the old file stays whole until the new
// one is complete on disk, and a write that fails anywhere on the way (a full
// disk, a size limit, a folder that cannot be written) leaves it as it was.
// What may be written is the writers' rule (writeplace.h), `within` the
// folder the user named. Returns "" when every byte is on disk, else the reason.
QString saveFile(const QString &path, const QByteArray &bytes, const QString &within = {});

} // namespace storage
