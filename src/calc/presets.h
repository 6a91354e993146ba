// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine.h"

#include <QDate>
#include <deque>

// Every legal basis a money claim rests on, as data for the one engine: its
// name (as the command line names it), the article, what the dialog calls
// it, what its total is, its steps by day of delay, whose rate, the
// windows and caps its rules hold, and the dates from which other rules hold.
namespace calc {

// A step of a basis: from day `fromDay` of the delay, `kind` (with N of 1/N).
struct PresetStep {
    int fromDay = 0; // 0: no step (the end of the list)
    Step::Kind kind = Step::Nothing;
    int fraction = 0;
};

// Rules a basis follows from a day on: steps (none: the basis's own) and a
// percent a day of its own (null: the key rate).
struct PresetEra {
    const char *from = nullptr; // "dd.MM.yyyy"; null: no era (the end of the list)
    PresetStep steps[3] = {};
    const char *ownRate = nullptr;
};

// What a basis takes beside its law's rules: a greater share of the key
// rate a contract sets (wages), what of the price was fulfilled (a
// supplier's penalty: on the price less it, and the claim is the penalty
// alone, as no money is owed for what was not delivered), or the insured
// sum that caps the total (motor insurance); or the rate itself: a percent
// a day with its cap (a contractual penalty), 1/N of the key rate with one
// date's rate or each day's (a penalty by contract).
enum class PresetTerm { None, ContractShare, FulfilledPart, InsuredSum, DailyPercent, KeyShare };

// Which debts a window holds: every one, those whose claim arose by a day,
// or the bills for months up to one.
enum class WindowScope { EveryDebt, AroseBy, BillsUpTo };
// Which of the claim's choices lifts a window: none (the law holds it
// always), the 2022 moratorium's box, or the box of the 2020 window.
enum class WindowSwitch { None, Moratorium2022, Window2020 };

// Days in which nothing accrues under a basis's law (decrees, moratoria).
struct PresetWindow {
    const char *from = nullptr; // "dd.MM.yyyy"; null: no window (the end of the list)
    const char *to = nullptr;
    WindowScope scope = WindowScope::EveryDebt;
    const char *scopeDate = nullptr; // AroseBy: "dd.MM.yyyy"; BillsUpTo: "MM.yyyy"
    WindowSwitch lifted = WindowSwitch::None;
};

// The key rate at most `most` percent on the days from `from` to `to`, or,
// `byRateDay`, wherever the day whose rate is taken lies between them.
struct PresetCap {
    const char *from = nullptr; // null: no cap (the end of the list)
    const char *to = nullptr;
    const char *most = nullptr;
    bool byRateDay = false;
};

// Monthly bills due before a day are counted by steps of an older law.
struct PresetBillRule {
    const char *dueBefore = nullptr; // null: one law for every bill
    PresetStep steps[3] = {};
};

// The fine a court awards a consumer on top of the claim: `percent` of the
// total awarded (`ofDebt`: of the debt alone); never part of the claim or its
// fee. A row's fines hold by the filing date: each from its `from` on.
struct PresetFine {
    const char *article = nullptr; // null: none (the end of the list)
    int percent = 0;
    bool ofDebt = false;
    const char *from = nullptr; // "dd.MM.yyyy": for claims filed from this day; null: always
};

// Who usually claims on a basis is freed of the court fee (art. 333.36 of
// the Tax Code): wholly (`freeUpTo` 0), or on a claim up to `freeUpTo`
// roubles, above it the fee on the claim less the fee on that much.
struct PresetFee {
    const char *article = nullptr; // null: the fee is paid in full
    qint64 freeUpTo = 0;
};

// What a penalty is counted on: money owed, claimed beside the penalty (395,
// a contract, housing bills, wages…); only the penalty's base, never
// claimed (the price of a flat the builder owes, the unfulfilled part of a
// contract); or either, as the claimant says (a prepayment or a price the
// consumer may demand back or not, an indemnity paid or not): owed unless
// the claim says otherwise.
enum class PresetBase { Owed, NotOwed, Chosen };

// For a base that is not money owed: what the debtor did not do, as the
// "и далее" line and the papers say it.
struct PresetObligation {
    const char *until = nullptr; // "передачи объекта долевого строительства"
    const char *baseOf = nullptr; // "от цены договора"
    const char *breach = nullptr; // "не передал объект долевого строительства"
    const char *base = nullptr; // "Цена договора", as a calculation's heading names it
};

// Where a claim on a basis usually goes: the user's choice, a court of
// general jurisdiction (an employee, a consumer, a citizen) or the
// arbitration court (companies).
enum class PresetCourt { Chosen, General, Arbitration };

struct Preset {
    const char *name = nullptr; // --basis NAME
    // How its report's table is laid out: the interest's columns, a percent a
    // day's, a share of the key rate's, or housing bills'.
    PeriodCount layout = PeriodCount::Statutory;
    // One of the four counts the dialog offers by a button of its own: a claim
    // names it by its count, not by a basis.
    bool ownButton = false;
    const char *article = nullptr; // "ст. 395 ГК РФ"
    const char *title = nullptr;   // what the dialog offers
    const char *hint = nullptr;    // what --help says beside the name, when anything
    // "Сумма процентов", "Сумма неустойки", "Сумма пеней", "Сумма компенсации"
    const char *total = nullptr;
    // The report's heading when it is not "Расчет <what the total sums> по
    // <article>": {daily}, {cap} and {fraction} stand for the user's terms.
    const char *heading = nullptr;
    PresetStep steps[3] = {};
    const char *ownRate = nullptr;      // a percent a day; null: the key rate (or the user's own)
    RateDay rateDay = RateDay::EachDay; // whose rate
    PresetWindow windows[4] = {};
    PresetCap caps[2] = {};
    const char *capNote = nullptr;  // what the report says when a cap lowered the rate
    const char *totalCap = nullptr; // the total at most this share of the debt; null: none
    // The total at most this many roubles (the InsuredSum term's default); null: none.
    const char *totalCapAmount = nullptr;
    PresetEra eras[3] = {};
    PresetTerm term = PresetTerm::None;
    bool monthlyBills = false; // counted by monthly bills, as the ledger counts them
    PresetBillRule oldBills = {};
    PresetFee fee = {};
    PresetCourt court = PresetCourt::Chosen;
    PresetFine fines[2] = {};
    PresetBase base = PresetBase::Owed;
    PresetObligation obligation = {};
    // The heading names the price, the due day and its rate (a rate of one
    // day: the day the obligation was due).
    bool headingDueRate = false;
    // Pieces end where a table entry or a year begins even when the rate or
    // the year's days stay the same, as these reports always showed them.
    bool cutAtEveryChange = false;
};

// The largest insured sum a motor insurance claim may give, in roubles.
inline constexpr qint64 kMaxInsuredSum = 1000000000;
// Wages: the law's share of the key rate from 03.10.2016; a contract may set a greater one.
inline constexpr int kWagesFraction = 150;

// Every basis: the table's rows, then any added; a row's address never changes.
const std::deque<Preset> &presets();
// A basis beyond the table's, by a row made elsewhere, whose texts live as
// long as the program; added before any count runs, never while one does.
// False when its name is taken.
bool addBasis(const Preset &row);
// The names of the bases `keep` keeps, as a message lists them: "housing, capital-repair".
QString basisNames(bool (*keep)(const Preset &));
// The basis of that name; null when there is none.
const Preset *presetNamed(QStringView name);
// Whether the basis of that name takes `term` (false for no basis).
bool basisTakes(QStringView basis, PresetTerm term);
// Whether the claim's choice `lift` can lift a window of the basis (the
// 2022 moratorium's box is off for a basis it never held).
bool windowLiftable(const Preset &p, WindowSwitch lift);

// The row of a claim's basis: its own, the housing penalty's for the
// housing count; null for the older counts.
const Preset *presetOf(const PeriodInput &claim);
// Whether the claim demands the base of its penalty beside it: money owed
// always; a base that is not owed never; a base the claimant chooses as
// `claimBase` says (owed when it says nothing).
bool claimsBase(const PeriodInput &claim);
// Whether the claimant chooses it on the claim's basis.
bool baseChosen(QStringView basis);
// The words of what was not done, where the claim's base is no money it
// demands (a flat's price, a contract's unfulfilled part, a base the
// claimant leaves out); null where the base is claimed.
const PresetObligation *unclaimedBase(const PeriodInput &claim);
// The court a claim on its basis usually goes to; the claim's own where the
// basis leaves it to the user.
Court courtFor(const PeriodInput &claim);

// The court fee of a claim of `total` kopecks: its court's scale on its
// filing date, less what its basis frees the claimant of (unless
// `feeExemption` is off), half for a court order (at least its minimum). `article` gets the
// exemption's article when one applied. Under the scale of 2024 the fee is
// paid in whole roubles: `byScale` gets the scale's figure where it differs
// (0 where it does not).
qint64 claimFeeKopecks(const PeriodInput &claim, qint64 total, QString *article = nullptr,
                       qint64 *byScale = nullptr);
// The report's line for that fee: "Государственная пошлина: 100,00 руб.",
// "…: не уплачивается (пп. 1 п. 1 ст. 333.36 НК РФ)" or the reduced sum
// with its article, and the scale's figure when the whole roubles differ from it.
QString feeLine(qint64 fee, const QString &article, qint64 byScale = 0);

// The engine's rules for a basis: `rateDate` for one date's rate (the
// filing date by default, the due day for a basis that takes it), its
// windows but those the claim's choices lift (`moratorium`, `window2020`).
CountRules presetRules(const Preset &preset, QDate rateDate, bool moratorium,
                       bool window2020 = true);
// The fine a court awards on a claim on the basis filed on `filed`; null: none.
const PresetFine *fineOn(const Preset &preset, QDate filed);
// Bills due before the basis's older law ends are counted by its steps.
QList<Step> billSteps(const Preset &preset, QDate due);

} // namespace calc
