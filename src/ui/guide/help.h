// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/print/reportprinter.h"
#include "ui/widgets/dialogs.h"

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QTextBrowser;
class QWidget;

namespace ui {

// "Справка": the user's guide in Russian, shown from the program's
// resources, searchable (Ctrl+F, Enter for the next match), opened at a
// section, printed whole (Ctrl+P). Its boxes are `dialogs`' over it.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    HelpWindow(QWidget *parent, const Dialogs &dialogs);
    // Shows the section named `anchor` ("rates", "periods", …).
    void showSection(const QString &anchor);
    // Finds the next (or previous) match of the search field's text, from
    // the top again past the last one; false when there is none.
    bool findNext(bool backward = false);
    // "Открыть в браузере": the guide in the desktop's browser, to print or
    // keep; false when it could not be opened (said beside the search).
    bool openInBrowser();
    // Ctrl+P: the whole guide on the default printer, after asking, or in a
    // PDF file where no printer is installed.
    void print();
    // Tests print into files instead of the default printer.
    ReportPrinter &printer() { return printer_; }

private:
    Dialogs dialogs_;
    ReportPrinter printer_;
    QTextBrowser *text_;
    QLineEdit *search_;
    QLabel *notFound_; // "Не найдено" when the search found nothing
};

// A control's own section of the guide, as a property (a list names the
// section of what is chosen in it), before the table below.
inline constexpr char kHelpSection[] = "helpSection";
// The guide's section for the control that has the focus, by the controls
// and their parents: the rate table, the count's basis, the payments, the
// moratorium, the fee, the calculation by periods, else the first steps.
QString helpSectionFor(const QWidget *focus);
// Every section F1 can open (for the test that each is in the guide).
QStringList helpSections();

// The guide over `parent` (the window or dialog where it was asked), at
// `anchor`; one at a time.
HelpWindow *openHelp(QWidget *parent, const Dialogs &dialogs, const QString &anchor);
// The guide over `window` (the main window, a dialog) at the section of its
// control that has the focus, the first steps when none of it has.
HelpWindow *openHelpAtFocus(QWidget *window, const Dialogs &dialogs);
// F1 in `window` opens the guide so.
void installHelpKey(QWidget *window, const Dialogs &dialogs);

} // namespace ui
