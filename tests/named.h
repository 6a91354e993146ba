// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

// A control found by its object name under `root`, as a test reaches it:
// the window's parts expose no widgets for tests. A missing name stops the
// test at once, naming it.
template <class T> T *named(const QObject *root, const char *name) {
    T *found = root->findChild<T *>(QString::fromLatin1(name));
    if (!found) qFatal("%s has no %s", qPrintable(root->objectName()), name);
    return found;
}
