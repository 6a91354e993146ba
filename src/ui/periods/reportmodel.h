// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "documents/claimdocument.h"

#include <QAbstractTableModel>
#include <utility>

namespace ui {

// The rows of a count by periods as a table a view shows: the same columns
// and cells as the printed table. A view asks only for the rows in sight,
// so a claim of thousands of payments shows as fast as one of ten.
class ReportModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    // The rows of `result`, laid out for `count`; none: an empty table.
    void setRows(const calc::PeriodInput &claim, const QList<calc::PeriodRow> &rows);
    void clear();

    const documents::TableLayout &layout() const { return layout_; }
    // The cells of `row` that span more than one column: (first, how many).
    QList<std::pair<int, int>> spansOf(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    documents::TableLayout layout_ = documents::tableLayout(calc::PeriodInput());
    QList<calc::PeriodRow> rows_;
};

} // namespace ui
