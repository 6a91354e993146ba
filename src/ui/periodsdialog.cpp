// SPDX-License-Identifier: GPL-3.0-or-later
#include "periodsdialog.h"

#include "calc/penalty.h"
#include "common/apperror.h"
#include "common/dates.h"
#include "datepicker.h"
#include "dialogs.h"
#include "lookandfeel.h"
#include "numberfield.h"
#include "rates/ratelookup.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace ui {
namespace {

const QString kInputError = QStringLiteral("Ошибка ввода");

QPushButton *button(const QString &text, QWidget *parent, QLayout *layout) {
    auto *b = new QPushButton(text, parent);
    b->setAutoDefault(false);
    layout->addWidget(b);
    return b;
}

} // namespace

PeriodsDialog::PeriodsDialog(QWidget *parent, Dialogs &dialogs)
    : QDialog(parent), dialogs_(dialogs), printer_(dialogs, ReportPrinter::Pages::AsMany) {
    setObjectName(QStringLiteral("periodsDialog"));
    setWindowTitle(QStringLiteral("Расчет по периодам"));
    resize(640, 600);
    auto *layout = new QVBoxLayout(this);
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);
    layout->addWidget(summary_);

    auto *payments = new QGridLayout;
    payments->addWidget(new QLabel(QStringLiteral("Оплаты:"), this), 0, 0, 1, 2);
    grid_ = new QTableWidget(0, 2, this);
    grid_->setHorizontalHeaderLabels({QStringLiteral("Дата"), QStringLiteral("Сумма, руб.")});
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    grid_->verticalHeader()->hide();
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setMaximumHeight(150);
    grid_->setAccessibleName(QStringLiteral("Оплаты"));
    payments->addWidget(grid_, 1, 0, 4, 1);
    paymentDate_ = new DatePicker(QRect(0, 0, 120, 24), this);
    paymentDate_->setObjectName(QStringLiteral("paymentDate"));
    paymentDate_->setAccessibleName(QStringLiteral("Дата оплаты"));
    paymentAmount_ = new NumberField(QStringLiteral("0,00"), 13, NumberField::Form::Amount, this);
    paymentAmount_->setObjectName(QStringLiteral("paymentAmount"));
    paymentAmount_->setToolTip(QStringLiteral("Сумма оплаты"));
    paymentAmount_->setAccessibleName(QStringLiteral("Сумма оплаты, руб."));
    auto *fields = new QHBoxLayout;
    fields->addWidget(paymentDate_);
    fields->addWidget(paymentAmount_);
    payments->addLayout(fields, 1, 1);
    auto *edits = new QHBoxLayout;
    QPushButton *add = button(QStringLiteral("Добавить"), this, edits);
    add->setDefault(true); // Enter in any field adds the payment
    QPushButton *change = button(QStringLiteral("Изменить"), this, edits);
    QPushButton *remove = button(QStringLiteral("Удалить"), this, edits);
    payments->addLayout(edits, 2, 1);
    moratorium_ = new QCheckBox(QStringLiteral("Мораторий 01.04.2022–01.10.2022"), this);
    moratorium_->setChecked(true);
    payments->addWidget(moratorium_, 3, 1);
    auto *filing = new QHBoxLayout;
    auto *filingLabel = new QLabel(QStringLiteral("Дата подачи:"), this);
    filingDate_ = new DatePicker(QRect(0, 0, 120, 24), this);
    filingDate_->setObjectName(QStringLiteral("filingDate"));
    filingDate_->setToolTip(
        QStringLiteral("День подачи иска: по нему выбирается шкала госпошлины"));
    filingLabel->setBuddy(filingDate_);
    filingDate_->setAccessibleName(QStringLiteral("Дата подачи"));
    filing->addWidget(filingLabel);
    filing->addWidget(filingDate_);
    filing->addStretch();
    payments->addLayout(filing, 4, 1);
    layout->addLayout(payments);

    notes_ = new QLabel(this);
    notes_->setObjectName(QStringLiteral("periodsNotes"));
    notes_->setWordWrap(true);
    setTextColor(notes_, kMaroon);
    notes_->hide();
    layout->addWidget(notes_);

    report_ = new QTextEdit(this);
    report_->setObjectName(QStringLiteral("periodsReport"));
    report_->setAccessibleName(QStringLiteral("Расчет по периодам"));
    report_->setReadOnly(true);
    report_->setAcceptRichText(false);
    report_->setLineWrapMode(QTextEdit::WidgetWidth);
    layout->addWidget(report_, 1);

    auto *actions = new QHBoxLayout;
    QPushButton *copy = button(QStringLiteral("Копировать"), this, actions);
    QPushButton *print = button(QStringLiteral("Печать"), this, actions);
    QPushButton *pdf = button(QStringLiteral("Сохранить в PDF..."), this, actions);
    actions->addStretch();
    QPushButton *close = button(QStringLiteral("Закрыть"), this, actions);
    layout->addLayout(actions);

    // The report box's own menu offers the same.
    for (QPushButton *b : {copy, print, pdf}) {
        auto *action = new QAction(b->text(), report_);
        connect(action, &QAction::triggered, b, &QPushButton::click);
        report_->addAction(action);
    }
    report_->setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(add, &QPushButton::clicked, this, &PeriodsDialog::addPayment);
    connect(change, &QPushButton::clicked, this, &PeriodsDialog::changePayment);
    connect(remove, &QPushButton::clicked, this, &PeriodsDialog::deletePayment);
    connect(copy, &QPushButton::clicked, this, &PeriodsDialog::copyReport);
    connect(print, &QPushButton::clicked, this, &PeriodsDialog::printReport);
    connect(pdf, &QPushButton::clicked, this, &PeriodsDialog::saveReportPdf);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    connect(moratorium_, &QCheckBox::toggled, this, &PeriodsDialog::recalculate);
    connect(filingDate_, &DatePicker::dateChanged, this, &PeriodsDialog::recalculate);
    connect(grid_, &QTableWidget::itemSelectionChanged, this, &PeriodsDialog::showChosenPayment);
    auto *deleteKey = new QAction(grid_);
    deleteKey->setShortcut(QKeySequence::Delete);
    deleteKey->setShortcutContext(Qt::WidgetShortcut);
    grid_->addAction(deleteKey);
    connect(deleteKey, &QAction::triggered, this, &PeriodsDialog::deletePayment);
}

