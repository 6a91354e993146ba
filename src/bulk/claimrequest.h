// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/claimfields.h"
#include "calc/courtfee.h"
#include "calc/periodinterest.h"
#include "rates/ratelookup.h"
#include "rates/ratetable.h"
#include "storage/modesettings.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// One claim given as text (an option on the command line or a field of a CSV
// row), checked by the same rules as the window's fields, and counted as the
// window counts it.
namespace bulk {

// What the command line starts from: the user's rate table and stored values.
struct Defaults {
    QDate today = QDate::currentDate();
    rates::RateTable table;
    QString divisor = QString::number(storage::kDefaultDivisor);
    QString dailyRate = storage::kDefaultDailyRate;
    // What the user must be told about their rate file; the table is then
    // what the window would count with.
    QString problem;
    // The user's rate file (read, never written) and stored mode values.
    static Defaults fromUserData();
};

// A claim as the user gave it: each field by an option or a CSV column, kept
// with the name it came by; a field not given takes its default. A batch's
// rows start from the options' request, so an option is every row's default
// and a column overrides it; a saved claim's fields are overridden the same way.
class ClaimRequest {
public:
    // Reads `text` for `field`, raising calc::FieldError naming `name`. A
    // list given by an option adds to the list (`add`); a column replaces it.
    void set(calc::ClaimField field, const QString &text, const QString &name, bool add = false);
    bool has(calc::ClaimField field) const { return given_[size_t(field)].has_value(); }
    const calc::FieldValue &value(calc::ClaimField field) const {
        return given_[size_t(field)]->value;
    }
    // By periods: given as yes (a saved claim is always by periods).
    bool periods() const;
    // The court given, the arbitration court when none is.
    calc::Court court() const;
    // The statutory mode: not given, or given as statutory.
    bool statutory() const;
    // What a claim by periods that counts `base` counts with these fields:
    // the basis given, else the penalty a day or the key rate's share given,
    // else `base`.
    calc::PeriodCount count(calc::PeriodCount base = calc::PeriodCount::Statutory) const;

    // Raises AppError naming the option or column of a field given that does
    // not apply to a claim counted `byPeriods` (by periods, what it counts
    // from `base` on), and of two fields that exclude each other.
    void refuseMisplaced(bool byPeriods,
                         calc::PeriodCount base = calc::PeriodCount::Statutory) const;
    // The fields given, over a claim by periods; a default that does not
    // apply to what the claim counts is left aside.
    void applyTo(calc::PeriodInput &claim) const;
    // The same fields without `field` (a ledger's basis, which it counts by bills).
    ClaimRequest without(calc::ClaimField field) const {
        ClaimRequest out = *this;
        out.given_[size_t(field)].reset();
        return out;
    }
    // The same fields as defaults: a claim takes those that apply to it, and
    // one that does not apply to it is no error (a batch whose columns decide
    // what each row counts).
    ClaimRequest asDefaults() const;

private:
    // Raises AppError when both a penalty a day and a key rate's share are
    // given (not as defaults) and no basis chooses between them.
    void refuseBothPenalties() const;
    // The basis given when it is one of its own (a preset, not one of the
    // four counts); empty otherwise.
    QString ownBasis() const;

private:
    struct Given {
        calc::FieldValue value;
        QString name;
        bool byDefault = false; // a default for the claims it applies to
    };
    std::array<std::optional<Given>, calc::kClaimFieldCount> given_;
};

// What a claim comes to.
struct ClaimResult {
    QStringList lines;
    int days = 0;
    QString rate; // the rate the claim was charged at ("" by periods)
    QString interest, total, fee;
    // The first and last days whose rates the table gave (null: none did).
    QDate tableFrom, tableEnd;
    // By periods: what was counted, and how (for a document of the claim).
    bool byPeriods = false;
    calc::PeriodInput periodInput;
    calc::PeriodResult periodResult;
};

// What a run tells on standard error besides its output, each once: that the
// rate table may lack the rates for the latest period it was used for, and
// that a period lay in the span of the deposit rates.
struct RunNotes {
    QDate earliestTableFrom, latestTableEnd;
    bool depositRateSpan = false;
    QDate tableStart;           // a claim reached back before the table's oldest entry
    QStringList unknownColumns; // kept in the output, counted by no row
    void add(const ClaimResult &result);
    void merge(const RunNotes &other);
    // "предупреждение: …" lines, none when there is nothing to tell.
    QStringList lines(const rates::RateTable &table) const;
};

// Raises AppError with the calculation's own message, and for a field given
// that does not apply to the claim.
ClaimResult computeClaim(const ClaimRequest &request, const Defaults &defaults,
                         const rates::RateLookup &lookup);
// A claim by periods, rates included, counted.
ClaimResult periodResult(const calc::PeriodInput &claim);
// A claim by periods saved by the window, the fields of `overrides` put over
// its own, counted with the user's table.
ClaimResult computeSavedClaim(calc::PeriodInput claim, const ClaimRequest &overrides,
                              const Defaults &defaults);

} // namespace bulk
