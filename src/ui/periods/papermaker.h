// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"
#include "documents/paper.h"

#include <QPushButton>
#include <functional>
#include <optional>

namespace ui {

class Dialogs;

// "Документ...": the claim letter, the application for a court order or the
// statement of claim, with the calculation attached, saved as PDF,
// OpenDocument text, a .docx or plain text. A paper that lacks a party is
// told so and the parties' section opens; a court order above the law's
// limit offers the statement of claim.
class PaperMaker : public QPushButton {
    Q_OBJECT
public:
    // `claim`: the claim as counted now (none while it cannot be counted).
    PaperMaker(QWidget *parent, Dialogs &dialogs,
               std::function<std::optional<calc::PeriodInput>()> claim);

    // Makes and saves the paper, asking where; false when nothing was saved.
    bool make(documents::PaperKind kind);

signals:
    // A party the paper needs is missing: the user is to fill it in.
    void partiesWanted();

private:
    bool save(const documents::ClaimDocument &doc, documents::PaperKind kind);

    Dialogs &dialogs_;
    std::function<std::optional<calc::PeriodInput>()> claim_;
};

} // namespace ui
