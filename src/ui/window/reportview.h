// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/print/reportprinter.h"
#include "ui/widgets/focuschain.h"

#include <QObject>
#include <QStringList>

class QAction;
class QMenu;
class QTextEdit;
class QWidget;

namespace ui {

class Dialogs;
class HoverIcon;
class LinkLabel;

// The report: the read-only box under the inputs, its menu (copy, select
// all, print, save as PDF, recalculate) and the "Печать" link with its icon; printing on
// one page, or into a PDF file when there is no printer.
class ReportView : public QObject {
    Q_OBJECT
public:
    ReportView(QWidget *window, Dialogs &dialogs);

    void clear();
    void setLines(const QStringList &lines);
    // The lines as the box shows them, wrapped at its width.
    QStringList shownLines() const;
    // Where the box ends, from the window's top.
    int bottom() const;
    // The print link and its icon at rest, as the mouse left them.
    void resetHoverLook();
    // The report box in the window's keyboard order.
    FocusLink &focusLink() { return focus_; }

    // Asks, then prints the report on the default printer.
    void print();
    // The printout's page in a PDF file the user names.
    void savePdf();
    // Tests print into files instead of the default printer.
    void setPrinterFactory(ReportPrinter::PrinterFactory factory) {
        printer_.setPrinterFactory(std::move(factory));
    }

signals:
    void recalculateRequested();
    void periodsRequested();
    // A claim from "Последние файлы".
    void claimFileChosen(const QString &path);

private:
    void showMenu(const QPoint &pos);
    ReportPrinter printer_;
    QTextEdit *box_;
    HoverIcon *printIcon_;
    LinkLabel *printLink_;
    QMenu *menu_;
    QAction *copyAction_, *selectAllAction_, *printAction_, *savePdfAction_, *recalculateAction_,
        *periodsAction_;
    FocusLink focus_;
};

} // namespace ui
