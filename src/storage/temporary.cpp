// SPDX-License-Identifier: GPL-3.0-or-later
#include "temporary.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace storage {

QString temporaryFolder() {
    const char *named = std::getenv("TMPDIR");
    if (named && *named) {
        const QFileInfo folder(QFile::decodeName(named));
        if (folder.isAbsolute() && folder.isDir() && access(named, W_OK | X_OK) == 0)
            return folder.absoluteFilePath();
    }
    return QStringLiteral(P_tmpdir);
}

QString temporaryTemplate() {
    return temporaryFolder() + QStringLiteral("/dolgomer-XXXXXX");
}

} // namespace storage
