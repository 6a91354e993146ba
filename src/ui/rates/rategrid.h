// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "rates/ratetable.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

namespace ui {

// The two columns "Период" and "Ставка" over the window's rate table; an empty
// table shows one empty row.
class RateTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RateTableModel(const rates::RateTable *table, QObject *parent = nullptr)
        : QAbstractTableModel(parent), table_(table) {}
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    // The table changed behind the model's back.
    void refresh();

private:
    const rates::RateTable *table_;
};

// The rate grid. Rows are counted as the window counts them: row 1 is the
// first entry (the title row is row 0). The selected row is the current
// choice; the selected cell always lies in the rate column.
class RateGrid : public QTableView {
    Q_OBJECT
public:
    RateGrid(const rates::RateTable *table, int selectedRow, QWidget *parent = nullptr);

    int rowCount() const { return model_->rowCount(); }
    int selectedRow() const { return selectedRow_; }

    // Shows `row` as the selected one; nobody is told. The panel that owns
    // the grid decides the selection (it has one before the grid is made).
    void showRow(int row);
    // The table changed: the model is read again.
    void reload();
    // The selected row's fill and text: the classic desktop's light grey with
    // black, or under a dark palette a dark grey with light text.
    QColor litRow() const;
    QColor litRowText() const;
    // The title row: the classic light grey and the palette's text, or under
    // a dark palette its button colours.
    QColor headerBackground() const;
    QColor headerText() const;

signals:
    // The user selected a row: every left click on a data row (a click on a
    // key cell tells it without moving the selection) and every keyboard move
    // to another row.
    void rowSelected(int row);
    // A double click or Enter: the choice is made.
    void confirmed();
    // The right button asks for the menu, at a place on the screen.
    void menuRequested(const QPoint &globalPos);

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void contextMenuEvent(QContextMenuEvent *e) override;
    void focusInEvent(QFocusEvent *e) override;
    void focusOutEvent(QFocusEvent *e) override;

private:
    void showSelection();
    // Where the chosen row is drawn in the viewport; empty when out of sight.
    QRect chosenRowRect() const;
    // The selection moves only to another row, and only then it is told.
    void moveTo(int row);

    RateTableModel *model_;
    int selectedRow_;
};

} // namespace ui
