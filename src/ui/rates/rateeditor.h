// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rates/tablefile.h"
#include "ui/widgets/focuschain.h"

#include <QDate>
#include <QObject>

class QFrame;
class QLabel;
class QWidget;

namespace ui {

class DatePicker;
class Dialogs;
class LinkLabel;
class NumberField;
class RatePanel;

// The panel for adding a rate entry or changing the chosen one, over the
// claim's inputs; deleting the chosen entry. Every change is written to the
// rate file at once. The panel's widgets are made when first wanted; until
// then it keeps the chosen entry for them.
class RateEditor : public QObject {
    Q_OBJECT
public:
    enum class Mode { Adding, Editing };
    RateEditor(QWidget *window, RatePanel *rates, Dialogs &dialogs);

    // Opens the panel for a new entry: today's date and the newest rate.
    void startAdding();
    // Opens the panel for changing the chosen entry.
    void startEditing();
    void close();
    bool isOpen() const;
    // Open for changing the chosen entry.
    bool isEditing() const;

    // Shows a chosen entry; an open edit panel is opened again for it.
    void showEntry(QDate date, const QString &rate);

    // Asks, then deletes the chosen entry.
    void deleteChosen();

    // The panel's fields, made on the first call.
    DatePicker *entryDate();
    NumberField *entryRate();
    // The fields in the window's keyboard order.
    FocusLink &focusLink() { return focus_; }

signals:
    // The panel opened: the window makes room for it.
    void opened(RateEditor::Mode mode);

private:
    void build();
    void saveNewEntry();
    void saveChanges();
    // The table line the panel's date and rate make.
    QString entryLine();
    bool refusesRate();
    // Writes the rate file after `edit`; a failure is told in its own box
    // and the table keeps the change (the file stays the last good table).
    void saveTable(const rates::TableEdit &edit);

    QWidget *window_;
    FocusLink focus_;
    RatePanel *rates_;
    Dialogs &dialogs_;
    QFrame *frame_ = nullptr;
    QLabel *title_ = nullptr;
    DatePicker *entryDate_ = nullptr;
    NumberField *entryRate_ = nullptr;
    LinkLabel *saveEntryLink_ = nullptr;
    LinkLabel *saveChangesLink_ = nullptr;
    LinkLabel *closeLink_ = nullptr;
    // The chosen entry while there are no fields to show it.
    QDate chosenDate_{2000, 1, 1};
    QString chosenRate_ = QStringLiteral("0");
};

} // namespace ui
