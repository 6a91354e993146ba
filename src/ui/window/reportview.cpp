// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window/reportview.h"

#include "ui/periods/claimfiles.h"
#include "ui/print/printing.h"
#include "ui/widgets/dialogs.h"
#include "ui/widgets/focusring.h"
#include "ui/widgets/hovericon.h"
#include "ui/widgets/linklabel.h"
#include "ui/widgets/lookandfeel.h"

#include <QAction>
#include <QMenu>
#include <QTextEdit>
#include <cmath>

namespace ui {

ReportView::ReportView(QWidget *window, Dialogs &dialogs) : QObject(window), printer_(dialogs) {
    setObjectName(QStringLiteral("reportView"));
    box_ = new QTextEdit(window);
    box_->setObjectName(QStringLiteral("reportBox"));
    box_->setGeometry(8, 328, 465, 117);
    box_->setReadOnly(true);
    ringFocus(box_);
    box_->setAcceptRichText(false);
    box_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    // The print icon stands beside the box, halfway down it (halves round to
    // even, which keeps the icon level with the link at every box height);
    // the link beside the icon.
    const int top =
        int(std::nearbyint(box_->height() / 2.0)) + box_->y() - int(std::nearbyint(32 / 2.0));
    printIcon_ =
        new HoverIcon(QStringLiteral(":/pictures/print.png"), {32, 32},
                      QStringLiteral(":/pictures/print-lit.png"), {32, 32}, {481, top}, window);
    printIcon_->setObjectName(QStringLiteral("printIcon"));
    printLink_ = new LinkLabel(QStringLiteral("Печать"), window, {481 + 32 + 6, top + 6, 0, 0},
                               plainFont(16, true), kMaroon, QStringLiteral("Распечатать расчет"));
    printLink_->setObjectName(QStringLiteral("printLink"));
    printLink_->setHoverFont(true, true);
    printLink_->setIcon(printIcon_);

    menu_ = new QMenu(window);
    const auto action = [this](const QString &text, const char *name) {
        QAction *a = menu_->addAction(text);
        a->setObjectName(QLatin1String(name));
        return a;
    };
    copyAction_ = action(QStringLiteral("Копировать"), "copyReport");
    selectAllAction_ = action(QStringLiteral("Выделить все"), "selectAllReport");
    menu_->addSeparator();
    printAction_ = action(QStringLiteral("Печать"), "printReport");
    savePdfAction_ = action(QStringLiteral("Сохранить в PDF..."), "saveReportPdf");
    recalculateAction_ = action(QStringLiteral("Пересчитать"), "recalculateReport");
    periodsAction_ = action(QStringLiteral("Расчет по периодам..."), "openPeriods");
    QMenu *recent = menu_->addMenu(QStringLiteral("Последние файлы"));
    recent->setObjectName(QStringLiteral("recentClaims"));
    offerRecentFiles(recent, dialogs, [this](const QString &path) { emit claimFileChosen(path); });
    box_->setContextMenuPolicy(Qt::CustomContextMenu);

    connect(box_, &QWidget::customContextMenuRequested, this, &ReportView::showMenu);
    connect(copyAction_, &QAction::triggered, box_, &QTextEdit::copy);
    connect(selectAllAction_, &QAction::triggered, box_, &QTextEdit::selectAll);
    connect(printAction_, &QAction::triggered, this, &ReportView::print);
    connect(savePdfAction_, &QAction::triggered, this, &ReportView::savePdf);
    connect(recalculateAction_, &QAction::triggered, this, &ReportView::recalculateRequested);
    connect(periodsAction_, &QAction::triggered, this, &ReportView::periodsRequested);
    connect(printLink_, &LinkLabel::clicked, this, &ReportView::print);
    box_->setAccessibleName(QStringLiteral("Расчет"));
    printIcon_->setProperty("decorative", true);
    printLink_->setToolTip(QStringLiteral("Распечатать расчет (Ctrl+P)"));
    focus_.place({box_, printLink_});
}

void ReportView::resetHoverLook() {
    printIcon_->setLit(false);
    printLink_->showRest();
}

void ReportView::clear() {
    box_->clear();
}

void ReportView::setLines(const QStringList &lines) {
    box_->setPlainText(lines.join(u'\n'));
}

QStringList ReportView::shownLines() const {
    return displayLines(box_);
}

int ReportView::bottom() const {
    return box_->y() + box_->height();
}

void ReportView::showMenu(const QPoint &pos) {
    menu_->popup(box_->mapToGlobal(pos));
}

void ReportView::print() {
    if (!box_->document()->isEmpty()) printer_.print(shownLines());
}

void ReportView::savePdf() {
    if (!box_->document()->isEmpty()) printer_.savePdf(shownLines());
}

} // namespace ui
