// SPDX-License-Identifier: GPL-3.0-or-later
// Report lines are joined from many pieces: one allocation each, not one a piece.
#define QT_USE_QSTRINGBUILDER
#include "periodinterest.h"

#include "checkedclaim.h"
#include "claimfields.h"
#include "common/apperror.h"
#include "common/dates.h"
#include "continuing.h"
#include "engine.h"
#include "housing.h"
#include "money.h"
#include "penalty.h"
#include "presets.h"
#include "userwindows.h"

#include <algorithm>

namespace calc {

bool moratoriumCovers(QDate arose) {
    return arose <= kMoratoriumStart;
}

namespace {

QDate mainArose(const PeriodInput &in) {
    return in.arose.isValid() ? in.arose : in.start;
}

QDate increaseArose(const Payment &p) {
    return p.arose.isValid() ? p.arose : p.date;
}

} // namespace

bool moratoriumMayCover(const PeriodInput &claim) {
    if (const Preset *row = presetOf(claim);
        row && !windowLiftable(*row, WindowSwitch::Moratorium2022)) // wages, alimony, 317.1
        return false;
    if (claim.count == PeriodCount::Housing) // bills for months up to March 2022
        return std::any_of(claim.charges.cbegin(), claim.charges.cend(), [](const Charge &c) {
            return c.month.isValid() && c.month.addMonths(1) <= kMoratoriumStart;
        });
    if (moratoriumCovers(mainArose(claim))) return true;
    for (const Payment &p : claim.increases)
        if (moratoriumCovers(increaseArose(p))) return true;
    return false;
}

namespace {

// The row's rules with the user's terms: a percent a day and its cap, 1/N
// of the key rate and one date's rate, a contract's greater share, an
// insured sum.
CountRules rulesOf(const Preset &row, const PeriodInput &in, const CheckedClaim &c) {
    const bool oneDate = row.rateDay == RateDay::OneDate && in.rateDate.isValid();
    CountRules rules = presetRules(row,
                                   row.rateDay == RateDay::DueDay ? in.start.addDays(-1)
                                   : oneDate                      ? in.rateDate
                                                                  : in.filed,
                                   in.moratorium);
    rules.eventRows = true;
    rules.cutAtEveryChange = row.cutAtEveryChange;
    switch (row.term) {
    case PresetTerm::DailyPercent:
        rules.ownRate = c.daily;
        rules.totalCap = c.capShare;
        rules.totalCapKopecks = c.capKopecks;
        break;
    case PresetTerm::KeyShare:
        rules.steps = {{1, Step::Fraction, in.fraction}};
        rules.rateDay = in.rateDate.isValid() ? RateDay::OneDate : RateDay::EachDay;
        rules.rateDate = in.rateDate;
        break;
    case PresetTerm::InsuredSum:
        if (c.capKopecks) rules.totalCapKopecks = c.capKopecks;
        break;
    case PresetTerm::ContractShare:
        if (in.contractFraction) { // the contract's share throughout: more than the law's
            rules.steps = {{1, Step::Fraction, in.contractFraction}};
            rules.eras.clear();
        }
        break;
    case PresetTerm::FulfilledPart:
    case PresetTerm::None:
        break;
    }
    return rules;
}

// The claim going on after the count, for what is left unpaid; under a cap
// on the total, what the cap leaves.
QString continuingOf(const PeriodInput &in, const CountRules &rules, const CheckedClaim &c,
                     const QList<Debt> &debts, const Allocation &allocation, qint64 interest) {
    // One balance: the steps count from the first debt's first day.
    OpenDebt balance{0, in.start, debts.front().arose, {}};
    qint64 owed = 0;
    for (qsizetype i = 0; i < debts.size(); ++i) {
        balance.unpaid += allocation.unpaid[i];
        owed += debts[i].amount;
    }
    std::optional<qint64> cap = rules.totalCapKopecks;
    if (rules.totalCap) {
        const qint64 share = pieceInterest(owed, 100, *rules.totalCap, 1);
        cap = cap ? std::min(*cap, share) : share;
    }
    ContinuingWords words{chargeNoun(in)};
    if (const PresetObligation *o = unclaimedBase(in)) {
        words.until = QStringLiteral("фактического исполнения обязательства (%1)")
                          .arg(QString::fromUtf8(o->until));
        words.base = QString::fromUtf8(o->baseOf);
    }
    return continuingLine(rules, c.rates, {balance}, in.end, words,
                          cap ? std::optional<qint64>(*cap - interest) : std::nullopt);
}

// Step two: the claim as the engine's debts, payments and count, counted:
// the pieces, payments, increases and the moratorium's days as rows.
void countRows(const PeriodInput &in, const CheckedClaim &c, PeriodResult &r) {
    CountRules rules = rulesOf(*presetOf(in), in, c);
    addUserWindows(in.windows, rules);
    if (usesRateTable(in.count) && !c.rates.empty()) {
        const QDate oldest = c.rates.begin()->first;
        if (rules.rateDay == RateDay::OneDate ? rules.rateDate < oldest : in.start < oldest)
            r.tableStart = oldest;
    }

    QList<Debt> debts{{c.debt, in.start, in.start, mainArose(in), false}};
    QList<int> account{0};
    debts.reserve(in.increases.size() + 1);
    account.reserve(in.increases.size() + 1);
    for (const Dated &raised : c.increases) {
        account.append(int(debts.size()));
        debts.append({raised.amount, raised.day, raised.day, raised.arose, true});
    }
    QList<Paid> payments;
    payments.reserve(c.payments.size());
    for (const Dated &paid : c.payments)
        addPayment(payments, {paid.day, paid.amount});
    const Allocation allocation = allocate(debts, payments);
    countAccount(rules, c.rates, debts, allocation, payments, account, in.end, r.rows, r.interest,
                 QStringLiteral("Сумма процентов"));
    if (in.continuing) r.continuing = continuingOf(in, rules, c, debts, allocation, r.interest);
    if (in.count == PeriodCount::Statutory)
        r.depositRateSpan = std::any_of(r.rows.cbegin(), r.rows.cend(), [](const PeriodRow &row) {
            return row.kind == PeriodRow::Piece && row.from <= kDepositRatesUntil &&
                   row.to >= kDepositRatesFrom;
        });
    r.days = int(in.start.daysTo(in.end)) + 1;
    for (qint64 left : allocation.unpaid)
        r.remaining += left; // no more than the debt with its increases
    // A base that is no money owed (a flat's price, what a supplier did not
    // deliver) or that the claimant does not demand: the claim is the penalty.
    if (!claimsBase(in)) r.remaining = 0;
    addWithinLimit(r.remaining, r.interest, QStringLiteral("ИТОГО"));
    r.fee = claimFeeKopecks(in, r.remaining + r.interest, &r.feeExemption, &r.feeByScale);
}

// What a piece came to under a cap on the total, when it cut it.
QString cappedPhrase(const PeriodRow &row) {
    if (row.uncapped <= 0) return {};
    return QStringLiteral(", с учетом предела — ") % kopecksText(row.amount) %
           QStringLiteral(" руб.");
}

// " (цена договора … руб., срок передачи …, ставка на этот день …%)": the
// rate of the day the obligation was due, the day before the first overdue one.
QString dueRatePhrase(const PeriodInput &in, const CheckedClaim &c) {
    const QDate due = in.start.addDays(-1);
    return QStringLiteral(" (цена договора %1 руб., срок передачи %2, ставка на этот день %3%)")
        .arg(kopecksText(c.debt), dateText(due),
             c.rates.empty() ? QStringLiteral("—") : rateText(rateInForce(c.rates, due)));
}

// Percent of an amount, to the kopeck, half away from zero.
qint64 percentOf(qint64 kopecks, int percent) {
    return (kopecks * percent + 50) / 100;
}

// The report's heading by the row: its own words with the user's terms, or
// "Расчет неустойки по п. 5 ст. 28 …" (what is counted, by what law), and
// the terms that change the count.
QString headingOf(const Preset &row, const PeriodInput &in, const CheckedClaim &c) {
    QString heading = row.heading
                          ? QString::fromUtf8(row.heading)
                          : QStringLiteral("Расчет ") + QString::fromUtf8(row.total).mid(6) +
                                QStringLiteral(" по ") + QString::fromUtf8(row.article);
    if (heading.contains(u'{')) {
        const QString cap =
            c.capShare ? QStringLiteral(", не более %1% долга")
                             .arg(rateText({c.capShare->digits, c.capShare->scale - 2}))
            : c.capKopecks ? QStringLiteral(", не более %1 руб.").arg(kopecksText(*c.capKopecks))
                           : QString();
        heading.replace(QStringLiteral("{daily}"), rateText(c.daily))
            .replace(QStringLiteral("{cap}"), cap)
            .replace(QStringLiteral("{fraction}"), QString::number(in.fraction));
    }
    if (in.contractFraction)
        heading += QStringLiteral(" (1/%1 ключевой ставки по договору)").arg(in.contractFraction);
    if (c.fulfilled)
        heading += QStringLiteral(" (цена %1 руб. − исполнено %2 руб. = %3 руб.)")
                       .arg(kopecksText(c.price), kopecksText(c.fulfilled), kopecksText(c.debt));
    if (row.headingDueRate) heading += dueRatePhrase(in, c);
    // Before 2016 the bank's rate was the refinancing rate.
    const QDate first = in.rateDate.isValid() ? in.rateDate : in.start;
    const QDate last = in.rateDate.isValid() ? in.rateDate : in.end;
    if (first < kKeyRateNamedFrom)
        heading.replace(QStringLiteral("ключевой ставки"),
                        last < kKeyRateNamedFrom
                            ? QStringLiteral("ставки рефинансирования")
                            : QStringLiteral("ставки рефинансирования, с 01.01.2016 — ключевой"));
    if (row.term == PresetTerm::InsuredSum)
        heading +=
            QStringLiteral(" (не более страховой суммы %1 руб.)")
                .arg(kopecksText(c.capKopecks ? *c.capKopecks
                                              : *presetRules(row, {}, false).totalCapKopecks));
    return heading;
}

// Step three: the report's lines, one a row, between the heading and the totals.
void writeLines(const PeriodInput &in, const CheckedClaim &c, PeriodResult &r) {
    const Preset &basis = *presetOf(in);
    const QString heading = headingOf(basis, in, c);
    const QString result = QString::fromUtf8(basis.total);
    const QString noun = chargeNoun(in);
    r.lines.reserve(r.rows.size() + 4);
    r.lines << heading % QStringLiteral(": с ") % dateText(in.start) % QStringLiteral(" по ") %
                   dateText(in.end) % QStringLiteral(" = ") % QString::number(r.days) %
                   QStringLiteral(" дн.");
    for (const PeriodRow &row : r.rows) {
        switch (row.kind) {
        case PeriodRow::Piece:
            // One expression, one allocation: the report is most of the time.
            r.lines << QStringLiteral("с ") % dateText(row.from) % QStringLiteral(" по ") %
                           dateText(row.to) % QStringLiteral(": ") % kopecksText(row.debt) %
                           QStringLiteral(" * ") % QString::number(row.days) %
                           QStringLiteral(" дн. * ") % row.rate %
                           (row.divisor > 0 ? QStringLiteral("% / ") + QString::number(row.divisor)
                                            : QStringLiteral("%")) %
                           QStringLiteral(" = ") %
                           kopecksText(row.uncapped > 0 ? row.uncapped : row.amount) %
                           QStringLiteral(" руб.") % cappedPhrase(row);
            break;
        case PeriodRow::Moratorium:
            r.lines << QStringLiteral("с ") % dateText(row.from) % QStringLiteral(" по ") %
                           dateText(row.to) % QStringLiteral(": ") %
                           windowPhrase(row, noun, row.partial ? row.debt : 0);
            break;
        case PeriodRow::Increase:
            r.lines << QStringLiteral("долг увеличен ") % dateText(row.from) %
                           QStringLiteral(": ") % kopecksText(row.amount) %
                           QStringLiteral(" руб.") % overpaidPhrase(row) %
                           QStringLiteral(", долг ") % kopecksText(row.debt) %
                           QStringLiteral(" руб.");
            break;
        case PeriodRow::Bill: // housing bills are told by their own report
        case PeriodRow::Advance:
        case PeriodRow::BillTotal:
            break;
        case PeriodRow::Payment:
            r.lines << QStringLiteral("оплата ") % dateText(row.from) % QStringLiteral(": ") %
                           kopecksText(row.amount) % QStringLiteral(" руб., остаток долга ") %
                           kopecksText(row.debt) % QStringLiteral(" руб.") % overpaidPhrase(row);
            break;
        }
    }
    r.lines << result % QStringLiteral(": ") % kopecksText(r.interest) % QStringLiteral(" руб.");
    r.lines << totalLine(r.remaining, r.interest);
    if (!r.continuing.isEmpty()) r.lines << r.continuing;
    r.lines << feeLine(r.fee, r.feeExemption, r.feeByScale);
    if (const PresetFine *fine = fineOn(basis, in.filed)) {
        // Informative: the court awards it on top of the claim.
        const qint64 base = fine->ofDebt ? r.remaining : r.remaining + r.interest;
        if (const qint64 amount = percentOf(base, fine->percent); amount > 0) {
            r.lines << QStringLiteral("Штраф потребителя (присуждает суд): %1% — %2 руб.")
                           .arg(fine->percent)
                           .arg(kopecksText(amount));
            r.consumerFine = true;
        }
    }
}

} // namespace

QDate lastRateDay(const PeriodInput &in) {
    const Preset *row = presetOf(in);
    const bool bills = in.count == PeriodCount::Housing;
    QDate last = bills ? in.filed : in.end;
    if (in.continuing) last = last.addDays(1); // "и далее" quotes the next day's rate
    const RateDay rateDay = bills ? in.rateDay : row ? row->rateDay : RateDay::EachDay;
    if (rateDay == RateDay::Payment && in.filed.isValid()) last = std::max(last, in.filed);
    if (in.rateDate.isValid() &&
        (rateDay == RateDay::OneDate || (row && row->term == PresetTerm::KeyShare)))
        last = std::max(last, in.rateDate);
    return last;
}

PeriodInput periodClaimOf(const CalcInput &claim, const QList<RatePoint> &rates) {
    PeriodInput in;
    in.debt = claim.debtText;
    in.start = claim.start;
    in.end = claim.end;
    in.court = claim.court;
    in.filed = claim.filed;
    in.rates = rates;
    return in;
}

QString totalLine(qint64 debt, qint64 charged) {
    if (debt == 0) return QStringLiteral("ИТОГО: %1 руб.").arg(kopecksText(charged));
    return QStringLiteral("ИТОГО: %1 + %2 = %3 руб.")
        .arg(kopecksText(debt), kopecksText(charged), kopecksText(debt + charged));
}

PeriodResult calculatePeriods(const PeriodInput &in) {
    if (in.count == PeriodCount::Housing) return housingPeriods(in);
    const CheckedClaim checked = checkClaim(in);
    PeriodResult r;
    countRows(in, checked, r);
    writeLines(in, checked, r);
    return r;
}

} // namespace calc
