// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periods/reporttable.h"

#include "ui/periods/reportmodel.h"
#include "ui/widgets/focusring.h"

#include <QAction>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
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
    outOfDate_ = textLabel(this, "periodsOutOfDate");
    outOfDate_->setText(QStringLiteral("Пересчет… Показан расчет до последнего изменения."));
    // Its line is kept while hidden: the report does not jump at each keystroke.
    QSizePolicy keep = outOfDate_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    outOfDate_->setSizePolicy(keep);
    QFont italic = outOfDate_->font();
    italic.setItalic(true);
    outOfDate_->setFont(italic);
    outOfDate_->hide();
    layout->addWidget(outOfDate_);
    heading_ = textLabel(this, "periodsHeading");
    heading_->setText(QStringLiteral("Считается…")); // till the first count comes
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
    connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &ReportTable::spanRowsInSight);
    layout->addWidget(view_, 1);
    totals_ = textLabel(this, "periodsTotals");
    totals_->hide(); // till the first count comes
    layout->addWidget(totals_);
}

void ReportTable::showDocument(const documents::ClaimDocument &doc) {
    const QStringList heading = documents::headingLines(doc);
    heading_->setText(heading.join(u'\n'));
    model_->setRows(doc.claim, doc.result.rows);
    view_->clearSpans();
    spanned_ = {0, -1};
    spanRowsInSight();
    fitColumns();
    totals_->setText(documents::totalLines(doc).join(u'\n'));
    view_->show();
    totals_->show();
    counted_ = true;
    setOutOfDate(false);
}

void ReportTable::showProblem(const QString &message) {
    heading_->setText(message);
    model_->clear();
    view_->hide();
    totals_->hide();
    counted_ = true;
    setOutOfDate(false);
}

void ReportTable::setOutOfDate(bool outOfDate) {
    outOfDate &= counted_; // a report to mark
    outOfDate_->setVisible(outOfDate);
    view_->setAccessibleDescription(outOfDate ? outOfDate_->text() : QString());
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
    if (watched == view_->viewport() && event->type() == QEvent::Resize) {
        fitColumns();
        spanRowsInSight();
    }
    return QWidget::eventFilter(watched, event);
}

// Spans are set a row at a time (a view keeps them apart from the model),
// and setting ten thousand takes the window's thread longer than a keystroke
// may wait: only the rows in sight, and a screen's worth around them, are
// spanned, anew as the view scrolls.
void ReportTable::spanRowsInSight() {
    const int rows = model_->rowCount();
    const int height = view_->viewport()->height();
    const int first = std::max(0, view_->rowAt(0)) - 40;
    const int inSight = view_->rowAt(height - 1) < 0 ? rows - 1 : view_->rowAt(height - 1);
    const std::pair<int, int> wanted{std::max(0, first), std::min(rows - 1, inSight + 40)};
    if (spanned_.first <= wanted.first && wanted.second <= spanned_.second) return;
    const std::pair<int, int> widened{std::max(0, wanted.first - 200),
                                      std::min(rows - 1, wanted.second + 200)};
    view_->clearSpans();
    for (int r = widened.first; r <= widened.second; ++r)
        for (const auto &[column, columns] : model_->spansOf(r))
            view_->setSpan(r, column, 1, columns);
    spanned_ = widened;
}

// The columns share the width as on the printed page.
void ReportTable::fitColumns() {
    const int width = view_->viewport()->width();
    const QList<qreal> &percent = model_->layout().percent;
    for (int c = 0; c < percent.size(); ++c)
        view_->setColumnWidth(c, int(width * percent[c] / 100));
}

} // namespace ui