void PeriodsDialog::setClaim(const calc::PeriodInput &claim) {
    claim_ = claim;
    summary_->setText(QStringLiteral("Долг: %1 руб.; период просрочки с %2 по %3; %4.")
                          .arg(claim.debt, dateText(claim.start), dateText(claim.end),
                               claim.court == calc::Court::Arbitration
                                   ? QStringLiteral("арбитражный суд")
                                   : QStringLiteral("суд общей юрисдикции")));
    payments_.erase(std::remove_if(payments_.begin(), payments_.end(),
                                   [&](const calc::Payment &p) {
                                       return p.date < claim.start || p.date > claim.end;
                                   }),
                    payments_.end());
    paymentDate_->setDate(claim.start);
    {
        const QSignalBlocker quiet(filingDate_);
        filingDate_->setDate(claim.filed);
    }
    // A debt that arose after the moratorium began is not covered by it.
    const bool covered = calc::moratoriumCovers(claim.start);
    if (covered != moratorium_->isEnabled()) {
        const QSignalBlocker quiet(moratorium_);
        moratorium_->setEnabled(covered);
        moratorium_->setChecked(covered);
    }
    moratorium_->setToolTip(covered ? QString()
                                    : QStringLiteral("Мораторий касается только долгов, возникших "
                                                     "до 01.04.2022: этот период начинается позже, "
                                                     "проценты начисляются и в дни моратория"));
    showPayments();
}

