// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "documents/paper.h"

#include <QString>
#include <optional>

class QFile;

namespace bulk {
class ClaimRequest;
struct Defaults;
} // namespace bulk

namespace cli {

// What the command line asked of a ledger.
struct LedgerCommand {
    QString file;      // "-": standard input
    QString details;   // a CSV of every account's bills; empty: none
    QString outputDir; // a court attachment per account with a debt; empty: none
    QString format = QStringLiteral("pdf"); // of the attachments: pdf, odt, docx or xlsx
    // --document: a paper per account (or, with --report, the claim's) in
    // place of the calculation alone; none: the calculation.
    std::optional<documents::PaperKind> paper;
    int jobs = 0; // 0: one per core
};

// Counts the ledger with the claim's options as every account's settings;
// the exit code: 0 when every account was counted, 1 when some have an
// error. Raises AppError for a bad option or a file that cannot be read.
int runLedgerCommand(const LedgerCommand &command, const bulk::ClaimRequest &request,
                     const bulk::Defaults &defaults, QFile &out);

} // namespace cli
