// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "claimdocument.h"

#include "common/apperror.h"

#include <QHash>
#include <QSet>

// The papers a claim goes on with, each made from a template with the
// calculation attached: the letter to the debtor, the application for a
// court order and the statement of claim. The program's templates are its
// resources; a user's edited copy in the data folder wins.
namespace documents {

// A court order asked above the law's limit: the statement of claim is the way.
class AboveCourtOrderLimit : public AppError {
public:
    using AppError::AppError;
};

enum class PaperKind { ClaimLetter, CourtOrder, Statement };
inline constexpr PaperKind kPaperKinds[] = {PaperKind::ClaimLetter, PaperKind::CourtOrder,
                                            PaperKind::Statement};

// "claim-letter", "court-order", "statement": the command line's and the
// template's file name.
QString paperName(PaperKind kind);
bool paperNamed(const QString &name, PaperKind &kind);
// "Претензия", "Заявление о выдаче судебного приказа", "Исковое заявление".
QString paperTitle(PaperKind kind);

// A file name for the paper, without its extension: "Исковое заявление 395
// 100000 01.04.2025", so that a claim's papers lie beside its calculation.
QString paperFileName(const calc::PeriodInput &claim, PaperKind kind);

// Where a user's templates are: "shablony" in the data folder.
QString userTemplateFolder();

// Fields named to the user: by their options ("--debtor-address") on the
// command line, by their words ("адрес должника") in the window.
enum class FieldNames { Options, Words };
QString fieldNames(const QList<calc::ClaimField> &fields, FieldNames names);

// The party fields a paper cannot go without that the claim lacks; empty: none.
QList<calc::ClaimField> missingParties(const calc::Parties &parties, PaperKind kind);
// What the user is told of them.
QString missingPartiesMessage(const QList<calc::ClaimField> &missing, PaperKind kind,
                              FieldNames names = FieldNames::Options);

// The claim counted for the paper (a court order pays half the fee, a
// statement the whole) with the paper filled in from its template in
// `templates` (or the program's). Raises AppError when a party the paper
// needs is missing, a court order is asked above the law's limit, or the
// template is refused.
ClaimDocument makePaper(calc::PeriodInput claim, PaperKind kind, QDate madeOn,
                        const QString &templates = userTemplateFolder());

// A template's text filled in: "{{name}}" stands for values[name]; a line
// whose stand-ins all came out empty is left out. Raises AppError naming
// `source` and the line of a stand-in `values` lacks.
// `used` (when given) gets the stand-ins the template names.
QList<PaperLine> fillTemplate(const QString &text, const QString &source,
                              const QHash<QString, QString> &values, QSet<QString> *used = nullptr);

// What the user is told of the party fields a paper left out (none: empty).
QString partiesLeftOutNote(const ClaimDocument &doc, PaperKind kind, FieldNames names);

// The stand-ins a template may use, each with what it stands for (the guide
// and the help list them).
QList<std::pair<QString, QString>> templateStandIns();

} // namespace documents
