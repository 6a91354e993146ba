// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/rates/ratepanel.h"

#include "common/apperror.h"
#include "rates/knownrates.h"
#include "rates/ratelookup.h"
#include "rates/userrates.h"
#include "storage/ratefile.h"
#include "ui/rates/rategrid.h"
#include "ui/widgets/dialogs.h"
#include "ui/widgets/focusring.h"

#include <QAction>
#include <QDir>
#include <QFrame>
#include <QMenu>
#include <QScopedValueRollback>
#include <algorithm>

namespace ui {

RatePanel::RatePanel(QWidget *window, Dialogs &dialogs)
    : QObject(window), dialogs_(dialogs), window_(window) {
    setObjectName(QStringLiteral("rateList"));
    menu_ = new QMenu(window);
    chooseAction_ = menu_->addAction(QStringLiteral("Выбрать"));
    menu_->addSeparator();
    addAction_ = menu_->addAction(QStringLiteral("Добавить"));
    editAction_ = menu_->addAction(QStringLiteral("Редактировать"));
    deleteAction_ = menu_->addAction(QStringLiteral("Удалить"));
    addAction_->setObjectName(QStringLiteral("addRate"));
    editAction_->setObjectName(QStringLiteral("editRate"));
    deleteAction_->setObjectName(QStringLiteral("deleteRate"));
    // Rates for an office without the Internet, when the build carries them.
    if (!rates::knownKeyRates().changes.isEmpty()) {
        menu_->addSeparator();
        connect(menu_->addAction(rates::knownRatesTitle()), &QAction::triggered, this,
                &RatePanel::knownRatesWanted);
    }

    // The keys say the same from the grid; the menu shows them beside its items.
    addAction_->setShortcut(Qt::Key_Insert);
    editAction_->setShortcut(Qt::Key_F2);
    deleteAction_->setShortcut(QKeySequence::Delete);
    for (QAction *a : {addAction_, editAction_, deleteAction_})
        a->setShortcutContext(Qt::WidgetShortcut);

    connect(chooseAction_, &QAction::triggered, this, &RatePanel::choiceMade);
    connect(addAction_, &QAction::triggered, this, &RatePanel::addingWanted);
    connect(editAction_, &QAction::triggered, this, &RatePanel::editingWanted);
    connect(deleteAction_, &QAction::triggered, this, &RatePanel::deletingWanted);
}

QFrame *RatePanel::frame() {
    if (frame_) return frame_;
    frame_ = new QFrame(window_);
    frame_->setObjectName(QStringLiteral("ratePanel"));
    frame_->setAttribute(Qt::WA_NoMousePropagation);
    frame_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    // It ends above "По периодам...", which stays in sight and clickable.
    frame_->setGeometry(336, 24, 249, 258);
    frame_->setAutoFillBackground(true);
    frame_->hide();
    grid_ = new RateGrid(&file_.table(), selectedRow_, frame_);
    ringFocus(grid_);
    grid_->setObjectName(QStringLiteral("rateGrid"));
    grid_->setAccessibleName(QStringLiteral("Таблица ставок рефинансирования"));
    grid_->setGeometry(9, 10, 232, 220);
    grid_->setToolTip(QStringLiteral("Используйте двойной клик для выбора"));
    grid_->setAccessibleDescription(
        QStringLiteral("Enter — выбрать ставку; Insert — добавить запись, F2 — редактировать, "
                       "Delete — удалить; Shift+F10 — меню"));
    grid_->addActions({addAction_, editAction_, deleteAction_});
    connect(grid_, &RateGrid::rowSelected, this, &RatePanel::userSelected);
    connect(grid_, &RateGrid::confirmed, this, &RatePanel::choiceMade);
    connect(grid_, &RateGrid::menuRequested, this, &RatePanel::showMenu);
    focus_.place({grid_});
    emit frameMade(frame_);
    return frame_;
}

RateGrid *RatePanel::grid() {
    frame();
    return grid_;
}

int RatePanel::rowCount() const {
    return std::max(1, file_.table().count());
}

void RatePanel::selectRow(int row) {
    if (row < 1 || row > rowCount() || row == selectedRow_) return;
    selectedRow_ = row;
    if (grid_) grid_->showRow(row);
    chooseRow(row);
}

// A click on a key cell tells its row but keeps the selection where it was.
void RatePanel::userSelected(int row) {
    selectedRow_ = grid_->selectedRow();
    chooseRow(row);
}

bool RatePanel::openStorage() {
    rates::UserRates user = rates::openUserRates(rates::RateFileAccess::ReadWrite);
    const QString problem = user.problem;
    if (!user.calendarProblem.isEmpty()) dialogs_.reportError(user.calendarProblem);
    file_.open(std::move(user));
    refresh();
    if (problem.isEmpty()) return true;
    dialogs_.reportError(problem);
    return false;
}

void RatePanel::lookUp(QDate end) {
    const QScopedValueRollback lookingUp(lookingUp_, true);
    const rates::RateLookupPlan plan = rates::planRateLookup(table(), end);
    {
        // On its way the lookup passes the last row; an empty one is no news.
        const QScopedValueRollback passing(passingLastRow_, true);
        selectRow(plan.lastRow + 1);
    }
    if (!plan.error.isEmpty()) throw AppError(plan.error);
    if (plan.chosen < 0) return;
    if (selectedRow_ != plan.chosen + 1) {
        selectRow(plan.chosen + 1); // the row selection takes it from here
        return;
    }
    // Already selected, so no row selection runs: its rate is taken here, in
    // the same normalised form.
    const rates::RowSelection &s = plan.selection;
    if (!s.usable()) {
        if (firstTold(plan.chosen)) tellUnusableRow(plan.chosen);
        return;
    }
    if (s.rate != table().rate(plan.chosen)) storeRate(plan.chosen, s.rate);
    emit rateFound(s.rate);
}

void RatePanel::showRate(QDate end, const QString &rate) {
    const auto gives = [&](int row) {
        const int i = row - 1;
        if (i < 0 || i >= table().count()) return false;
        const rates::RowSelection s = rates::normaliseRow(table().key(i), table().rate(i));
        return s.outcome == rates::RowSelection::Ok && s.rate == rate;
    };
    int row = gives(selectedRow_) ? selectedRow_ : -1;
    for (int r = 1; row < 0 && r <= table().count(); ++r)
        if (gives(r)) row = r;
    if (row < 0) {
        const rates::RateLookupPlan plan = rates::planRateLookup(table(), end);
        row = plan.chosen >= 0 ? plan.chosen + 1 : selectedRow_;
    }
    // Shown, not chosen: no row selection runs.
    selectedRow_ = std::clamp(row, 1, rowCount());
    if (grid_) grid_->showRow(selectedRow_);
}

void RatePanel::followPeriodEnd(QDate end) {
    dialogs_.guard([&] { lookUp(end); });
}

void RatePanel::periodEndChanged(QDate end) {
    followFile();
    followPeriodEnd(end);
}

void RatePanel::followFile() {
    if (file_.reload()) refresh();
}

void RatePanel::open() {
    frame()->show();
    frame_->raise();
}

void RatePanel::close() {
    if (frame_) frame_->hide();
}

bool RatePanel::isOpen() const {
    return frame_ && !frame_->isHidden();
}

void RatePanel::focusGrid() {
    if (isOpen()) grid_->setFocus();
}

void RatePanel::saveEdit(const rates::TableEdit &edit) {
    file_.record(edit);
    saveRecorded();
}

void RatePanel::saveRecorded() {
    rates::TableFile::Saved saved = rates::TableFile::Saved::AsShown;
    try {
        saved = file_.save();
    } catch (const AppError &) {
        refresh(); // the table may be the file's now
        throw;
    }
    if (saved == rates::TableFile::Saved::AsShown) return;
    refresh();
    dialogs_.ask(QStringLiteral("Файл ставок изменен другой программой; таблица перечитана, ваше "
                                "изменение внесено."),
                 QStringLiteral("Сообщение"), MessageBoxes::Icon::Information);
}

bool RatePanel::replaceTable(const rates::RateTable &fresh) {
    QString backup;
    if (!file_.refusal().isEmpty()) {
        // The user's file stays, under another name, whatever they answer.
        backup = storage::freeBackupPath(file_.path());
        const QString question =
            QStringLiteral("%1\nЗаменить его загруженной таблицей? Прежний файл сохранится "
                           "как \"%2\".")
                .arg(Dialogs::errorText(file_.refusal()), QDir::toNativeSeparators(backup));
        if (!dialogs_.ask(question, QStringLiteral("Подтверждение замены"),
                          MessageBoxes::Icon::Question, MessageBoxes::Buttons::YesNo))
            return false;
    }
    const rates::TableFile::Replaced done = file_.replace(fresh, backup);
    if (done.dropped > 0)
        dialogs_.ask(rates::droppedLinesText(done.dropped, done.backup),
                     QStringLiteral("Сообщение"), MessageBoxes::Icon::Information);
    // The rate of the claim stays what the user chose until they choose again:
    // the selection stays, or goes to the new last row without choosing it.
    selectedRow_ = std::min(selectedRow_, rowCount());
    refresh();
    return true;
}

void RatePanel::storeRate(int i, const QString &rate) {
    rates::RateTable &t = table();
    const rates::TableEdit edit{rates::TableEdit::Replace, t.line(i), t.key(i) + u'=' + rate};
    const bool changed = edit.before != edit.after;
    if (changed) {
        t.setRate(i, rate);
        refresh();
    }
    // Over a refused file the built-in table serves quietly: a choice is not
    // an edit, and the user was told at start-up. A row chosen as it stands
    // leaves the file alone, unless an earlier save failed and the file still
    // lacks a change.
    if (file_.path().isEmpty() || !file_.refusal().isEmpty()) return;
    if (changed) file_.record(edit);
    if (!file_.hasUnsavedEdits()) return;
    try {
        saveRecorded();
    } catch (const AppError &e) {
        // A rate the choice normalised is a change of its own and is told; an
        // earlier change whose failure was told is only tried again.
        if (changed)
            dialogs_.ask(Dialogs::errorText(e.message()), QStringLiteral("Ошибка сохранения"),
                         MessageBoxes::Icon::Stop);
    }
}

void RatePanel::tellUnusableRow(int i) {
    dialogs_.ask(rates::unusableRowMessage(table().line(i)) +
                     QStringLiteral(". Ставка не изменена."),
                 QStringLiteral("Ошибка ввода"), MessageBoxes::Icon::Stop);
}

bool RatePanel::firstTold(int i) {
    if (!lookingUp_) return true;
    const QString line = table().line(i);
    if (toldByLookup_.contains(line)) return false;
    toldByLookup_.insert(line);
    return true;
}

void RatePanel::refresh() {
    if (!lookingUp_) toldByLookup_.clear();
    emit tableChanged();
    if (grid_) grid_->reload();
    if (selectedRow_ > rowCount())
        selectRow(rowCount());
    else if (grid_)
        grid_->showRow(selectedRow_);
}

// A row of the grid was selected: its rate is normalised and stored, and a
// good entry becomes the rate of the claim. The lookup passes the last row on
// its way to the entry in force: that row's rate is not the claim's.
void RatePanel::chooseRow(int row) {
    dialogs_.guard([&] {
        const int i = row - 1;
        if (i < 0 || i >= table().count()) return; // the empty row of an empty table
        const rates::RowSelection s = rates::normaliseRow(table().key(i), table().rate(i));
        switch (s.outcome) {
        case rates::RowSelection::Nothing:
            // No rate at all (no "=", or nothing after it): the rate of the
            // claim stays as it was.
            if (!passingLastRow_ && firstTold(i)) tellUnusableRow(i);
            return;
        case rates::RowSelection::BadRate:
            // Not a rate ("abc", "-5,00"): named, and the claim's rate stays.
            if (firstTold(i)) tellUnusableRow(i);
            return;
        case rates::RowSelection::BadDate:
            storeRate(i, s.rate);
            if (!firstTold(i)) return;
            dialogs_.ask(kCheckInput, kInputError, MessageBoxes::Icon::Stop);
            emit badEntryChosen();
            return;
        case rates::RowSelection::Ok:
            storeRate(i, s.rate);
            if (!passingLastRow_) emit entryChosen(s.date, s.rate);
            return;
        }
    });
}

void RatePanel::showMenu(const QPoint &globalPos) {
    menu_->popup(globalPos);
}

} // namespace ui
