// SPDX-License-Identifier: GPL-3.0-or-later
#include "claimrequest.h"

#include "calc/penalty.h"
#include "calc/presets.h"
#include "common/apperror.h"
#include "common/dates.h"
#include "law/vat.h"
#include "rates/knownrates.h"
#include "rates/userrates.h"
#include "storage/modesettings.h"

namespace bulk {

using calc::ClaimField;

// A claim by periods counted, as the command line reports it.
ClaimResult periodResult(const calc::PeriodInput &in) {
    const calc::PeriodResult p = calc::calculatePeriods(in);
    ClaimResult out;
    out.lines = p.lines;
    out.days = p.days;
    out.interest = calc::kopecksText(p.interest);
    out.total = calc::kopecksText(p.remaining + p.interest);
    out.fee = calc::kopecksText(p.fee);
    if (calc::usesRateTable(in.count)) {
        const bool housing = in.count == calc::PeriodCount::Housing;
        out.tableEnd = calc::lastRateDay(in);
        // Housing: from the oldest bill's month (the period plays no part).
        out.tableFrom = housing ? QDate() : in.start;
        if (housing)
            for (const calc::Charge &c : in.charges)
                if (out.tableFrom.isNull() || c.month < out.tableFrom) out.tableFrom = c.month;
    }
    out.byPeriods = true;
    out.periodInput = in;
    out.periodResult = p;
    return out;
}

Defaults Defaults::fromUserData() {
    Defaults d;
    rates::UserRates user = rates::openUserRates(rates::RateFileAccess::ReadOnly);
    d.table = std::move(user.table);
    d.problem = std::move(user.problem);
    if (!user.calendarProblem.isEmpty())
        d.problem +=
            (d.problem.isEmpty() ? QString() : QStringLiteral("\n")) + user.calendarProblem;
    d.divisor = QString::number(storage::storedDivisor());
    d.dailyRate = storage::storedDailyRate();
    return d;
}

void ClaimRequest::set(ClaimField field, const QString &text, const QString &name, bool add) {
    // A party's column is a row's own words, written back as they are (a
    // batch makes no papers): read as before the parties were fields.
    if (calc::isPartyField(field) && !name.startsWith(u'-')) {
        calc::FieldValue words;
        words.text = text;
        given_[size_t(field)] = Given{std::move(words), name};
        return;
    }
    calc::FieldValue v = calc::readField(calc::fieldInfo(field), text, name);
    std::optional<Given> &given = given_[size_t(field)];
    if (add && given && calc::fieldInfo(field).kind == calc::FieldKind::List) {
        given->value.entries += v.entries;
        return;
    }
    if (add && given && calc::fieldInfo(field).kind == calc::FieldKind::Spans) {
        given->value.spans += v.spans;
        return;
    }
    given = Given{std::move(v), name};
}

bool ClaimRequest::periods() const {
    return (has(ClaimField::Periods) && value(ClaimField::Periods).yes()) || has(ClaimField::Basis);
}

calc::Court ClaimRequest::court() const {
    return has(ClaimField::Court) && value(ClaimField::Court).number == 1
               ? calc::Court::GeneralJurisdiction
               : calc::Court::Arbitration;
}

bool ClaimRequest::statutory() const {
    return !has(ClaimField::Mode) || value(ClaimField::Mode).number == 0;
}

calc::PeriodCount ClaimRequest::count(calc::PeriodCount base) const {
    if (has(ClaimField::Basis)) {
        QString own;
        return calc::countOfBasis(value(ClaimField::Basis).text, own);
    }
    if (has(ClaimField::PenaltyDaily)) return calc::PeriodCount::Contractual;
    if (has(ClaimField::KeyFraction)) return calc::PeriodCount::KeyFraction;
    return base;
}

namespace {

// Why a term of a basis of its own does not apply to the claim's basis
// (empty: it does, or the field is no such term).
QString notForBasis(ClaimField field, calc::PeriodCount count, const QString &basis) {
    switch (field) {
    case ClaimField::CapPercent:
    case ClaimField::Cap:
        if (count != calc::PeriodCount::Contractual || !basis.isEmpty())
            return QStringLiteral("предел — только для договорной неустойки (--basis contract)");
        break;
    case ClaimField::Fulfilled:
        if (!calc::basisTakes(basis, calc::PresetTerm::FulfilledPart))
            return QStringLiteral("только для пеней поставщика (--basis procurement-supplier)");
        break;
    case ClaimField::InsuredSum:
        if (!calc::basisTakes(basis, calc::PresetTerm::InsuredSum))
            return QStringLiteral("только для неустойки страховщика ОСАГО (--basis osago)");
        break;
    case ClaimField::ClaimBase:
        if (!calc::baseChosen(basis))
            return QStringLiteral("основание %1 не оставляет выбора; выбор есть только у "
                                  "оснований %2")
                .arg(basis.isEmpty() ? calc::countName(count) : basis,
                     calc::basisNames(
                         [](const calc::Preset &p) { return p.base == calc::PresetBase::Chosen; }));
        break;
    case ClaimField::FeeExemption:
        if (const calc::Preset *p = basis.isEmpty() ? nullptr : calc::presetNamed(basis);
            !p || !p->fee.article)
            return QStringLiteral("льгота по госпошлине есть только у оснований ") +
                   calc::basisNames(
                       [](const calc::Preset &each) { return each.fee.article != nullptr; });
        break;
    default:
        break;
    }
    return {};
}

// Why a field does not apply to a claim by periods that counts `count`
// (empty: it does).
QString notFor(ClaimField field, calc::PeriodCount count, const QString &basis = {}) {
    using C = calc::PeriodCount;
    const bool housing = count == C::Housing;
    // A basis of its own has its own rates and shares; a contract may raise
    // the wages' share.
    if (field == ClaimField::KeyFraction &&
        calc::basisTakes(basis, calc::PresetTerm::ContractShare))
        return {};
    if (!basis.isEmpty() && (field == ClaimField::PenaltyDaily ||
                             field == ClaimField::KeyFraction || field == ClaimField::RateDate))
        return QStringLiteral("не применяется: основание считается по своим правилам");
    if (QString why = notForBasis(field, count, basis); !why.isEmpty()) return why;
    switch (field) {
    case ClaimField::Tax:
    case ClaimField::Rate:
    case ClaimField::Divisor:
    case ClaimField::DailyRate:
    case ClaimField::Mode:
        return QStringLiteral("не применяется к расчету по периодам (неустойка по периодам — "
                              "--penalty-daily или --key-fraction)");
    case ClaimField::Debt:
    case ClaimField::From:
    case ClaimField::To:
    case ClaimField::Increases:
    case ClaimField::Arose:
        if (housing)
            return QStringLiteral("не применяется к пеням за ЖКУ: долг — это начисления "
                                  "(--charge), расчет — на дату --filed");
        break;
    case ClaimField::PenaltyDaily:
        if (count != C::Contractual)
            return QStringLiteral("неустойка в день — только для --basis contract");
        break;
    case ClaimField::KeyFraction:
        if (count != C::KeyFraction)
            return QStringLiteral("доля ключевой ставки — только для --basis key-fraction");
        break;
    case ClaimField::RateDate:
        if (count != C::KeyFraction && !housing)
            return QStringLiteral("дата ставки нужна только для доли ключевой ставки и пеней "
                                  "за ЖКУ");
        break;
    case ClaimField::Charges:
    case ClaimField::RateDay:
    case ClaimField::DueDay:
    case ClaimField::Shift:
    case ClaimField::Moratorium2020:
        if (!housing)
            return QStringLiteral("только для пеней по счетам за месяц (--basis %1)")
                .arg(
                    calc::basisNames([](const calc::Preset &p) { return p.layout == C::Housing; }));
        break;
    default:
        break;
    }
    return {};
}

} // namespace

void ClaimRequest::refuseMisplaced(bool byPeriods, calc::PeriodCount base) const {
    if (!has(ClaimField::Basis)) refuseBothPenalties();
    const bool statutory = this->statutory();
    const calc::PeriodCount counted = count(base);
    const QString own = ownBasis();
    for (const calc::FieldInfo &info : calc::claimFields()) {
        if (!has(info.field) || given_[size_t(info.field)]->byDefault) continue;
        const ClaimField f = info.field;
        // What to set, in the words the value came by: an option, or a column.
        const bool option = given_[size_t(f)]->name.startsWith(u'-');
        // A party's column is a row's own words, written back with its result
        // whatever the row counts, as before the parties were fields.
        if (!option && calc::isPartyField(f)) continue;
        QString why;
        if (byPeriods) {
            if (!(f == ClaimField::Mode && statutory)) why = notFor(f, counted, own);
        } else if (!statutory && (f == ClaimField::Rate || f == ClaimField::Divisor)) {
            why = QStringLiteral("только для законной пени, а выбрана договорная");
        } else if (statutory && f == ClaimField::DailyRate) {
            why = option ? QStringLiteral("только для договорной пени (--contractual)")
                         : QStringLiteral("только для договорной пени (mode=contractual)");
        } else if (f >= ClaimField::Payments && f != ClaimField::Basis) {
            // Every field from the payments on is of a claim by periods; the
            // housing penalty's say so.
            why = f > ClaimField::Basis ? notFor(f, calc::PeriodCount::Statutory) : QString();
            if (why.isEmpty())
                why = option ? QStringLiteral("только для расчета по периодам (--periods)")
                             : QStringLiteral("только для расчета по периодам (periods=yes)");
        }
        if (!why.isEmpty())
            throw AppError(QStringLiteral("%1: %2").arg(given_[size_t(f)]->name, why));
    }
}

QString ClaimRequest::ownBasis() const {
    QString own;
    if (has(ClaimField::Basis)) calc::countOfBasis(value(ClaimField::Basis).text, own);
    return own;
}

void ClaimRequest::refuseBothPenalties() const {
    const auto &daily = given_[size_t(ClaimField::PenaltyDaily)];
    const auto &fraction = given_[size_t(ClaimField::KeyFraction)];
    if (daily && fraction && !daily->byDefault && !fraction->byDefault)
        throw AppError(QStringLiteral("%1 и %2: нужна либо неустойка в день, либо доля ключевой "
                                      "ставки")
                           .arg(daily->name, fraction->name));
}

ClaimRequest ClaimRequest::asDefaults() const {
    ClaimRequest out = *this;
    for (std::optional<Given> &given : out.given_)
        if (given) given->byDefault = true;
    return out;
}

void ClaimRequest::applyTo(calc::PeriodInput &c) const {
    const bool basis = has(ClaimField::Basis);
    const auto *daily = has(ClaimField::PenaltyDaily) ? &value(ClaimField::PenaltyDaily) : nullptr;
    const auto *fraction = has(ClaimField::KeyFraction) ? &value(ClaimField::KeyFraction) : nullptr;
    if (!basis && daily && fraction) refuseBothPenalties();
    c.count = count(c.count);
    if (basis) calc::countOfBasis(value(ClaimField::Basis).text, c.basis);
    // A field that does not apply to what is counted was refused unless it
    // is a default: then it is left aside.
    const auto given = [&](ClaimField f) {
        return has(f) && notFor(f, c.count, c.basis).isEmpty() ? &value(f) : nullptr;
    };
    if (const auto *v = given(ClaimField::Debt)) c.debt = v->text;
    if (const auto *v = given(ClaimField::From)) c.start = v->date;
    if (const auto *v = given(ClaimField::To)) c.end = v->date;
    if (const auto *v = given(ClaimField::Filed)) c.filed = v->date;
    // A basis chosen here brings its usual court unless one is named.
    if (has(ClaimField::Court))
        c.court = court();
    else if (basis)
        c.court = calc::courtFor(c);
    if (const auto *v = given(ClaimField::Payments)) c.payments = v->entries;
    if (const auto *v = given(ClaimField::Increases)) c.increases = v->entries;
    if (const auto *v = given(ClaimField::Moratorium)) c.moratorium = v->yes();
    if (const auto *v = given(ClaimField::Arose)) c.arose = v->date;
    if (const auto *v = given(ClaimField::PenaltyDaily)) c.dailyPercent = v->text;
    if (const auto *v = given(ClaimField::KeyFraction))
        (calc::basisTakes(c.basis, calc::PresetTerm::ContractShare) ? c.contractFraction
                                                                    : c.fraction) = v->number;
    if (const auto *v = given(ClaimField::CapPercent)) {
        c.capPercent = v->text;
        c.capAmount.clear(); // one cap replaces the other (a batch's default)
    }
    if (const auto *v = given(ClaimField::Cap)) {
        c.capAmount = v->text;
        if (!given(ClaimField::CapPercent)) c.capPercent.clear();
    }
    if (const auto *v = given(ClaimField::Fulfilled)) c.fulfilled = v->text;
    if (const auto *v = given(ClaimField::Windows)) c.windows = v->spans;
    if (const auto *v = given(ClaimField::InsuredSum)) c.insuredSum = v->text;
    if (const auto *v = given(ClaimField::Continuing)) c.continuing = v->yes();
    if (const auto *v = given(ClaimField::ClaimBase)) c.claimBase = v->yes();
    for (const calc::FieldInfo &info : calc::claimFields())
        if (QString *text = calc::partyText(c.parties, info.field); text && has(info.field))
            *text = value(info.field).text;
    if (const auto *v = given(ClaimField::Charges)) {
        c.charges.clear();
        for (const calc::Payment &p : v->entries)
            c.charges.append({p.date, p.amount});
    }
    if (const auto *v = given(ClaimField::RateDay)) c.rateDay = calc::kRateDays[v->number];
    if (const auto *v = given(ClaimField::DueDay)) c.dueDay = v->number;
    if (const auto *v = given(ClaimField::Shift)) c.shift = v->yes();
    if (const auto *v = given(ClaimField::Moratorium2020)) c.moratorium2020 = v->yes();
    if (const auto *v = given(ClaimField::CourtOrder)) c.courtOrder = v->yes();
    if (const auto *v = given(ClaimField::FeeExemption)) c.feeExemption = v->yes();
    if (const auto *v = given(ClaimField::RateDate)) {
        // A date given is the one date's rate, unless another rule is asked.
        if (c.count == calc::PeriodCount::Housing && !given(ClaimField::RateDay))
            c.rateDay = calc::RateDay::OneDate;
        if (c.count == calc::PeriodCount::Housing && c.rateDay != calc::RateDay::OneDate)
            throw AppError(
                QStringLiteral(
                    "%1: дата ставки для ЖКУ — только с --rate-day date, а не с другим правилом")
                    .arg(given_[size_t(ClaimField::RateDate)]->name));
        c.rateDate = v->date;
    }
}

ClaimResult computeClaim(const ClaimRequest &r, const Defaults &d,
                         const rates::RateLookup &lookup) {
    r.refuseMisplaced(r.periods());
    const auto date = [&](ClaimField f) { return r.has(f) ? r.value(f).date : d.today; };
    if (r.periods()) {
        calc::PeriodInput in;
        in.debt = QStringLiteral("0,00");
        in.start = in.end = in.filed = d.today;
        in.rates = rates::ratePoints(d.table);
        r.applyTo(in);
        // Said in the command line's words; the count says it in the window's.
        if (in.count == calc::PeriodCount::Contractual && in.basis.isEmpty() &&
            in.dailyPercent.trimmed().isEmpty())
            throw AppError(QStringLiteral("не задана неустойка, % в день: --penalty-daily P "
                                          "(столбец penalty_daily)"));
        return periodResult(in);
    }
    const auto text = [&](ClaimField f, const QString &byDefault) {
        return r.has(f) ? r.value(f).text : byDefault;
    };
    calc::CalcInput in;
    in.debtText = text(ClaimField::Debt, QStringLiteral("0,00"));
    in.start = date(ClaimField::From);
    in.end = date(ClaimField::To);
    in.filed = date(ClaimField::Filed);
    in.taxPercent =
        r.has(ClaimField::Tax) ? r.value(ClaimField::Tax).number : law::vatPercentOn(in.start);
    in.court = r.court();
    in.statutory = r.statutory();
    in.divisorText = r.has(ClaimField::Divisor)
                         ? QString::number(r.value(ClaimField::Divisor).number)
                         : d.divisor;
    in.contractText = text(ClaimField::DailyRate, d.dailyRate);
    const bool looksUp = in.statutory && !r.has(ClaimField::Rate);
    in.refinancingText = !in.statutory ? storage::kInitialRefinancingRate
                         : looksUp     ? lookup.rateOn(in.end)
                                       : r.value(ClaimField::Rate).text;
    const calc::CalcResult c = calc::calculate(in);
    ClaimResult out;
    out.lines = c.lines;
    out.days = c.days;
    out.rate = in.statutory ? in.refinancingText : in.contractText;
    out.interest = c.interestText;
    out.total = c.totalText;
    out.fee = c.feeText;
    if (looksUp) out.tableFrom = out.tableEnd = in.end;
    return out;
}

ClaimResult computeSavedClaim(calc::PeriodInput claim, const ClaimRequest &overrides,
                              const Defaults &d) {
    overrides.refuseMisplaced(true, claim.count);
    overrides.applyTo(claim);
    claim.rates = rates::ratePoints(d.table);
    return periodResult(claim);
}

} // namespace bulk