bool PeriodsDialog::paymentFromFields(calc::Payment &payment) {
    paymentAmount_->normalise();
    payment = {paymentDate_->date(), paymentAmount_->text()};
    if (payment.date < claim_.start || payment.date > claim_.end) {
        dialogs_.ask(QStringLiteral("Дата оплаты %1 лежит вне периода просрочки с %2 по %3.")
                         .arg(dateText(payment.date), dateText(claim_.start), dateText(claim_.end)),
                     kInputError, MessageBoxes::Icon::Stop);
        return false;
    }
    if (payment.amount == QStringLiteral("0,00") || payment.amount.startsWith(u'-')) {
        dialogs_.ask(QStringLiteral("Введите сумму оплаты больше нуля."), kInputError,
                     MessageBoxes::Icon::Stop);
        return false;
    }
    return true;
}

// Payments are kept in date order (a day's payments as entered), so the grid
// shows them as they are kept.
int PeriodsDialog::insertPayment(const calc::Payment &p) {
    const auto at = std::upper_bound(
        payments_.begin(), payments_.end(), p,
        [](const calc::Payment &a, const calc::Payment &b) { return a.date < b.date; });
    const int row = int(at - payments_.begin());
    payments_.insert(row, p);
    return row;
}

void PeriodsDialog::addPayment() {
    calc::Payment p;
    if (!paymentFromFields(p)) return;
    showPayments(insertPayment(p));
}

void PeriodsDialog::changePayment() {
    const int row = grid_->currentRow();
    calc::Payment p;
    if (row < 0 || row >= payments_.size() || !paymentFromFields(p)) return;
    payments_.removeAt(row);
    showPayments(insertPayment(p));
}

void PeriodsDialog::deletePayment() {
    const int row = grid_->currentRow();
    if (row < 0 || row >= payments_.size()) return;
    payments_.removeAt(row);
    showPayments(std::min(row, int(payments_.size()) - 1));
}

void PeriodsDialog::showPayments(int select) {
    const QSignalBlocker quiet(grid_);
    grid_->setRowCount(int(payments_.size()));
    for (int i = 0; i < payments_.size(); ++i) {
        grid_->setItem(i, 0, new QTableWidgetItem(dateText(payments_[i].date)));
        auto *amount = new QTableWidgetItem(payments_[i].amount);
        amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid_->setItem(i, 1, amount);
    }
    grid_->clearSelection();
    if (select >= 0 && select < payments_.size()) grid_->selectRow(select);
    recalculate();
}

void PeriodsDialog::showChosenPayment() {
    const int row = grid_->currentRow();
    if (row < 0 || row >= payments_.size()) return;
    paymentDate_->setDate(payments_[row].date);
    paymentAmount_->setText(payments_[row].amount);
}

void PeriodsDialog::recalculate() {
    calc::PeriodInput in = claim_;
    in.payments = payments_;
    in.moratorium = moratorium_->isChecked();
    in.filed = filingDate_->date();
    QStringList notes;
    QDate newest;
    for (const calc::RatePoint &point : in.rates)
        if (newest.isNull() || point.from > newest) newest = point.from;
    if (rates::mayBeStale(newest, in.end)) notes << rates::staleTableNote(newest) + u'.';
    try {
        const calc::PeriodResult result = calc::calculatePeriods(in);
        lines_ = result.lines;
        report_->setPlainText(lines_.join(u'\n'));
        if (result.depositRateSpan) notes << calc::depositRatesHint();
    } catch (const AppError &e) {
        lines_.clear();
        report_->setPlainText(Dialogs::errorText(e.message()));
    }
    notes_->setText(notes.join(u'\n'));
    notes_->setVisible(!notes.isEmpty());
}

void PeriodsDialog::copyReport() {
    if (!lines_.isEmpty()) QGuiApplication::clipboard()->setText(lines_.join(u'\n'));
}

void PeriodsDialog::printReport() {
    if (!lines_.isEmpty()) printer_.print(lines_);
}

void PeriodsDialog::saveReportPdf() {
    if (!lines_.isEmpty()) printer_.savePdf(lines_);
}

} // namespace ui
