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
    explicit RateGrid(const rates::RateTable *table, QWidget *parent = nullptr);

    int rowCount() const { return model_->rowCount(); }
    int selectedRow() const { return selectedRow_; }

    // A program move of the selection. It tells rowSelected only when the row
    // changes.
    void selectRow(int row);
    // After the table changed: the model is re-read, and when the selected row
    // no longer exists the selection moves to the new last row (which counts as
    // a move). True when the selection moved.
    bool refresh();
    // The same for a table replaced whole: the selection stays where it was,
    // or on the new last row, and nobody is told.
    void refreshQuietly();

signals:
    // A row was selected: every left click on a data row (a click on a key
    // cell tells it without moving the selection), every keyboard move and
    // every program move to another row.
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

private:
    void showSelection();
    // The selection moves only to another row, and only then it is told.
    void moveTo(int row);

    RateTableModel *model_;
    int selectedRow_ = 1;
};

} // namespace ui
