// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The one rule every writer follows: what it writes is a regular file, or a
// new one. A device, a pipe, a socket or a folder is refused, never
// replaced; a file without write permission is refused even for root (its
// mode is the user's decision); a link is written through to its target, in
// the target's own folder, unless it leads out of the folder the user named.
namespace storage {

struct WritePlace {
    QString path;    // where to write: the name itself, or a link's target
    QString refused; // why not, for the user, after the path; empty when it may be written
};

// Where a writer may write `path`. With `within` (a folder the user named,
// as --output DIR), a link that leads out of that folder is refused.
WritePlace writePlace(const QString &path, const QString &within = {});

// Whether two paths name one file (the same device and inode, links
// followed); false when either is not there.
bool sameFile(const QString &a, const QString &b);

// Whether `path` names standard output: "-" or /dev/stdout.
bool isStandardOutput(const QString &path);

// Raises AppError, naming `option`, when `output` is one of the `inputs`
// by any path: a writer never replaces what it reads.
void refuseOverInput(const QString &option, const QString &output, const QStringList &inputs);

} // namespace storage
