// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periods/periodentries.h"

#include "calc/claimfields.h"
#include "calc/housing.h"
#include "calc/inputfield.h"
#include "ui/periods/chargefill.h"

#include "common/dates.h"
#include "ui/widgets/datepicker.h"
#include "ui/widgets/dialogs.h"
#include "ui/widgets/focusring.h"
#include "ui/widgets/namedcombobox.h"
#include "ui/widgets/numberfield.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableWidget>
#include <algorithm>

namespace ui {
namespace {

QString kindText(const PeriodEntries::Entry &e) {
    if (e.kind == PeriodEntries::Kind::Charge)
        return QStringLiteral("начислено"); // its month is in the date's column
    if (e.kind == PeriodEntries::Kind::Payment && e.payment.month.isValid())
        return QStringLiteral("оплата за ") + calc::monthText(e.payment.month);
    if (e.kind == PeriodEntries::Kind::Payment) return QStringLiteral("оплата");
    if (!e.payment.arose.isValid()) return QStringLiteral("увеличение долга");
    return QStringLiteral("увеличение долга, возникло %1").arg(dateText(e.payment.arose));
}

} // namespace

PeriodEntries::PeriodEntries(QWidget *parent, Dialogs &dialogs)
    : QWidget(parent), dialogs_(dialogs) {
    setObjectName(QStringLiteral("periodEntries"));
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    title_ = new QLabel(QStringLiteral("Оплаты и увеличения долга:"), this);
    layout->addWidget(title_, 0, 0, 1, 2);
    makeGrid();
    layout->addWidget(grid_, 1, 0, 4, 1);
    makeFields();
    auto *fields = new QHBoxLayout;
    fields->addWidget(date_);
    fields->addWidget(amount_);
    fields->addWidget(kind_);
    layout->addLayout(fields, 1, 1);
    auto *arisen = new QHBoxLayout;
    for (QWidget *w : {static_cast<QWidget *>(aroseLabel_), static_cast<QWidget *>(arose_),
                       static_cast<QWidget *>(forMonth_), static_cast<QWidget *>(month_)})
        arisen->addWidget(w);
    arisen->addStretch();
    layout->addLayout(arisen, 2, 1);
    makeButtons(layout, arisen);
    setHousing(false);
}

void PeriodEntries::makeGrid() {
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
    connect(grid_, &QTableWidget::itemSelectionChanged, this, &PeriodEntries::showChosen);
    auto *deleteKey = new QAction(grid_);
    deleteKey->setShortcut(QKeySequence::Delete);
    deleteKey->setShortcutContext(Qt::WidgetShortcut);
    grid_->addAction(deleteKey);
    connect(deleteKey, &QAction::triggered, this, &PeriodEntries::remove);
    auto *pasteKey = new QAction(grid_);
    pasteKey->setShortcut(QKeySequence::Paste);
    pasteKey->setShortcutContext(Qt::WidgetShortcut);
    grid_->addAction(pasteKey);
    connect(pasteKey, &QAction::triggered, this, qOverload<>(&PeriodEntries::pasteRows));
}

void PeriodEntries::makeFields() {
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
    kind_->addItems({QStringLiteral("Оплата"), QStringLiteral("Увеличение долга"),
                     QStringLiteral("Начислено за месяц")});
    kind_->setToolTip(QStringLiteral("Оплата уменьшает долг со следующего дня, увеличение "
                                     "(просроченный счет) увеличивает его с этого дня"));
    // An increase may have arisen before it fell due (goods of March paid
    // for by April): the day it arose decides the moratorium.
    arose_ = new DatePicker(QRect(0, 0, 120, 24), this);
    arose_->setObjectName(QStringLiteral("entryArose"));
    arose_->setAccessibleName(QStringLiteral("Возникло"));
    arose_->setToolTip(QStringLiteral("Увеличение долга: день, когда возникло требование (для "
                                      "моратория); по умолчанию — дата счета"));
    aroseLabel_ = new QLabel(QStringLiteral("возникло:"), this);
    aroseLabel_->setBuddy(arose_);
    // Housing: the month a charge is for, or a payment pays.
    forMonth_ = new QCheckBox(QStringLiteral("за месяц:"), this);
    forMonth_->setObjectName(QStringLiteral("entryForMonth"));
    forMonth_->setToolTip(QStringLiteral("Оплата за названный месяц погашает сначала его счет, "
                                         "остаток — самый старый долг"));
    month_ = new QDateEdit(this);
    month_->setObjectName(QStringLiteral("entryMonth"));
    month_->setAccessibleName(QStringLiteral("Месяц"));
    month_->setDisplayFormat(QStringLiteral("MM.yyyy"));
    month_->setMinimumDate(calc::kEarliestDate);
    month_->setDate(QDate::currentDate());
    connect(kind_, &QComboBox::currentIndexChanged, this, &PeriodEntries::followKind);
    connect(forMonth_, &QCheckBox::toggled, this, &PeriodEntries::followKind);
    // The day it arose follows the entry's own day until it is set apart.
    connect(date_, &QDateEdit::dateChanged, this, [this](QDate day) {
        if (arose_->date() == shownDate_ || !shownDate_.isValid()) arose_->setDate(day);
        shownDate_ = day;
    });
}

// "Добавить", "Изменить", "Удалить" below the fields, "Заполнить…" beside
// the month.
void PeriodEntries::makeButtons(QGridLayout *layout, QHBoxLayout *besideMonth) {
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
    QPushButton *addButton = button(QStringLiteral("Добавить"), "addEntry", &PeriodEntries::add);
    connect(amount_, &QLineEdit::returnPressed, this, &PeriodEntries::add);
    month_->installEventFilter(this);
    button(QStringLiteral("Изменить"), "changeEntry", &PeriodEntries::change);
    button(QStringLiteral("Удалить"), "deleteEntry", &PeriodEntries::remove);
    layout->addLayout(edits, 3, 1);
    fill_ = new QPushButton(QStringLiteral("Заполнить…"), this);
    fill_->setObjectName(QStringLiteral("fillCharges"));
    fill_->setAutoDefault(false);
    fill_->setToolTip(QStringLiteral("Одно и то же начисление за каждый месяц периода"));
    connect(fill_, &QPushButton::clicked, this, &PeriodEntries::askFill);
    besideMonth->insertWidget(besideMonth->count() - 1, fill_); // before the stretch
    // The keyboard goes as the eye does: the month, then "Заполнить…", then "Добавить".
    setTabOrder(month_, fill_);
    setTabOrder(fill_, addButton);
}

void PeriodEntries::setHousing(bool housing) {
    housing_ = housing;
    title_->setText(housing ? QStringLiteral("Начисления и оплаты:")
                            : QStringLiteral("Оплаты и увеличения долга:"));
    grid_->setAccessibleName(title_->text().chopped(1));
    // A charge is dated by its month: the date is a payment's alone.
    date_->setAccessibleName(housing ? QStringLiteral("Дата оплаты")
                                     : QStringLiteral("Дата оплаты или увеличения долга"));
    // Housing bills are charged by month, other debts increased by invoices.
    if (auto *kinds = qobject_cast<QStandardItemModel *>(kind_->model())) {
        kinds->item(int(Kind::Increase))->setEnabled(!housing);
        kinds->item(int(Kind::Charge))->setEnabled(housing);
    }
    if (!kind_->model()->index(kind_->currentIndex(), 0).flags().testFlag(Qt::ItemIsEnabled))
        kind_->setCurrentIndex(int(Kind::Payment));
    aroseLabel_->setVisible(!housing);
    arose_->setVisible(!housing);
    forMonth_->setVisible(housing);
    month_->setVisible(housing);
    fill_->setVisible(housing);
    followKind();
}

void PeriodEntries::followKind() {
    const auto kind = Kind(kind_->currentIndex());
    arose_->setEnabled(kind == Kind::Increase);
    aroseLabel_->setEnabled(kind == Kind::Increase);
    // A charge is of a month, not of a day.
    date_->setEnabled(kind != Kind::Charge);
    forMonth_->setEnabled(kind == Kind::Payment);
    month_->setEnabled(kind == Kind::Charge || forMonth_->isChecked());
}

QList<calc::Charge> PeriodEntries::charges() const {
    QList<calc::Charge> out;
    for (const Entry &e : entries_)
        if (e.kind == Kind::Charge) out.append({e.payment.date, e.payment.amount});
    return out;
}

bool PeriodEntries::fillCharges(QDate from, QDate to, const QString &amount) {
    from = QDate(from.year(), from.month(), 1);
    to = QDate(to.year(), to.month(), 1);
    const qint64 months = (to.year() - from.year()) * 12 + to.month() - from.month() + 1;
    QString problem;
    if (months < 1)
        problem = QStringLiteral("Последний месяц раньше первого");
    else if (const QString many = calc::entryCountProblem(entries_.size() + months);
             !many.isEmpty())
        problem = QStringLiteral("Начисления не добавлены: ") + many;
    else
        problem = calc::housingEntryProblem({from, amount}, true);
    if (!problem.isEmpty()) {
        dialogs_.ask(problem + u'.', kInputError, MessageBoxes::Icon::Stop);
        return false;
    }
    int last = -1;
    const QString sum = calc::normalisedAmount(amount);
    for (QDate m = from; m <= to; m = m.addMonths(1))
        last = insert({Kind::Charge, {m, sum}});
    show(last);
    return true;
}

void PeriodEntries::askFill() {
    QDate from = month_->date(), to = month_->date();
    QString amount = amount_->text();
    if (askChargeRange(this, from, to, amount)) fillCharges(from, to, amount);
}

void PeriodEntries::setPeriod(QDate start, QDate end) {
    start_ = start;
    end_ = end;
    // A housing claim's entries are counted to its filing date, not in a period.
    if (housing_) {
        date_->setDate(start);
        show();
        return;
    }
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const Entry &e) {
                                      return e.payment.date < start || e.payment.date > end;
                                  }),
                   entries_.end());
    date_->setDate(start);
    show();
}

