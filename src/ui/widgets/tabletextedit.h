// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/widgets/accessibleparts.h"
#include "ui/widgets/focusring.h"

#include <QTextEdit>

namespace ui {

// A read-only text that shows a table, read by a screen reader as the
// table's cells (tabs between them, line ends between rows) rather than as
// the document's raw characters, which carry frame marks between the cells.
// A class of its own, so that the program's accessibility factory, not Qt's
// one for text edits, answers for it.
class TableTextEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit TableTextEdit(QWidget *parent = nullptr) : QTextEdit(parent) {
        setReadOnly(true);
        setReading(QString());
        installAccessibleParts();
        ringFocus(this);
    }
    // What a screen reader reads.
    void setReading(const QString &text) { setProperty(kReadingText, text); }
};

} // namespace ui
