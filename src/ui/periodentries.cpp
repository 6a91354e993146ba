// SPDX-License-Identifier: GPL-3.0-or-later
#include "periodentries.h"

#include "calc/claimfields.h"

#include "common/dates.h"
#include "datepicker.h"
#include "dialogs.h"
#include "focusring.h"
#include "namedcombobox.h"
#include "numberfield.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <algorithm>

namespace ui {
namespace {

QString kindText(const PeriodEntries::Entry &e) {
    if (e.kind == PeriodEntries::Kind::Payment) return QStringLiteral("оплата");
    if (!e.payment.arose.isValid()) return QStringLiteral("увеличение долга");
    return QStringLiteral("увеличение долга, возникло %1").arg(dateText(e.payment.arose));
}

} // namespace

PeriodEntries::PeriodEntries(QWidget *parent, Dialogs &dialogs)
    : QWidget(parent), dialogs_(dialogs) {
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Оплаты и увеличения долга:"), this), 0, 0, 1, 2);
    grid_ = new QTableWidget(0, 3, this);
    ringFocus(grid_);
    grid_->setObjectName(QStringLiteral("entriesGrid"));
    grid_->setAccessibleName(QStringLiteral("Оплаты и увеличения долга"));
    const QStringList titles = {QStringLiteral("Дата"), QStringLiteral("Сумма, руб."),
                                QStringLiteral("Вид")};
    grid_->setHorizontalHeaderLabels(titles);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // However large the desktop's font, every title fits its column; the
    // columns share the width equally, so each is as wide as the widest title.
    const QFontMetrics metrics(grid_->horizontalHeader()->font());
    int widest = 0;
    for (const QString &title : titles)
        widest =
            std::max(widest, metrics.horizontalAdvance(title) + 4 * metrics.averageCharWidth());
    grid_->setMinimumWidth(2 * grid_->frameWidth() + int(titles.size()) * widest);
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setMaximumHeight(150);
    layout->addWidget(grid_, 1, 0, 4, 1);

    date_ = new DatePicker(QRect(0, 0, 120, 24), this);
    date_->setObjectName(QStringLiteral("paymentDate"));
    date_->setAccessibleName(QStringLiteral("Дата оплаты или увеличения долга"));
    amount_ = new NumberField(QStringLiteral("0,00"), calc::kAmountLength,
                              NumberField::Form::Amount, this);
    amount_->setObjectName(QStringLiteral("paymentAmount"));
    amount_->setToolTip(QStringLiteral("Сумма оплаты или увеличения долга"));
    amount_->setAccessibleName(QStringLiteral("Сумма, руб."));
    kind_ = new NamedComboBox(this);
    kind_->setObjectName(QStringLiteral("entryKind"));
    kind_->setAccessibleName(QStringLiteral("Вид")); // its value says which
    kind_->addItems({QStringLiteral("Оплата"), QStringLiteral("Увеличение долга")});
    kind_->setToolTip(QStringLiteral("Оплата уменьшает долг со следующего дня, увеличение "
                                     "(просроченный счет) увеличивает его с этого дня"));
    // An increase may have arisen before it fell due (goods of March paid
    // for by April): the day it arose decides the moratorium.
    arose_ = new DatePicker(QRect(0, 0, 120, 24), this);
    arose_->setObjectName(QStringLiteral("entryArose"));
    arose_->setAccessibleName(QStringLiteral("Возникло"));
    arose_->setToolTip(QStringLiteral("Увеличение долга: день, когда возникло требование (для "
                                      "моратория); по умолчанию — дата счета"));
    auto *aroseLabel = new QLabel(QStringLiteral("возникло:"), this);
    aroseLabel->setBuddy(arose_);
    const auto followKind = [this, aroseLabel] {
        const bool increase = kind_->currentIndex() == 1;
        arose_->setEnabled(increase);
        aroseLabel->setEnabled(increase);
    };
    connect(kind_, &QComboBox::currentIndexChanged, this, followKind);
    followKind();
    // The day it arose follows the entry's own day until it is set apart.
    connect(date_, &QDateEdit::dateChanged, this, [this](QDate day) {
        if (arose_->date() == shownDate_ || !shownDate_.isValid()) arose_->setDate(day);
        shownDate_ = day;
    });
    auto *fields = new QHBoxLayout;
    fields->addWidget(date_);
    fields->addWidget(amount_);
    fields->addWidget(kind_);
    layout->addLayout(fields, 1, 1);
    auto *arisen = new QHBoxLayout;
    arisen->addWidget(aroseLabel);
    arisen->addWidget(arose_);
    arisen->addStretch();
    layout->addLayout(arisen, 2, 1);
    auto *edits = new QHBoxLayout;
    const auto button = [&](const QString &text, const char *name, void (PeriodEntries::*run)()) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        edits->addWidget(b);
        connect(b, &QPushButton::clicked, this, run);
        return b;
    };
    // Enter in the amount adds the entry; no button wears a default frame
    // that the keyboard is not on.
    button(QStringLiteral("Добавить"), "addEntry", &PeriodEntries::add);
    connect(amount_, &QLineEdit::returnPressed, this, &PeriodEntries::add);
    button(QStringLiteral("Изменить"), "changeEntry", &PeriodEntries::change);
    button(QStringLiteral("Удалить"), "deleteEntry", &PeriodEntries::remove);
    layout->addLayout(edits, 3, 1);

