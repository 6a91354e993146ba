// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "documents/claimdocument.h"

#include <QWidget>

class QLabel;
class QTableView;

namespace ui {

class ReportModel;

// The periods report on screen: the heading's lines, the table of the
// count's rows (a view draws only the rows in sight) and the totals; or why
// the claim cannot be counted.
class ReportTable : public QWidget {
    Q_OBJECT
public:
    explicit ReportTable(QWidget *parent);

    void showDocument(const documents::ClaimDocument &doc);
    void showProblem(const QString &message);
    // While the claim is being counted anew the report shown stays, marked as
    // older than the claim; showing a report or a problem clears the mark.
    void setOutOfDate(bool outOfDate);
    // The table's own menu.
    void setMenu(const QList<QAction *> &actions);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void drawGridInText();
    void fitColumns();
    void spanRowsInSight();

    QLabel *heading_, *totals_, *outOfDate_;
    QTableView *view_;
    ReportModel *model_;
    bool counted_ = false;               // a report or a problem shown
    std::pair<int, int> spanned_{0, -1}; // the rows whose spans are set
};

} // namespace ui
