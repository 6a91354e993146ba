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
};

// Wages: the law's share of the key rate from 03.10.2016; a contract may set a greater one.
inline constexpr int kWagesFraction = 150;

std::span<const Preset> presets();
// The key rate at most 9,5 % from 28.02.2022 to 31.12.2026 (Government decree
// 474 with its extensions), as housing and resource bills have it.
RateCap housingRateCap();
// The basis of that name; null when there is none.
const Preset *presetNamed(QStringView name);
// Whether the basis of that name takes `term` (false for no basis).
bool basisTakes(QStringView basis, PresetTerm term);
// Whether a basis is counted by monthly bills as the housing penalty is:
// each portion at its payment day's rate, the 9,5 % cap.
inline bool countedByBills(const Preset &p) {
    return p.rateDay == RateDay::Payment && p.housingCap;
}

// The engine's rules for a basis: `rateDate` for one date's rate (the
// filing date by default), `moratorium` as the user chose it.
CountRules presetRules(const Preset &preset, QDate rateDate, bool moratorium);

} // namespace calc
