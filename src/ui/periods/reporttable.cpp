// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periods/reporttable.h"

#include "ui/periods/reportmodel.h"
#include "ui/widgets/focusring.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

namespace ui {
namespace {

QLabel *textLabel(QWidget *parent, const char *name) {
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

ReportTable::ReportTable(QWidget *parent) : QWidget(parent) {
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    heading_ = textLabel(this, "periodsHeading");
    layout->addWidget(heading_);
    model_ = new ReportModel(this);
    view_ = new QTableView(this);
    view_->setObjectName(QStringLiteral("periodsReport"));
    view_->setAccessibleName(QStringLiteral("Расчет по периодам"));
    view_->setModel(model_);
    view_->verticalHeader()->hide();
    view_->horizontalHeader()->setDefaultAlignment(
        Qt::Alignment::fromInt(int(Qt::AlignCenter) | int(Qt::TextWordWrap)));
    view_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ringFocus(view_);
    drawGridInText();
    // Titles wrap to two lines ("Задолженность, / руб."); a dozen rows are
    // in sight however many the report has.
    const int line = view_->fontMetrics().height();
    view_->horizontalHeader()->setFixedHeight(2 * line + line / 2);
    view_->setMinimumHeight(14 * line);
    view_->viewport()->installEventFilter(this);
    layout->addWidget(view_, 1);
    totals_ = textLabel(this, "periodsTotals");
    layout->addWidget(totals_);
}

void ReportTable::showDocument(const documents::ClaimDocument &doc) {
    const QStringList heading = documents::headingLines(doc);
    heading_->setText(heading.join(u'\n'));
    model_->setRows(doc.claim.count, doc.result.rows);
    // Spans are set a row at a time: a view keeps them apart from the model.
    view_->clearSpans();
    for (int r = 0; r < model_->rowCount(); ++r)
        for (const auto &[first, columns] : model_->spansOf(r))
            view_->setSpan(r, first, 1, columns);
    fitColumns();
    totals_->setText(documents::totalLines(doc).join(u'\n'));
    view_->show();
    totals_->show();
}

void ReportTable::showProblem(const QString &message) {
    heading_->setText(message);
    model_->clear();
    view_->hide();
    totals_->hide();
}

void ReportTable::setMenu(const QList<QAction *> &actions) {
    view_->addActions(actions);
    view_->setContextMenuPolicy(Qt::ActionsContextMenu);
}

// The grid lines in the text's colour, as on paper: a style's own grey is
// lost on a dark background.
void ReportTable::drawGridInText() {
    view_->setStyleSheet(QStringLiteral("QTableView { gridline-color: %1; }")
                             .arg(palette().color(QPalette::Text).name()));
}

void ReportTable::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange) drawGridInText();
}

// The view's visible width changes with its scroll bar too.
bool ReportTable::eventFilter(QObject *watched, QEvent *event) {
    if (watched == view_->viewport() && event->type() == QEvent::Resize) fitColumns();
    return QWidget::eventFilter(watched, event);
}

// The columns share the width as on the printed page.
void ReportTable::fitColumns() {
    const int width = view_->viewport()->width();
    const QList<qreal> &percent = model_->layout().percent;
    for (int c = 0; c < percent.size(); ++c)
        view_->setColumnWidth(c, int(width * percent[c] / 100));
}

} // namespace ui
