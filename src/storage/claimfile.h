// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"

#include <QByteArray>
#include <QString>

// A claim by periods saved for later: a small JSON file of its own (UTF-8,
// extension .dolgomer) with the debt, the period, the court, the filing
// date, what is counted with its figures, the payments and increases and the
// moratorium choice. The rate table is not in it: the claim is counted with
// the table of the day it is opened.
namespace storage {

// 2: the day a debt arose (the claim's and each increase's "arose"); files
// of format 1, which have none, are read as before. 3: what is counted is
// named by its basis alone ("basis": "395", "contract", "housing", "wages"…,
// as the command line names it), and the user's windows and the insured sum.
// 4: the parties, the ground and the court of the claim's papers.
inline constexpr int kClaimFormatVersion = 4;
inline const QString kClaimExtension = QStringLiteral(".dolgomer");

QByteArray encodeClaim(const calc::PeriodInput &claim);
// Raises AppError for bytes that are not such a file (naming what is wrong)
// and for a file of a newer format than this program reads.
calc::PeriodInput decodeClaim(const QByteArray &bytes);

// Writes the file atomically; raises AppError when it is not on disk.
void saveClaim(const QString &path, const calc::PeriodInput &claim);
// Reads it; raises AppError naming the file when it cannot be read or used.
calc::PeriodInput loadClaim(const QString &path);

} // namespace storage
