// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rates/ratetable.h"
#include "rates/tablefile.h"
#include "ui/widgets/focuschain.h"

#include <QDate>
#include <QObject>
#include <QSet>

class QAction;
class QFrame;
class QMenu;
class QWidget;

namespace ui {

class Dialogs;
class RateGrid;

// The table of refinancing rates: the panel with its grid over the window's
// picture, the rate file behind it, the lookup of the rate in force on the
// period's last day, choosing an entry and the grid's menu. The selected row
// is the panel's: the lookup at start-up selects one long before anybody
// opens the panel, whose widgets are made when first wanted.
class RatePanel : public QObject {
    Q_OBJECT
public:
    RatePanel(QWidget *window, Dialogs &dialogs);

    // Opens the rate file, or makes it from the built-in history on the first
    // run. A failure is reported; the grid then shows what could be had, and
    // false says the lookup should not run on it.
    bool openStorage();

    // Selects the entry in force on `end` and tells its rate. Raises AppError
    // for an entry whose key names no date.
    void lookUp(QDate end);
    // Opening the table: selects the row the claim's `rate` came from (the
    // selected row while it gives that rate, else the first that does, else
    // the row in force on `end`) and changes nothing; the rate changes only
    // when the user chooses a row.
    void showRate(QDate end, const QString &rate);
    // The same for a change of the period's end: errors are reported.
    void followPeriodEnd(QDate end);
    // The user changed the period's end: the table is brought up to date with
    // its file first.
    void periodEndChanged(QDate end);
    // When the file changed on disk and no edit of ours waits, the grid shows
    // the file's table.
    void followFile();

    // Shows the panel on top, or hides it.
    void open();
    void close();
    bool isOpen() const;
    // The keyboard goes to the grid of the open panel.
    void focusGrid();

    rates::RateTable &table() { return file_.table(); }
    const QString &rateFilePath() const { return file_.path(); }
    // The table is kept in another file from now on.
    void setRateFilePath(const QString &path) { file_.setPath(path); }
    // Writes the table with `edit`, just made to it, to the rate file. When
    // another program changed the file meanwhile, the edit is made to the
    // file's table, which is shown, and the user is told. Raises AppError
    // when it cannot be saved.
    void saveEdit(const rates::TableEdit &edit);
    // Saves `fresh` and only then shows it: a table that cannot be saved
    // never replaces the one in the file. Over a file that was refused at
    // start it asks first, and keeps the old file beside the new one; false
    // when the user said no (nothing changed).
    bool replaceTable(const rates::RateTable &fresh);
    // The table holds a change the file lacks: its save failed.
    bool hasUnsavedChange() const { return file_.hasUnsavedEdits(); }
    // The row chosen in the grid, counted from 1 (the first entry); an empty
    // table has one empty row.
    int selectedRow() const { return selectedRow_; }
    int rowCount() const;
    // A program move of the selection: a move to another row chooses it as a
    // click would.
    void selectRow(int row);
    // After the table changed: when the selected row no longer exists the
    // selection moves to the new last row, which counts as a move.
    void refresh();

    // The panel and its grid, made on the first call.
    QFrame *frame();
    RateGrid *grid();
    // The grid in the window's keyboard order.
    FocusLink &focusLink() { return focus_; }

signals:
    // The panel's widgets were made: others put theirs on it.
    void frameMade(QFrame *frame);
    // The table may hold other entries now (opened, reread, edited, replaced).
    void tableChanged();
    // The lookup found the rate in force on the end date.
    void rateFound(const QString &rate);
    // A good entry was chosen: its date and its normalised rate.
    void entryChosen(QDate date, const QString &rate);
    // An entry that is not a good rate was chosen; the user was told.
    void badEntryChosen();
    // A double click, Enter or "Выбрать": the choice is made.
    void choiceMade();
    // "Ставки, известные программе (по …)" in the menu.
    void knownRatesWanted();
    // The grid's menu asks to add an entry, to change or delete the chosen one.
    void addingWanted();
    void editingWanted();
    void deletingWanted();

private:
    void chooseRow(int row);
    // The user moved the grid's selection, or clicked the selected row.
    void userSelected(int row);
    // Puts a row's normalised rate into the table, the grid and the file.
    void storeRate(int i, const QString &rate);
    // Saves the recorded edits; tells when they went over another program's.
    void saveRecorded();
    // Says that a row has no rate to take; the claim's rate stays.
    void tellUnusableRow(int i);
    // Whether row i's problem is to be told now: always when the user chose
    // it, once per line while the lookup follows the period's end.
    bool firstTold(int i);
    void showMenu(const QPoint &globalPos);

    Dialogs &dialogs_;
    rates::TableFile file_;
    QWidget *window_;
    QFrame *frame_ = nullptr;
    RateGrid *grid_ = nullptr;
    int selectedRow_ = 1;
    QMenu *menu_;
    QAction *chooseAction_, *addAction_, *editAction_, *deleteAction_;
    FocusLink focus_;
    bool passingLastRow_ = false;
    bool lookingUp_ = false;
    QSet<QString> toldByLookup_;
};

} // namespace ui
