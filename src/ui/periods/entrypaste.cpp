// SPDX-License-Identifier: GPL-3.0-or-later
// Payments pasted into the entries' grid: the rows are read and checked
// below the window (calc), here they are added whole or not at all.
#include "calc/claimfields.h"
#include "calc/pastedrows.h"
#include "ui/periods/periodentries.h"
#include "ui/widgets/dialogs.h"

#include <QClipboard>
#include <QGuiApplication>

namespace ui {

void PeriodEntries::pasteRows() {
    pasteRows(QGuiApplication::clipboard()->text());
}

void PeriodEntries::pasteRows(const QString &text) {
    const QString title = QStringLiteral("Вставка оплат");
    calc::PastedRows pasted = calc::readPastedRows(text);
    if (!pasted.problem.isEmpty()) {
        dialogs_.ask(QStringLiteral("Ничего не вставлено: ") + pasted.problem + u'.', title,
                     MessageBoxes::Icon::Stop);
        return;
    }
    const QList<calc::Payment> payments = calc::pastedPayments(pasted, housing_, start_, end_);
    if (const QString many = calc::entryCountProblem(entries_.size() + payments.size());
        !many.isEmpty()) {
        dialogs_.ask(QStringLiteral("Ничего не вставлено: ") + many + u'.', title,
                     MessageBoxes::Icon::Stop);
        return;
    }
    for (const calc::Payment &p : payments)
        insert({Kind::Payment, p});
    if (!payments.isEmpty()) show();
    if (pasted.refused.isEmpty()) return;
    // A long list is cut: the user fixes the first rows and pastes again.
    QStringList lines = pasted.refusedLines();
    constexpr qsizetype kShown = 20;
    if (lines.size() > kShown)
        lines = lines.mid(0, kShown) << QStringLiteral("и еще %1").arg(lines.size() - kShown);
    dialogs_.ask(QStringLiteral("Вставлено оплат: %1. Не вставлены:\n").arg(payments.size()) +
                     lines.join(u'\n'),
                 title, MessageBoxes::Icon::Information);
}

} // namespace ui
