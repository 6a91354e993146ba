// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine.h"

#include <QDate>
#include <span>

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
// rate a contract sets (wages), or what of the price was fulfilled (a
// supplier's penalty: on the price less it, and the claim is the penalty
// alone, as no money is owed for what was not delivered).
enum class PresetTerm { None, ContractShare, FulfilledPart };

// Who usually claims on a basis is freed of the court fee (art. 333.36 of
// the Tax Code): wholly (`freeUpTo` 0), or on a claim up to `freeUpTo`
// roubles, above it the fee on the claim less the fee on that much.
struct PresetFee {
    const char *article = nullptr; // null: the fee is paid in full
    qint64 freeUpTo = 0;
};

// Where a claim on a basis usually goes: the user's choice, a court of
// general jurisdiction (an employee, a consumer, a citizen) or the
// arbitration court (companies).
enum class PresetCourt { Chosen, General, Arbitration };

struct Preset {
    const char *name;    // --basis NAME
    const char *article; // "ст. 395 ГК РФ"
    const char *title;   // what the dialog offers
    const char *total; // "Сумма процентов", "Сумма неустойки", "Сумма пеней", "Сумма компенсации"
    PresetStep steps[3];
    const char *ownRate;  // a percent a day; null: the key rate (or the user's own)
    RateDay rateDay;      // whose rate
    bool moratorium;      // the moratorium of 2022 holds by default
    bool housingCap;      // the key rate at most 9,5 % from 28.02.2022 to 31.12.2026
    const char *totalCap; // the total at most this share of the debt; null: none
    PresetEra eras[3];
    PresetTerm term = PresetTerm::None;
    bool free2020 = false; // no penalty 06.04.2020–31.12.2020 (a housing or resource bill)
    PresetFee fee = {};
    PresetCourt court = PresetCourt::Chosen;
};

// Wages: the law's share of the key rate from 03.10.2016; a contract may set a greater one.
inline constexpr int kWagesFraction = 150;

std::span<const Preset> presets();
// The key rate at most 9,5 % when the day whose rate is taken lies in
// 28.02.2022–31.12.2026 (Government decree 474 with its extensions), as
// housing and resource bills have it.
RateCap housingRateCap();
// What a report says of a rate that cap lowered.
QString housingRateCapPhrase();
// No penalty on housing bills and on resource bills of managing
// organisations and homeowners' associations from 06.04.2020 to 31.12.2020
// (Government decree 424 of 02.04.2020).
Window window2020();
// The basis of that name; null when there is none.
const Preset *presetNamed(QStringView name);
// Whether the basis of that name takes `term` (false for no basis).
bool basisTakes(QStringView basis, PresetTerm term);
// Whether a basis is counted by monthly bills as the housing penalty is:
// each portion at its payment day's rate, the 9,5 % cap.
inline bool countedByBills(const Preset &p) {
    return p.rateDay == RateDay::Payment && p.housingCap;
}

// The row of a claim's basis: its own, the housing penalty's for the
// housing count; null for the older counts.
const Preset *presetOf(const PeriodInput &claim);
// The court a claim on its basis usually goes to; the claim's own where the
// basis leaves it to the user.
Court courtFor(const PeriodInput &claim);

// The court fee of a claim of `total` kopecks: its court's scale on its
// filing date, less what its basis frees the claimant of (unless
// `feeExemption` is off), half for a court order. `article` gets the
// exemption's article when one applied.
qint64 claimFeeKopecks(const PeriodInput &claim, qint64 total, QString *article = nullptr);
// The report's line for that fee: "Государственная пошлина: 100,00 руб.",
// "…: не уплачивается (пп. 1 п. 1 ст. 333.36 НК РФ)" or the reduced sum
// with its article.
QString feeLine(qint64 fee, const QString &article);

// The engine's rules for a basis: `rateDate` for one date's rate (the
// filing date by default), `moratorium` as the user chose it.
CountRules presetRules(const Preset &preset, QDate rateDate, bool moratorium);

} // namespace calc
