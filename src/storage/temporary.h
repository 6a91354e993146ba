// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Where the program keeps its temporary files: TMPDIR when it names a
// folder that can be written, else the system's temporary folder; never
// the root folder or the working one.
namespace storage {

QString temporaryFolder();
// A QTemporaryFile template in that folder.
QString temporaryTemplate();

} // namespace storage
