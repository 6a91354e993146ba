// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/rates/rategrid.h"

#include "ui/widgets/lookandfeel.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace ui {

int RateTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : std::max(1, table_->count());
}

int RateTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant RateTableModel::data(const QModelIndex &index, int role) const {
    if (role != Qt::DisplayRole || index.row() >= table_->count()) return QVariant();
    return index.column() == 0 ? table_->key(index.row()) : table_->rate(index.row());
}

QVariant RateTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal) return QVariant();
    return section == 0 ? QStringLiteral("Период") : QStringLiteral("Ставка");
}

void RateTableModel::refresh() {
    beginResetModel();
    endResetModel();
}

RateGrid::RateGrid(const rates::RateTable *table, int selectedRow, QWidget *parent)
    : QTableView(parent), model_(new RateTableModel(table, this)), selectedRow_(selectedRow) {
    setModel(model_);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(18);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    // The title row in the menu-bar colour of the classic desktop; under a
    // dark palette in the palette's own button colours.
    horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView::section { background-color: %1; %2border: none;"
                       " border-right: 1px solid rgb(160, 160, 160); border-bottom: 1px solid "
                       "rgb(160, 160, 160); padding: 1px; }")
            .arg(headerBackground().name(),
                 isDark(palette()) ? QStringLiteral("color: %1; ").arg(headerText().name())
                                   : QString()));
    setColumnWidth(0, 138);
    setColumnWidth(1, 71);
    showSelection();
}

void RateGrid::showSelection() {
    const QModelIndex idx = model_->index(selectedRow_ - 1, 1);
    if (idx.isValid()) {
        setCurrentIndex(idx);
        scrollTo(idx);
    }
    viewport()->update();
}

void RateGrid::showRow(int row) {
    selectedRow_ = row;
    showSelection();
}

void RateGrid::moveTo(int row) {
    if (row < 1 || row > rowCount() || row == selectedRow_) return;
    selectedRow_ = row;
    showSelection();
    emit rowSelected(row);
}

void RateGrid::mousePressEvent(QMouseEvent *e) {
    setFocus(Qt::MouseFocusReason);
    if (e->button() != Qt::LeftButton)
        return; // the right button opens the menu and leaves the selection alone
    const QModelIndex idx = indexAt(e->position().toPoint());
    if (!idx.isValid()) return;
    const int row = idx.row() + 1;
    if (idx.column() == 1 && row != selectedRow_) {
        moveTo(row);
        return;
    }
    // The selected row again, or a key cell: told, but the selection stays.
    emit rowSelected(row);
}

void RateGrid::mouseReleaseEvent(QMouseEvent *) {}

void RateGrid::mouseMoveEvent(QMouseEvent *) {}

void RateGrid::mouseDoubleClickEvent(QMouseEvent *e) {
    if (e->button() == Qt::LeftButton) emit confirmed();
}

void RateGrid::keyPressEvent(QKeyEvent *e) {
    const int page = std::max(1, viewport()->height() / std::max(1, rowHeight(0)) - 1);
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    switch (e->key()) {
    case Qt::Key_Up:
        moveTo(selectedRow_ - 1);
        return;
    case Qt::Key_Down:
        moveTo(selectedRow_ + 1);
        return;
    case Qt::Key_PageUp:
        moveTo(std::max(1, selectedRow_ - page));
        return;
    case Qt::Key_PageDown:
        moveTo(std::min(rowCount(), selectedRow_ + page));
        return;
    case Qt::Key_Home:
        if (ctrl) moveTo(1);
        return;
    case Qt::Key_End:
        if (ctrl) moveTo(rowCount());
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit confirmed();
        return;
    default:
        // Other keys neither move nor search: the selection names the entry.
        e->ignore();
    }
}

void RateGrid::contextMenuEvent(QContextMenuEvent *e) {
    // From the keyboard the menu opens under the chosen row, not at the pointer.
    const QRect row = chosenRowRect();
    if (e->reason() == QContextMenuEvent::Keyboard && !row.isEmpty())
        emit menuRequested(viewport()->mapToGlobal(row.bottomLeft()));
    else
        emit menuRequested(e->globalPos());
}

QRect RateGrid::chosenRowRect() const {
    return visualRect(model_->index(selectedRow_ - 1, 0))
        .united(visualRect(model_->index(selectedRow_ - 1, 1)));
}

void RateGrid::focusInEvent(QFocusEvent *e) {
    QTableView::focusInEvent(e);
    viewport()->update();
}

void RateGrid::focusOutEvent(QFocusEvent *e) {
    QTableView::focusOutEvent(e);
    viewport()->update();
}

void RateGrid::reload() {
    model_->refresh();
}

// The selected row is drawn over the grid's own painting: both cells filled
// with the inactive caption text colour of the classic desktop, the text in
// black 2 px in from the corner, clipped to the cell.
QColor RateGrid::headerBackground() const {
    return isDark(palette()) ? palette().color(QPalette::Button) : QColor(240, 240, 240);
}

QColor RateGrid::headerText() const {
    return readableOn(palette().color(QPalette::ButtonText), headerBackground());
}

QColor RateGrid::litRow() const {
    return isDark(palette()) ? QColor(88, 86, 82) : QColor(212, 208, 200);
}

QColor RateGrid::litRowText() const {
    return isDark(palette()) ? readableOn(palette().color(QPalette::Text), litRow())
                             : QColor(Qt::black);
}

void RateGrid::paintEvent(QPaintEvent *e) {
    QTableView::paintEvent(e);
    QPainter p(viewport());
    for (int col = 0; col < 2; ++col) {
        const QModelIndex idx = model_->index(selectedRow_ - 1, col);
        const QRect r = visualRect(idx);
        if (!idx.isValid() || r.isEmpty()) continue;
        p.save();
        p.setClipRect(r);
        p.fillRect(r, litRow());
        p.setPen(litRowText());
        p.drawText(r.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                   model_->data(idx, Qt::DisplayRole).toString());
        p.restore();
    }
    // With the keyboard on the grid, the chosen row also wears a dotted
    // frame: the row the arrows move from, told apart from a row that is
    // merely chosen.
    const QRect row = chosenRowRect();
    if (hasFocus() && !row.isEmpty()) {
        p.setPen(QPen(litRowText(), 1, Qt::DotLine));
        p.drawRect(row.adjusted(1, 1, -2, -2));
    }
}

} // namespace ui
