#include "ratepanel.h"

#include "calc/apperror.h"
#include "dialogs.h"
#include "rategrid.h"
#include "rates/ratefile.h"

#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QScopedValueRollback>

namespace ui {

RatePanel::RatePanel(QWidget *window, Dialogs &dialogs)
    : QObject(window), dialogs_(dialogs), table_(rates::RateTable::builtIn()) {
    frame_ = new QFrame(window);
    frame_->setObjectName(QStringLiteral("ratePanel"));
    frame_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    frame_->setGeometry(336, 24, 249, 289);
    frame_->setAutoFillBackground(true);
    grid_ = new RateGrid(&table_, frame_);
    grid_->setObjectName(QStringLiteral("rateGrid"));
    grid_->setGeometry(9, 10, 232, 250);
    grid_->setToolTip(QStringLiteral("Используйте двойной клик для выбора"));
    frame_->hide();

    menu_ = new QMenu(window);
    chooseAction_ = menu_->addAction(QStringLiteral("Выбрать"));
    menu_->addSeparator();
    addAction_ = menu_->addAction(QStringLiteral("Добавить"));
    editAction_ = menu_->addAction(QStringLiteral("Редактировать"));
    deleteAction_ = menu_->addAction(QStringLiteral("Удалить"));

    // The start-up lookup already selects rows, so this is wired at once.
    connect(grid_, &RateGrid::rowSelected, this, &RatePanel::chooseRow);
    connect(grid_, &RateGrid::confirmed, this, &RatePanel::choiceMade);
    connect(grid_, &RateGrid::menuRequested, this, &RatePanel::showMenu);
    connect(chooseAction_, &QAction::triggered, this, &RatePanel::choiceMade);
}

bool RatePanel::openStorage() {
    try {
        rates::openRateStorage(table_, rateFilePath_);
    } catch (const AppError &e) {
        grid_->refresh();
        dialogs_.reportError(e.message());
        return false;
    }
    grid_->refresh();
    return true;
}

void RatePanel::lookUp(QDate end) {
    const rates::RateLookupPlan plan = rates::planRateLookup(table_, end);
    {
        // On its way the lookup passes the last row; an empty one is no news.
        const QScopedValueRollback passing(passingLastRow_, true);
        grid_->selectRow(plan.lastRow + 1);
    }
    if (!plan.error.isEmpty()) throw AppError(plan.error);
    if (plan.chosen < 0) return;
    if (grid_->selectedRow() != plan.chosen + 1) {
        grid_->selectRow(plan.chosen + 1); // the row selection takes it from here
        return;
    }
    // Already selected, so no row selection runs: its rate is taken here, in
    // the same normalised form.
    const rates::RowSelection s = rates::normaliseRow(table_.key(plan.chosen), plan.rateText);
    if (s.outcome == rates::RowSelection::Nothing || s.outcome == rates::RowSelection::BadRate) {
        tellUnusableRow(plan.chosen);
        return;
    }
    if (s.rate != table_.rate(plan.chosen)) storeRate(plan.chosen, s.rate);
    emit rateFound(s.rate);
}

void RatePanel::followPeriodEnd(QDate end) {
    dialogs_.guard([&] { lookUp(end); });
}

void RatePanel::open() {
    frame_->show();
    frame_->raise();
}

void RatePanel::close() {
    frame_->hide();
}

bool RatePanel::isOpen() const {
    return !frame_->isHidden();
}

void RatePanel::save() const {
    rates::saveRateFile(rateFilePath_, table_);
}

void RatePanel::replaceTable(const rates::RateTable &fresh) {
    rates::saveRateFile(rateFilePath_, fresh);
    table_ = fresh;
    // The rate of the claim stays what the user chose until they choose again.
    grid_->refreshQuietly();
}

void RatePanel::storeRate(int i, const QString &rate) {
    table_.setRate(i, rate);
    grid_->refresh();
    // Without a file (the user's could not be read) the built-in table serves
    // quietly: a choice is not an edit, and the user was told at start-up.
    if (!rateFilePath_.isEmpty()) save();
}

void RatePanel::tellUnusableRow(int i) {
    dialogs_.ask(QStringLiteral("В строке таблицы ставок \"%1\" нет ставки, которую можно "
                                "применить. Ставка не изменена.")
                     .arg(table_.line(i)),
                 QStringLiteral("Ошибка ввода"), MessageBoxes::Icon::Stop);
}

void RatePanel::refresh() {
    grid_->refresh();
}

// A row of the grid was selected: its rate is normalised and stored, and a
// good entry becomes the rate of the claim.
void RatePanel::chooseRow(int row) {
    dialogs_.guard([&] {
        const int i = row - 1;
        if (i < 0 || i >= table_.count()) return; // the empty row of an empty table
        const rates::RowSelection s = rates::normaliseRow(table_.key(i), table_.rate(i));
        if (s.outcome == rates::RowSelection::Nothing) {
            // No rate at all (no "=", or nothing after it): the rate of the
            // claim stays as it was.
            if (!passingLastRow_) tellUnusableRow(i);
            return;
        }
        if (s.outcome != rates::RowSelection::BadRate) storeRate(i, s.rate);
        if (s.outcome != rates::RowSelection::Ok) {
            dialogs_.ask(
                QStringLiteral("Возможно допущена ошибка в при вводе. Исправите, пожалуйста."),
                QStringLiteral("Ошибка ввода"), MessageBoxes::Icon::Stop);
            emit badEntryChosen();
            return;
        }
        emit entryChosen(s.date, s.rate);
    });
}

void RatePanel::showMenu(const QPoint &globalPos) {
    menu_->popup(globalPos);
}

} // namespace ui
