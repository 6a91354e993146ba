// SPDX-License-Identifier: GPL-3.0-or-later
// The table of legal bases: each row is the law's rule as the engine counts
// it. The amounts each gives are worked out by hand in the tests.
#include "presets.h"

#include "common/dates.h"
#include "decimal.h"

namespace calc {
namespace {

using K = Step::Kind;
constexpr PresetStep kYearDays{1, K::YearDays};
constexpr PresetStep kDaily{1, K::Daily};
constexpr PresetFee kNoFee{};
// Art. 333.36 of the Tax Code: p. 1 sub. 1 (wages), sub. 2 (alimony), p. 3
// (consumers: free up to a claim of 1 000 000 roubles).
constexpr PresetFee kWagesFee{"пп. 1 п. 1 ст. 333.36 НК РФ", 0};
constexpr PresetFee kAlimonyFee{"пп. 2 п. 1 ст. 333.36 НК РФ", 0};
constexpr PresetFee kConsumerFee{"п. 3 ст. 333.36 НК РФ", 1000000};
constexpr auto kGeneral = PresetCourt::General, kArbitration = PresetCourt::Arbitration;

// clang-format off
constexpr Preset kPresets[] = {
    {"395", "ст. 395 ГК РФ", "Проценты по ст. 395 ГК РФ", "Сумма процентов",
     {kYearDays}, nullptr, RateDay::EachDay, true, false, nullptr, {}},
    {"317.1", "ст. 317.1 ГК РФ", "Проценты по ст. 317.1 ГК РФ", "Сумма процентов",
     {kYearDays}, nullptr, RateDay::EachDay, false, false, nullptr, {}},
    {"contract", "договорная неустойка", "Неустойка, % в день", "Сумма неустойки",
     {kDaily}, nullptr, RateDay::EachDay, true, false, nullptr, {}},
    {"key-fraction", "договорные пени", "Пени, доля ключевой ставки", "Сумма пеней",
     {{1, K::Fraction, 300}}, nullptr, RateDay::EachDay, true, false, nullptr, {}},
    {"housing", "ч. 14 ст. 155 ЖК РФ", "Пени за ЖКУ (ч. 14 ст. 155 ЖК РФ)", "Сумма пеней",
     {{1, K::Nothing}, {31, K::Fraction, 300}, {91, K::Fraction, 130}}, nullptr, RateDay::Payment,
     true, true, nullptr, {}, PresetTerm::None, true, kNoFee, kGeneral},
    // 1/300 of the refinancing rate before 03.10.2016 (the law's wording then).
    {"wages", "ст. 236 ТК РФ", "Компенсация за задержку зарплаты (ст. 236 ТК РФ)",
     "Сумма компенсации", {{1, K::Fraction, 300}}, nullptr, RateDay::EachDay, false, false,
     nullptr, {{"03.10.2016", {{1, K::Fraction, kWagesFraction}}}}, PresetTerm::ContractShare,
     false, kWagesFee, kGeneral},
    // 0,5 % a day before 10.08.2018, 0,1 % from then (Federal Law 214-FZ of 2018).
    {"alimony", "п. 2 ст. 115 СК РФ", "Неустойка по алиментам (п. 2 ст. 115 СК РФ)",
     "Сумма неустойки", {kDaily}, "0,5", RateDay::EachDay, false, false, nullptr,
     {{"10.08.2018", {}, "0,1"}}, PresetTerm::None, false, kAlimonyFee, kGeneral},
    {"consumer-23", "ст. 23 Закона «О защите прав потребителей»",
     "Неустойка продавца (ст. 23 ЗоЗПП)", "Сумма неустойки", {kDaily}, "1", RateDay::EachDay,
     true, false, nullptr, {}, PresetTerm::None, false, kConsumerFee, kGeneral},
    {"consumer-23.1", "п. 3 ст. 23.1 Закона «О защите прав потребителей»",
     "Неустойка за непереданный предоплаченный товар (п. 3 ст. 23.1 ЗоЗПП)", "Сумма неустойки",
     {kDaily}, "0,5", RateDay::EachDay, true, false, "1", {}, PresetTerm::None, false,
     kConsumerFee, kGeneral},
    {"consumer-28", "п. 5 ст. 28 Закона «О защите прав потребителей»",
     "Неустойка исполнителя (п. 5 ст. 28 ЗоЗПП)", "Сумма неустойки", {kDaily}, "3",
     RateDay::EachDay, true, false, "1", {}, PresetTerm::None, false, kConsumerFee, kGeneral},
    // Each portion paid at its payment day's rate, what is unpaid at the filing
    // date's ("на дату уплаты пени", ч. 5, 7 ст. 34 44-ФЗ; the Supreme
    // Court's review of 28.06.2017, p. 38).
    {"procurement", "ч. 5 ст. 34 Федерального закона № 44-ФЗ", "Пени заказчика (ч. 5 ст. 34 44-ФЗ)",
     "Сумма пеней", {{1, K::Fraction, 300}}, nullptr, RateDay::Payment, true, false, nullptr, {},
     PresetTerm::None, false, kNoFee, kArbitration},
    {"procurement-supplier", "ч. 7 ст. 34 Федерального закона № 44-ФЗ",
     "Пени поставщика (ч. 7 ст. 34 44-ФЗ)", "Сумма пеней", {{1, K::Fraction, 300}}, nullptr,
     RateDay::Payment, true, false, nullptr, {}, PresetTerm::FulfilledPart, false, kNoFee,
     kArbitration},
    {"tax-person", "ст. 75 НК РФ (физические лица и ИП)", "Пени по налогам физических лиц и ИП",
     "Сумма пеней", {{1, K::Fraction, 300}}, nullptr, RateDay::EachDay, true, false, "1", {},
     PresetTerm::None, false, kNoFee, kGeneral},
    // By the days' dates: 1/150 from day 31 before 09.03.2022, 1/300 throughout
    // to 31.12.2024, then 1/150 for days 31–90 only in 2025 and 2026.
    {"tax-company", "ст. 75 НК РФ (организации)", "Пени по налогам организаций", "Сумма пеней",
     {{1, K::Fraction, 300}, {31, K::Fraction, 150}}, nullptr, RateDay::EachDay, true, false, "1",
     {{"09.03.2022", {{1, K::Fraction, 300}}},
      {"01.01.2025", {{1, K::Fraction, 300}, {31, K::Fraction, 150}, {91, K::Fraction, 300}}},
      {"01.01.2027", {{1, K::Fraction, 300}, {31, K::Fraction, 150}}}}, PresetTerm::None, false,
     kNoFee, kArbitration},
    {"resources-other", "ч. 9.1 ст. 15 Федерального закона № 190-ФЗ и др. (прочие потребители)",
     "Пени за энергоресурсы: прочие потребители", "Сумма пеней", {{1, K::Fraction, 130}}, nullptr,
     RateDay::Payment, true, true, nullptr, {}, PresetTerm::None, false, kNoFee, kArbitration},
    {"resources-managing", "ч. 9.1 ст. 15 Федерального закона № 190-ФЗ и др. (управляющие "
     "организации)", "Пени за энергоресурсы: управляющие организации", "Сумма пеней",
     {{1, K::Fraction, 300}, {61, K::Fraction, 170}, {91, K::Fraction, 130}}, nullptr,
     RateDay::Payment, true, true, nullptr, {}, PresetTerm::None, true, kNoFee, kArbitration},
    {"resources-hoa", "ч. 9.1 ст. 15 Федерального закона № 190-ФЗ и др. (ТСЖ, ЖК, ЖСК)",
     "Пени за энергоресурсы: ТСЖ, ЖК, ЖСК", "Сумма пеней",
     {{1, K::Nothing}, {31, K::Fraction, 300}, {91, K::Fraction, 130}}, nullptr, RateDay::Payment,
     true, true, nullptr, {}, PresetTerm::None, true, kNoFee, kArbitration},
};
// clang-format on

QList<Step> stepsOf(const PresetStep (&steps)[3]) {
    QList<Step> out;
    for (const PresetStep &s : steps)
        if (s.fromDay > 0) out.append({s.fromDay, s.kind, s.fraction});
    return out;
}

Decimal decimalOf(const char *text) {
    Decimal d;
    readDecimal(QString::fromLatin1(text), kMaxRateDigits, d);
    return d;
}

} // namespace

RateCap housingRateCap() {
    return {QDate(2022, 2, 28), QDate(2026, 12, 31), Decimal{95, 1}, true};
}

QString housingRateCapPhrase() {
    return QStringLiteral("Ставка 9,5% — постановление Правительства РФ № 474: ключевая ставка "
                          "на день, по которому берется ставка, но не выше 9,5%");
}

Window window2020() {
    return {QDate(2020, 4, 6), QDate(2020, 12, 31), {}};
}

const Preset *presetOf(const PeriodInput &claim) {
    if (!claim.basis.isEmpty()) return presetNamed(claim.basis);
    return claim.count == PeriodCount::Housing ? presetNamed(u"housing") : nullptr;
}

Court courtFor(const PeriodInput &claim) {
    const Preset *p = presetOf(claim);
    if (!p || p->court == PresetCourt::Chosen) return claim.court;
    return p->court == PresetCourt::General ? Court::GeneralJurisdiction : Court::Arbitration;
}

qint64 claimFeeKopecks(const PeriodInput &claim, qint64 total, QString *article) {
    const FeeScale scale = feeScaleFor(claim.filed);
    qint64 fee = courtFeeKopecks(total, claim.court, scale);
    const Preset *p = presetOf(claim);
    if (p && p->fee.article && claim.feeExemption) {
        const qint64 free = p->fee.freeUpTo * 100;
        fee = total <= free ? 0 : fee - (free ? courtFeeKopecks(free, claim.court, scale) : fee);
        if (article) {
            *article = QString::fromUtf8(p->fee.article);
            if (free && fee == 0)
                *article += QStringLiteral(": цена иска не более %1 руб.").arg(kopecksText(free));
            else if (free)
                *article += QStringLiteral(": за вычетом пошлины с %1 руб.").arg(kopecksText(free));
        }
    }
    return claim.courtOrder ? courtOrderFee(fee) : fee;
}

QString feeLine(qint64 fee, const QString &article) {
    if (article.isEmpty())
        return QStringLiteral("Государственная пошлина: %1 руб.").arg(kopecksText(fee));
    if (fee == 0)
        return QStringLiteral("Государственная пошлина: не уплачивается (%1)").arg(article);
    return QStringLiteral("Государственная пошлина: %1 руб. (%2)").arg(kopecksText(fee), article);
}

std::span<const Preset> presets() {
    return kPresets;
}

const Preset *presetNamed(QStringView name) {
    for (const Preset &p : kPresets)
        if (name == QLatin1String(p.name)) return &p;
    return nullptr;
}

bool basisTakes(QStringView basis, PresetTerm term) {
    const Preset *p = basis.isEmpty() ? nullptr : presetNamed(basis);
    return p && p->term == term;
}

CountRules presetRules(const Preset &preset, QDate rateDate, bool moratorium) {
    CountRules rules;
    rules.steps = stepsOf(preset.steps);
    rules.rateDay = preset.rateDay;
    rules.rateDate = rateDate;
    if (preset.ownRate) rules.ownRate = decimalOf(preset.ownRate);
    if (moratorium) rules.windows = {{kMoratoriumStart, kMoratoriumEnd, kMoratoriumStart}};
    if (preset.housingCap) rules.caps = {housingRateCap()};
    if (preset.totalCap) rules.totalCap = decimalOf(preset.totalCap);
    for (const PresetEra &e : preset.eras) {
        if (!e.from) break;
        QDate from;
        parseDateText(QString::fromLatin1(e.from), from);
        Era era{from, stepsOf(e.steps), {}};
        if (e.ownRate) era.ownRate = decimalOf(e.ownRate);
        rules.eras.append(era);
    }
    return rules;
}

} // namespace calc
