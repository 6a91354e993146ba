#pragma once

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
// rate file at once.
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

    DatePicker *entryDate() const { return entryDate_; }
    NumberField *entryRate() const { return entryRate_; }

signals:
    // The panel opened: the window makes room for it.
    void opened(RateEditor::Mode mode);

private:
    void saveNewEntry();
    void saveChanges();
    // The table line the panel's date and rate make.
    QString entryLine();
    // Writes the rate file after an edit; a failure is told in its own box
    // and the table keeps the change (the file stays the last good table).
    void saveTable();

    RatePanel *rates_;
    Dialogs &dialogs_;
    QFrame *frame_;
    QLabel *title_;
    DatePicker *entryDate_;
    NumberField *entryRate_;
    LinkLabel *saveEntryLink_;
    LinkLabel *saveChangesLink_;
    LinkLabel *closeLink_;
};

} // namespace ui
