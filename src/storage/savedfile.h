// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace storage {

// Writes `bytes` to `path` atomically: the old file stays whole until the new
// one is complete on disk, and a write that fails anywhere on the way (a full
// disk, a size limit, a folder that cannot be written) leaves it as it was.
// Returns "" when every byte is on disk, else the reason.
QString saveFile(const QString &path, const QByteArray &bytes);

} // namespace storage
