// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Who claims from whom, on what ground and before which court: what the
// claim's papers (the letter, the court-order application, the statement of
// claim) name. None of it changes a count.
namespace calc {

// A party's text is one paragraph: at most this many characters, no control
// characters.
inline constexpr int kMaxPartyText = 1000;

struct Parties {
    QString claimant, claimantAddress, claimantId;
    // The debtor's ИНН/ОГРН or passport line, and a citizen's date and place
    // of birth, which a court order against a citizen needs.
    QString debtor, debtorAddress, debtorId, debtorBorn;
    QString ground; // "договор поставки № 15 от 10.01.2024", "лицевой счет № 1001"
    QString courtName, courtAddress;
    bool operator==(const Parties &) const = default;
};

} // namespace calc