void PeriodEntries::setEntries(const QList<calc::Payment> &payments,
                               const QList<calc::Payment> &increases,
                               const QList<calc::Charge> &charges) {
    entries_.clear();
    for (const calc::Charge &c : charges)
        insert({Kind::Charge, {c.month, c.amount}});
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
    entry.kind = Kind(std::max(0, kind_->currentIndex()));
    entry.payment = {date_->date(), amount_->text()};
    if (entry.kind == Kind::Increase && arose_->date() != date_->date())
        entry.payment.arose = arose_->date();
    const QDate month(month_->date().year(), month_->date().month(), 1);
    if (entry.kind == Kind::Charge) entry.payment.date = month;
    if (entry.kind == Kind::Payment && housing_ && forMonth_->isChecked())
        entry.payment.month = month;
    // The calculation's own rule, so that what the grid takes is counted.
    const QString problem =
        housing_
            ? calc::housingEntryProblem(entry.payment, entry.kind == Kind::Charge)
            : calc::periodEntryProblem(entry.payment, start_, end_,
                                       entry.kind == Kind::Increase ? calc::PeriodRow::Increase
                                                                    : calc::PeriodRow::Payment);
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
        const Entry &e = entries_[i];
        grid_->setItem(i, 0,
                       new QTableWidgetItem(e.kind == Kind::Charge ? calc::monthText(e.payment.date)
                                                                   : dateText(e.payment.date)));
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
    kind_->setCurrentIndex(int(entries_[row].kind));
    arose_->setDate(p.arose.isValid() ? p.arose : p.date);
    const bool named = entries_[row].kind == Kind::Charge || p.month.isValid();
    if (named) month_->setDate(entries_[row].kind == Kind::Charge ? p.date : p.month);
    forMonth_->setChecked(p.month.isValid());
}

bool PeriodEntries::eventFilter(QObject *watched, QEvent *event) {
    if (watched == month_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            add();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace ui
