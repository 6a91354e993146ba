// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/rates/rateupdater.h"

#include "common/apperror.h"
#include "common/dates.h"
#include "rates/knownrates.h"
#include "ui/rates/ratepanel.h"
#include "ui/widgets/dialogs.h"
#include "ui/widgets/linklabel.h"
#include "ui/widgets/lookandfeel.h"

#include <QApplication>
#include <QFrame>
#include <QProgressBar>

namespace ui {

RateUpdater::RateUpdater(RatePanel *rates, Dialogs &dialogs)
    : QObject(rates), rates_(rates), dialogs_(dialogs) {
    setObjectName(QStringLiteral("rateUpdate"));
    connect(rates, &RatePanel::frameMade, this, &RateUpdater::build);
    connect(&update_, &update::RateUpdate::progressed, this,
            [this](int step) { progressBar()->setValue(step); });
    connect(&update_, &update::RateUpdate::finished, this, &RateUpdater::take);
    connect(rates, &RatePanel::knownRatesWanted, this, &RateUpdater::takeKnown);
}

RateUpdater::~RateUpdater() = default;

// The link and the bar live on the rate panel, made with it.
void RateUpdater::build(QFrame *panel) {
    progressBar_ = new QProgressBar(panel);
    progressBar_->setObjectName(QStringLiteral("updateProgress"));
    progressBar_->setGeometry(120, 235, 120, 16); // at the panel's foot, beside the link
    progressBar_->setRange(0, update::RateUpdate::kSteps);
    progressBar_->setTextVisible(false);
    progressBar_->hide();
    updateLink_ = new LinkLabel(QStringLiteral("Обновить через Интернет"), panel, {11, 235, 0, 0},
                                plainFont(11), kBlue, QString());
    updateLink_->setObjectName(QStringLiteral("updateLink"));
    updateLink_->setHoverFont(false, true);
    connect(updateLink_, &LinkLabel::clicked, this, &RateUpdater::start);
    progressBar_->setAccessibleName(QStringLiteral("Ход обновления"));
    focus_.place({updateLink_});
}

LinkLabel *RateUpdater::updateLink() {
    rates_->frame();
    return updateLink_;
}

QProgressBar *RateUpdater::progressBar() {
    rates_->frame();
    return progressBar_;
}

void RateUpdater::start() {
    if (update_.isRunning()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    busy_ = true;
    emit started();
    rates_->frame()->setEnabled(false);
    progressBar()->setValue(0);
    progressBar_->show();
    dialogs_.guard([this] {
        try {
            update_.start(QDate::currentDate());
        } catch (const AppError &) {
            rest();
            throw;
        }
    });
    if (!busy_) emit finished();
}

void RateUpdater::rest() {
    if (busy_) {
        QApplication::restoreOverrideCursor();
        busy_ = false;
    }
    progressBar_->hide();
    rates_->frame()->setEnabled(true);
}

void RateUpdater::take(const update::UpdateOutcome &outcome) {
    rest(); // the pointer back before any question about the file
    if (!outcome.succeeded()) {
        dialogs_.ask(outcome.message, outcome.caption, MessageBoxes::Icon::Stop);
    } else {
        // The file is written before the grid shows the new table: a table
        // that cannot be saved never replaces the one in the file.
        rates::RateTable fresh;
        fresh.setLines(outcome.lines);
        dialogs_.guard([&] {
            if (!rates_->replaceTable(fresh)) return; // the user kept their file
            dialogs_.ask(QStringLiteral("Значения ставок рефинансирования актуализированы"),
                         QStringLiteral("Сообщение"), MessageBoxes::Icon::Information);
            rates_->focusGrid();
        });
    }
    emit finished();
}

void RateUpdater::takeKnown() {
    if (update_.isRunning()) return;
    rates::RateTable fresh;
    fresh.setLines(rates::knownRatesTable(rates_->table()));
    dialogs_.guard([&] {
        if (!rates_->replaceTable(fresh)) return; // the user kept their file
        dialogs_.ask(rates::knownRatesDone(), QStringLiteral("Сообщение"),
                     MessageBoxes::Icon::Information);
        rates_->focusGrid();
    });
}

bool RateUpdater::offerKnown(QDate newest, QDate missing) {
    const rates::KnownRates &known = rates::knownKeyRates();
    if (known.changes.isEmpty() ||
        (missing.isNull() && newest.isValid() && newest >= known.through))
        return false;
    const QString offer =
        QStringLiteral("Заполнить таблицу ставками, известными программе?\n\n«Нет» — открыть "
                       "таблицу, чтобы обновить ее через Интернет или добавить ставки вручную.");
    const QString question =
        missing.isValid()
            ? QStringLiteral("В таблице нет ставки с %1, а программе она известна. ")
                      .arg(dateText(missing)) +
                  offer
            : QStringLiteral("Последняя ставка в таблице — %1. Программе известна ключевая "
                             "ставка Банка России по %2. ")
                      .arg(newest.isValid() ? dateText(newest) : QStringLiteral("нет"),
                           dateText(known.through)) +
                  offer;
    if (dialogs_.ask(question, QStringLiteral("Ставки"), MessageBoxes::Icon::Question,
                     MessageBoxes::Buttons::YesByDefault)) // the old lines go to .bak
        takeKnown();
    else
        return false;
    return true;
}

} // namespace ui
