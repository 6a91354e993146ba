// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bulk/claimrequest.h"
#include "ledgercommand.h"

#include <QString>
#include <QStringList>
#include <span>

// The command line's words: the program's own options and a claim's fields.
namespace cli {

// An option's problem, said once on standard error.
struct UsageError {
    QString message;
};

// What the program is asked to do, one of them.
enum class Task { None, Report, Batch, Ledger, UpdateRates, Help, Version };

// The program's own options (not a claim's field); those that take a value
// are told by what they take.
enum class ProgramWord {
    Report,
    Batch,
    Claim,
    Output,
    Ledger,
    Details,
    Jobs,
    Format,
    Document,
    UpdateRates,
    Offline,
    Help,
    Version
};
struct ProgramOption {
    ProgramWord word;
    const char *name;
    const char *valueName; // null: a flag
    const char *help;
};
std::span<const ProgramOption> programOptions();

// The arguments read: every field into the claim, every program option into
// its place.
struct Invocation {
    int tasks = 0; // how many of --report, --batch, --ledger, --update-rates
    Task task = Task::None;
    bool formatGiven = false, offline = false;
    QString batchFile, claimFile, outputFile;
    LedgerCommand ledger;
    bulk::ClaimRequest request;
};

// Raises UsageError for an unknown option, a missing or empty value, a
// field's bad value and options that do not go together.
Invocation readArguments(const QStringList &args);

} // namespace cli
