// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/periods/reportmodel.h"

namespace ui {

void ReportModel::setRows(const calc::PeriodInput &claim, const QList<calc::PeriodRow> &rows) {
    beginResetModel();
    layout_ = documents::tableLayout(claim);
    rows_ = rows;
    endResetModel();
}

void ReportModel::clear() {
    beginResetModel();
    rows_.clear();
    endResetModel();
}

QList<std::pair<int, int>> ReportModel::spansOf(int row) const {
    QList<std::pair<int, int>> spans;
    for (const documents::TableCell &cell : documents::tableCells(rows_[row], layout_))
        if (cell.last > cell.first) spans.append({cell.first, cell.last - cell.first + 1});
    return spans;
}

int ReportModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(rows_.size());
}

int ReportModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(layout_.columns.size());
}

QVariant ReportModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid() || index.row() >= rows_.size()) return {};
    if (role != Qt::DisplayRole && role != Qt::TextAlignmentRole) return {};
    const int column = index.column();
    for (const documents::TableCell &cell : documents::tableCells(rows_[index.row()], layout_)) {
        if (column < cell.first || column > cell.last) continue;
        if (role == Qt::DisplayRole) return column == cell.first ? cell.text : QString();
        const bool number = cell.last == cell.first && layout_.isNumber(column);
        return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    return {};
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole ||
        section >= layout_.titles.size())
        return QAbstractTableModel::headerData(section, orientation, role);
    return layout_.titles[section];
}

} // namespace ui
