// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "periodinterest.h"

#include <QDate>
#include <QList>
#include <QString>
#include <span>

// Every field a claim is given by, in one table: the command line's options,
// a batch's CSV columns (English and Russian), a saved claim's keys and the
// help are all made from it, and the window's fields take their limits from
// the same constants. A field's text is read here once, by its kind.
namespace calc {

// How long a typed number may be: the debt and the dated amounts, and rates.
inline constexpr int kAmountLength = 13;
inline constexpr int kRateLength = 8;
// The tax slider's range; with no rate given, the VAT in force (law/vat.h).
inline constexpr int kMinTax = 0, kMaxTax = 35;
// The statutory divisor (the year's days or N of 1/N of the rate).
inline constexpr int kMinDivisor = 1, kMaxDivisor = 365;
// N of a penalty of 1/N of the key rate.
inline constexpr int kMinFraction = 1, kMaxFraction = 1000, kDefaultFraction = 300;
// A refinancing or key rate the program charges: above 0 and at most this
// many percent a year, wherever it comes from (the table, its editor, a
// page, an option or a column).
inline constexpr int kMaxRatePercent = 100;
inline bool isChargeableRate(long double percent) {
    return percent > 0 && percent <= kMaxRatePercent;
}
// The same for an exact decimal (a batch reads one in every row).
inline bool isChargeableRate(Decimal percent) {
    return percent.digits > 0 && percent.digits <= kMaxRatePercent * pow10(percent.scale);
}
QString chargeableRateRule(); // "ставка должна быть больше 0 и не больше 100"

// Payments and increases of one claim, in all: enough for a ledger of
// decades, and every document of the largest claim is made in seconds.
inline constexpr int kMaxEntries = 10000;
// "" when a claim may have `count` entries, else why not, naming them as
// `what` says ("оплат и увеличений долга" by default).
QString entryCountProblem(qsizetype count, const QString &what = {});

// No claim reaches back further than the date fields do.
inline const QDate kEarliestDate{1990, 1, 1};

enum class ClaimField {
    Debt,
    From,
    To,
    Filed,
    Tax,
    Court,
    Mode,
    Rate,
    Divisor,
    DailyRate,
    Periods,
    Payments,
    Increases,
    PenaltyDaily,
    KeyFraction,
    RateDate,
    Moratorium,
    Arose,
    Basis,
    Charges,
    RateDay,
    DueDay,
    Shift,
    Moratorium2020,
    CourtOrder,
    CapPercent,
    Cap,
    Fulfilled,
    FeeExemption,
    Windows,
    InsuredSum,
    Continuing,
    ClaimBase,
    Claimant,
    ClaimantAddress,
    ClaimantId,
    Debtor,
    DebtorAddress,
    DebtorId,
    DebtorBorn,
    Ground,
    CourtName,
    CourtAddress,
};
// How many fields there are: the table's size, and of arrays by field.
inline constexpr std::size_t kClaimFieldCount = std::size_t(ClaimField::CourtAddress) + 1;
// The claim's text of a party field (Claimant to CourtAddress); null for any other.
QString *partyText(Parties &parties, ClaimField field);
// Whether a field is a party's (words for the papers, no part of a count).
inline bool isPartyField(ClaimField field) {
    return field >= ClaimField::Claimant;
}
inline const QString *partyText(const Parties &parties, ClaimField field) {
    return partyText(const_cast<Parties &>(parties), field);
}

// What a claim by periods counts, by its basis's name (`Basis`'s text is the
// name of a preset): the four counts of their own, or a basis of its own laid
// out as the count its steps are like; `basis` gets the name for the latter.
PeriodCount countOfBasis(const QString &name, QString &basis);
// The name of a count of its own, as --basis takes it: "395", "contract",
// "key-fraction", "housing".
QString countName(PeriodCount count);
// Which day's rate a housing penalty goes by, by the index of its `RateDay` choice.
inline constexpr RateDay kRateDays[] = {RateDay::Payment, RateDay::OneDate, RateDay::EachDay};

enum class FieldKind {
    Amount,  // roubles, at most two decimals, at most kAmountLength characters
    Date,    // дд.мм.гггг, not before kEarliestDate
    Integer, // from `low` to `high`
    Rate,    // a decimal number, at most kRateLength characters
    Choice,  // one of `choices`; a choice's spellings are separated by "|"
    List,    // dated amounts "дд.мм.гггг=СУММА", ";" between them (an increase may add
          // "/дд.мм.гггг", the day its claim arose; a payment "@мм.гггг", the month
          // it pays; a charge is dated by its month, "мм.гггг=СУММА")
    Spans, // spans of days "дд.мм.гггг-дд.мм.гггг", ";" between them
    Text,  // a line of words: at most kMaxPartyText characters, no control characters
};

// An option that sets its field to a fixed value ("--contractual").
struct FieldFlag {
    const char *option = nullptr;
    const char *value = nullptr;
    const char *help = nullptr;
};

struct FieldInfo {
    ClaimField field;
    const char *column;    // CSV, English
    const char *russian;   // CSV, Russian
    const char *option;    // the option that takes a value; null for flags alone
    const char *valueName; // the value in the help ("СУММА")
    FieldKind kind;
    int low = 0, high = 0;       // Integer
    int byDefault = 0;           // Integer: the value when the field is not given
    const char *choices[4] = {}; // Choice: the first is "yes" for a yes/no field
    const char *fileKey;         // in a saved claim; null for a field it does not keep
    // What the field is, for --help: "{low}", "{high}", "{default}" and
    // "{moratorium}" stand for the limits, the default and the moratorium's days.
    const char *help;
    FieldFlag flags[2] = {};
};

std::span<const FieldInfo> claimFields();
const FieldInfo &fieldInfo(ClaimField field);

// A value the program does not accept: the option or column it came by, the
// text, and why.
struct FieldError {
    QString name;
    QString text;
    QString reason;
    bool whole = false; // the reason is of the field as a whole, not of a value in it
    QString message() const {
        if (whole) return QStringLiteral("%1: %2").arg(name, reason);
        return QStringLiteral("%1: неверное значение \"%2\" — %3").arg(name, text, reason);
    }
};

// A field's text, read by its kind.
struct FieldValue {
    QString text;   // Amount: "100000,50"; Rate: the decimal text, no exponent; Basis: its name
    QDate date;     // Date
    int number = 0; // Integer; Choice: the index of the choice
    QList<Payment> entries; // List (a charge: its month's first day as the date)
    QList<DaySpan> spans;   // Spans
    bool yes() const { return number == 0; }
};

// What is wrong with a party's text (empty: nothing).
QString partyTextProblem(const QString &text);

// A help text of the table with its limits filled in.
QString fieldHelp(const char *help, const FieldInfo &info);

// Raises FieldError naming `name` (the option or column the text came by).
FieldValue readField(const FieldInfo &info, const QString &text, const QString &name);

// A typed number as its field takes it: raises FieldError, or gives the
// text with "." turned into "," and blanks between digit groups dropped.
QString readFieldNumber(const QString &name, const QString &text, int limit);

} // namespace calc