    connect(grid_, &QTableWidget::itemSelectionChanged, this, &PeriodEntries::showChosen);
    auto *deleteKey = new QAction(grid_);
    deleteKey->setShortcut(QKeySequence::Delete);
    deleteKey->setShortcutContext(Qt::WidgetShortcut);
    grid_->addAction(deleteKey);
    connect(deleteKey, &QAction::triggered, this, &PeriodEntries::remove);
}

void PeriodEntries::setPeriod(QDate start, QDate end) {
    start_ = start;
    end_ = end;
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const Entry &e) {
                                      return e.payment.date < start || e.payment.date > end;
                                  }),
                   entries_.end());
    date_->setDate(start);
    show();
}

void PeriodEntries::setEntries(const QList<calc::Payment> &payments,
                               const QList<calc::Payment> &increases) {
    entries_.clear();
    for (const calc::Payment &p : payments)
        insert({Kind::Payment, p});
    for (const calc::Payment &p : increases)
        insert({Kind::Increase, p});
    show();
}

QList<calc::Payment> PeriodEntries::of(Kind kind) const {
    QList<calc::Payment> out;
    for (const Entry &e : entries_)
        if (e.kind == kind) out.append(e.payment);
    return out;
}

bool PeriodEntries::fromFields(Entry &entry) {
    amount_->normalise();
    entry.kind = kind_->currentIndex() == 1 ? Kind::Increase : Kind::Payment;
    entry.payment = {date_->date(), amount_->text()};
    if (entry.kind == Kind::Increase && arose_->date() != date_->date())
        entry.payment.arose = arose_->date();
    // The calculation's own rule, so that what the grid takes is counted.
    const QString problem = calc::periodEntryProblem(
        entry.payment, start_, end_,
        entry.kind == Kind::Increase ? calc::PeriodRow::Increase : calc::PeriodRow::Payment);
    if (!problem.isEmpty()) {
        dialogs_.ask(problem + u'.', kInputError, MessageBoxes::Icon::Stop);
        return false;
    }
    return true;
}

// Kept in date order (a day's entries as entered), as the grid shows them.
int PeriodEntries::insert(const Entry &e) {
    const auto at =
        std::upper_bound(entries_.begin(), entries_.end(), e, [](const Entry &a, const Entry &b) {
            return a.payment.date < b.payment.date;
        });
    const int row = int(at - entries_.begin());
    entries_.insert(row, e);
    return row;
}

void PeriodEntries::add() {
    if (const QString many = calc::entryCountProblem(entries_.size() + 1); !many.isEmpty()) {
        dialogs_.ask(QStringLiteral("Запись не добавлена: ") + many + u'.', kInputError,
                     MessageBoxes::Icon::Stop);
        return;
    }
    Entry e;
    if (!fromFields(e)) return;
    show(insert(e));
    // Ready for the next entry, whether Enter or the button added this one.
    date_->setFocus(Qt::OtherFocusReason);
}

void PeriodEntries::change() {
    const int row = grid_->currentRow();
    Entry e;
    if (row < 0 || row >= entries_.size() || !fromFields(e)) return;
    entries_.removeAt(row);
    show(insert(e));
}

void PeriodEntries::remove() {
    const int row = grid_->currentRow();
    if (row < 0 || row >= entries_.size()) return;
    entries_.removeAt(row);
    show(std::min(row, int(entries_.size()) - 1));
}

void PeriodEntries::show(int select) {
    const QSignalBlocker quiet(grid_);
    grid_->setRowCount(int(entries_.size()));
    for (int i = 0; i < entries_.size(); ++i) {
        grid_->setItem(i, 0, new QTableWidgetItem(dateText(entries_[i].payment.date)));
        auto *amount = new QTableWidgetItem(entries_[i].payment.amount);
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid_->setItem(i, 1, amount);
        grid_->setItem(i, 2, new QTableWidgetItem(kindText(entries_[i])));
    }
    grid_->clearSelection();
    if (select >= 0 && select < entries_.size()) grid_->selectRow(select);
    emit changed();
}

void PeriodEntries::showChosen() {
    const int row = grid_->currentRow();
    if (row < 0 || row >= entries_.size()) return;
    const calc::Payment &p = entries_[row].payment;
    date_->setDate(p.date);
    amount_->setText(p.amount);
    kind_->setCurrentIndex(entries_[row].kind == Kind::Increase ? 1 : 0);
    arose_->setDate(p.arose.isValid() ? p.arose : p.date);
}

} // namespace ui
