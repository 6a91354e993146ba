// SPDX-License-Identifier: GPL-3.0-or-later
// The table of legal bases: each row is the law's rule as the engine counts
// it. The amounts each gives are worked out by hand in the tests.
#include "presets.h"

#include "claimfields.h"
#include "common/dates.h"
#include "decimal.h"
#include "money.h"

namespace calc {
namespace {

// clang-format off
using K = Step::Kind;
constexpr PresetStep kYearDays{1, K::YearDays};
constexpr PresetStep kDaily{1, K::Daily};
// Art. 333.36 of the Tax Code: p. 1 sub. 1 (wages), sub. 2 (alimony), p. 3
// (consumers: free up to a claim of 1 000 000 roubles).
constexpr PresetFee kWagesFee{"пп. 1 п. 1 ст. 333.36 НК РФ", 0};
constexpr PresetFee kAlimonyFee{"пп. 2 п. 1 ст. 333.36 НК РФ", 0};
constexpr PresetFee kConsumerFee{"п. 3 ст. 333.36 НК РФ", 1000000};
constexpr auto kGeneral = PresetCourt::General, kArbitration = PresetCourt::Arbitration;
// The moratorium on bankruptcy of 01.04.2022–01.10.2022 (Government decree
// 497): claims that arose by its first day (a debt overdue from 01.04.2022
// arose by 31.03.2022); for monthly bills, those for months up to March 2022.
constexpr PresetWindow kMoratorium2022{"01.04.2022", "01.10.2022", WindowScope::AroseBy,
                                       "01.04.2022", WindowSwitch::Moratorium2022};
constexpr PresetWindow kMoratorium2022Bills{"01.04.2022", "01.10.2022", WindowScope::BillsUpTo,
                                            "03.2022", WindowSwitch::Moratorium2022};
// No penalty on housing bills, capital-repair contributions and resource
// bills of managing organisations and homeowners' associations from
// 06.04.2020 to 31.12.2020 (Government decree 424 of 02.04.2020).
constexpr PresetWindow kWindow2020{"06.04.2020", "31.12.2020", WindowScope::EveryDebt, nullptr,
                                   WindowSwitch::Window2020};
// The key rate at most 9,5 % when the day whose rate is taken lies in
// 28.02.2022–31.12.2026 (Government decree 474 with its extensions).
constexpr PresetCap kBillsCap{"28.02.2022", "31.12.2026", "9,5", true};
constexpr const char *kBillsCapNote =
    "Ставка 9,5% — постановление Правительства РФ № 474: ключевая ставка на день, по которому "
    "берется ставка, но не выше 9,5%";
// The consumer's fine (п. 6 ст. 13 Закона «О защите прав потребителей»).
constexpr PresetFine kConsumerFine{"п. 6 ст. 13 Закона «О защите прав потребителей»", 50};
// The shared-construction penalty's law (ч. 2 ст. 6 214-ФЗ): none for
// 03.04.2020–31.12.2020 (decree 423 of 02.04.2020; the case А32-52651/2021
// counts so), 29.03.2022–30.06.2023 (decrees 479 and 1732) and 22.03.2024–31.12.2025
// (decree 326 with its extensions); the rate at most the key rate of
// 25.02.2022 (9,5 %) for days to 30.06.2023 and that of 01.07.2023 (7,5 %)
// for days to 31.12.2025. The 2022 moratorium adds nothing: 479's window covers it.
constexpr PresetWindow kConstructionWindows[] = {
    {"03.04.2020", "31.12.2020"}, {"29.03.2022", "30.06.2023"}, {"22.03.2024", "31.12.2025"}};
constexpr PresetCap kConstructionCaps[] = {{"25.02.2022", "30.06.2023", "9,5"},
                                           {"01.07.2023", "31.12.2025", "7,5"}};
constexpr const char *kConstructionCapNote =
    "Ставка не выше 9,5% (дни по 30.06.2023) и 7,5% (дни с 01.07.2023 по 31.12.2025) — "
    "постановления Правительства РФ № 479 и № 326";
constexpr const char *kConstruction = "ч. 2 ст. 6 Федерального закона № 214-ФЗ";
// A participant who is a citizen: 5 % of what is awarded (ч. 3 ст. 10 214-ФЗ
// as amended by 266-ФЗ of 22.07.2024, in force 01.09.2024), the consumer
// law's 50 % before. The law dates it by the day the builder failed to
// satisfy the demand; the filing date stands in for that day.
constexpr PresetFine kConstructionFine{"ч. 3 ст. 10 Федерального закона № 214-ФЗ", 5, false,
                                       "01.09.2024"};

// What the debtor did not do, where the penalty's base is no money owed.
constexpr PresetObligation kFlat{"передачи объекта долевого строительства", "от цены договора",
                                 "не передал объект долевого строительства", "Цена договора"};
constexpr PresetObligation kSupply{"исполнения контракта", "от неисполненной части цены контракта",
                                   "не исполнил обязательство по контракту",
                                   "Неисполненная часть цены контракта"};
constexpr PresetObligation kPrepaidGoods{
    "передачи предварительно оплаченного товара", "от суммы предварительной оплаты",
    "не передал предварительно оплаченный товар", "Сумма предварительной оплаты"};
constexpr PresetObligation kWork{"выполнения работы (оказания услуги)", "от цены работы (услуги)",
                                 "не выполнил работу (не оказал услугу)", "Цена работы (услуги)"};
constexpr PresetObligation kIndemnity{"выплаты страхового возмещения", "от страхового возмещения",
                                      "не выплатил страховое возмещение", "Страховое возмещение"};

constexpr Preset kPresets[] = {
    {.name = "395", .ownButton = true, .article = "ст. 395 ГК РФ", .title = "Проценты по ст. 395 ГК РФ",
     .hint = "ст. 395 ГК РФ", .total = "Сумма процентов",
     .heading = "Расчет по периодам (ст. 395 ГК РФ)", .steps = {kYearDays},
     .windows = {kMoratorium2022}, .cutAtEveryChange = true},
    {.name = "317.1", .article = "ст. 317.1 ГК РФ", .title = "Проценты по ст. 317.1 ГК РФ",
     .total = "Сумма процентов", .steps = {kYearDays}},
    {.name = "contract", .layout = PeriodCount::Contractual, .ownButton = true, .article = "договорная неустойка", .title = "Неустойка, % в день",
     .hint = "неустойка, --penalty-daily", .total = "Сумма неустойки",
     .heading = "Расчет неустойки по периодам ({daily}% в день{cap})", .steps = {kDaily},
     .windows = {kMoratorium2022}, .term = PresetTerm::DailyPercent, .cutAtEveryChange = true},
    {.name = "key-fraction", .layout = PeriodCount::KeyFraction, .ownButton = true, .article = "договорные пени", .title = "Пени, доля ключевой ставки",
     .hint = "пени, --key-fraction", .total = "Сумма пеней",
     .heading = "Расчет пеней по периодам (1/{fraction} ключевой ставки)",
     .steps = {{1, K::Fraction, kDefaultFraction}}, .windows = {kMoratorium2022},
     .term = PresetTerm::KeyShare, .cutAtEveryChange = true},
    // Bills due before 2016 at 1/300 from the first day (the law before 307-FZ).
    {.name = "housing", .layout = PeriodCount::Housing, .ownButton = true, .article = "ч. 14 ст. 155 ЖК РФ",
     .title = "Пени за ЖКУ (ч. 14 ст. 155 ЖК РФ)", .hint = "пени за ЖКУ", .total = "Сумма пеней",
     .steps = {{1, K::Nothing}, {31, K::Fraction, 300}, {91, K::Fraction, 130}},
     .rateDay = RateDay::Payment, .windows = {kWindow2020, kMoratorium2022Bills},
     .caps = {kBillsCap}, .capNote = kBillsCapNote, .monthlyBills = true,
     .oldBills = {"01.01.2016", {{1, K::Fraction, 300}}}, .court = kGeneral},
    // Capital-repair contributions (ч. 14.1 ст. 155 ЖК РФ): 1/300 of the key
    // rate in force on the day of payment for every day from the day after the
    // due day: no days of grace, no 1/130 step. The contributions are due when
    // the housing bills are (ч. 1 ст. 171 ЖК РФ refers to ст. 155), so the due
    // day and the calendar are housing's. Checked against the decrees' texts:
    // decree 424 of 02.04.2020 (п. 5) suspends penalties for late "взносы на
    // капитальный ремонт" beside the housing payments to 01.01.2021; decree 474
    // of 26.03.2022 sets the rate for penalties "в случае несвоевременной и
    // (или) неполной оплаты ... взносов на капитальный ремонт" as for housing
    // (the lower of the rate of 27.02.2022, 9,5 %, and the day's); the
    // bankruptcy moratorium of decree 497 covers every claim that arose before
    // 01.04.2022, contributions included, so its scope is housing's bills.
    {.name = "capital-repair", .layout = PeriodCount::Housing, .article = "ч. 14.1 ст. 155 ЖК РФ",
     .title = "Пени по взносам на капремонт (ч. 14.1 ст. 155 ЖК РФ)", .hint = "пени по взносам на капремонт",
     .total = "Сумма пеней", .steps = {{1, K::Fraction, 300}}, .rateDay = RateDay::Payment,
     .windows = {kWindow2020, kMoratorium2022Bills}, .caps = {kBillsCap},
     .capNote = kBillsCapNote, .monthlyBills = true, .court = kGeneral},
    // 1/300 of the refinancing rate before 03.10.2016 (the law's wording then).
    {.name = "wages", .layout = PeriodCount::KeyFraction, .article = "ст. 236 ТК РФ",
     .title = "Компенсация за задержку зарплаты (ст. 236 ТК РФ)", .total = "Сумма компенсации",
     .steps = {{1, K::Fraction, 300}},
     .eras = {{"03.10.2016", {{1, K::Fraction, kWagesFraction}}}},
     .term = PresetTerm::ContractShare, .fee = kWagesFee, .court = kGeneral},
    // 0,5 % a day before 10.08.2018, 0,1 % from then (Federal Law 214-FZ of 2018).
    {.name = "alimony", .layout = PeriodCount::Contractual, .article = "п. 2 ст. 115 СК РФ",
     .title = "Неустойка по алиментам (п. 2 ст. 115 СК РФ)", .total = "Сумма неустойки",
     .steps = {kDaily}, .ownRate = "0,5", .eras = {{"10.08.2018", {}, "0,1"}},
     .fee = kAlimonyFee, .court = kGeneral},
    {.name = "consumer-23", .layout = PeriodCount::Contractual, .article = "ст. 23 Закона «О защите прав потребителей»",
     .title = "Неустойка продавца (ст. 23 ЗоЗПП)", .total = "Сумма неустойки",
     .steps = {kDaily}, .ownRate = "1", .windows = {kMoratorium2022}, .fee = kConsumerFee,
     .court = kGeneral, .fines = {kConsumerFine}},
    {.name = "consumer-23.1", .layout = PeriodCount::Contractual, .article = "п. 3 ст. 23.1 Закона «О защите прав потребителей»",
     .title = "Неустойка за непереданный предоплаченный товар (п. 3 ст. 23.1 ЗоЗПП)",
     .total = "Сумма неустойки", .steps = {kDaily}, .ownRate = "0,5",
     .windows = {kMoratorium2022}, .totalCap = "1", .fee = kConsumerFee, .court = kGeneral,
     .fines = {kConsumerFine}, .base = PresetBase::Chosen, .obligation = kPrepaidGoods},
    {.name = "consumer-28", .layout = PeriodCount::Contractual, .article = "п. 5 ст. 28 Закона «О защите прав потребителей»",
     .title = "Неустойка исполнителя (п. 5 ст. 28 ЗоЗПП)", .total = "Сумма неустойки",
     .steps = {kDaily}, .ownRate = "3", .windows = {kMoratorium2022}, .totalCap = "1",
     .fee = kConsumerFee, .court = kGeneral, .fines = {kConsumerFine}, .base = PresetBase::Chosen,
     .obligation = kWork},
    // Each portion paid at its payment day's rate, what is unpaid at the filing
    // date's ("на дату уплаты пени", ч. 5, 7 ст. 34 44-ФЗ; the Supreme
    // Court's review of 28.06.2017, p. 38).
    {.name = "procurement", .layout = PeriodCount::KeyFraction, .article = "ч. 5 ст. 34 Федерального закона № 44-ФЗ",
     .title = "Пени заказчика (ч. 5 ст. 34 44-ФЗ)", .total = "Сумма пеней",
     .steps = {{1, K::Fraction, 300}}, .rateDay = RateDay::Payment,
     .windows = {kMoratorium2022}, .court = kArbitration},
    {.name = "procurement-supplier", .layout = PeriodCount::KeyFraction, .article = "ч. 7 ст. 34 Федерального закона № 44-ФЗ",
     .title = "Пени поставщика (ч. 7 ст. 34 44-ФЗ)", .total = "Сумма пеней",
     .steps = {{1, K::Fraction, 300}}, .rateDay = RateDay::Payment,
     .windows = {kMoratorium2022}, .term = PresetTerm::FulfilledPart, .court = kArbitration,
     .base = PresetBase::NotOwed, .obligation = kSupply},
    {.name = "tax-person", .layout = PeriodCount::KeyFraction, .article = "ст. 75 НК РФ (физические лица и ИП)",
     .title = "Пени по налогам физических лиц и ИП", .total = "Сумма пеней",
     .steps = {{1, K::Fraction, 300}}, .windows = {kMoratorium2022}, .totalCap = "1",
     .court = kGeneral},
    // By the days' dates: 1/150 from day 31 before 09.03.2022, 1/300 throughout
    // to 31.12.2024, then 1/150 for days 31–90 only in 2025 and 2026.
    {.name = "tax-company", .layout = PeriodCount::KeyFraction, .article = "ст. 75 НК РФ (организации)",
     .title = "Пени по налогам организаций", .total = "Сумма пеней",
     .steps = {{1, K::Fraction, 300}, {31, K::Fraction, 150}}, .windows = {kMoratorium2022},
     .totalCap = "1",
     .eras = {{"09.03.2022", {{1, K::Fraction, 300}}},
              {"01.01.2025", {{1, K::Fraction, 300}, {31, K::Fraction, 150}, {91, K::Fraction, 300}}},
              {"01.01.2027", {{1, K::Fraction, 300}, {31, K::Fraction, 150}}}},
     .court = kArbitration},
    {.name = "resources-other", .layout = PeriodCount::KeyFraction,
     .article = "ч. 9.1 ст. 15 Федерального закона № 190-ФЗ и др. (прочие потребители)",
     .title = "Пени за энергоресурсы: прочие потребители", .total = "Сумма пеней",
     .steps = {{1, K::Fraction, 130}}, .rateDay = RateDay::Payment,
     .windows = {kMoratorium2022Bills}, .caps = {kBillsCap}, .capNote = kBillsCapNote,
     .monthlyBills = true, .court = kArbitration},
    {.name = "resources-managing", .layout = PeriodCount::KeyFraction,
     .article = "ч. 9.1 ст. 15 Федерального закона № 190-ФЗ и др. (управляющие организации)",
     .title = "Пени за энергоресурсы: управляющие организации", .total = "Сумма пеней",
     .steps = {{1, K::Fraction, 300}, {61, K::Fraction, 170}, {91, K::Fraction, 130}},
     .rateDay = RateDay::Payment, .windows = {kWindow2020, kMoratorium2022Bills},
     .caps = {kBillsCap}, .capNote = kBillsCapNote, .monthlyBills = true,
     .court = kArbitration},
    {.name = "resources-hoa", .layout = PeriodCount::KeyFraction,
     .article = "ч. 9.1 ст. 15 Федерального закона № 190-ФЗ и др. (ТСЖ, ЖК, ЖСК)",
     .title = "Пени за энергоресурсы: ТСЖ, ЖК, ЖСК", .total = "Сумма пеней",
     .steps = {{1, K::Nothing}, {31, K::Fraction, 300}, {91, K::Fraction, 130}},
     .rateDay = RateDay::Payment, .windows = {kWindow2020, kMoratorium2022Bills},
     .caps = {kBillsCap}, .capNote = kBillsCapNote, .monthlyBills = true,
     .court = kArbitration},
    // A citizen's penalty: 1/150 of the key rate of the day the flat was due,
    // a company's 1/300 (ч. 2 ст. 6 214-ФЗ).
    {.name = "construction", .layout = PeriodCount::KeyFraction, .article = kConstruction,
     .title = "Неустойка застройщика участнику-гражданину (ч. 2 ст. 6 214-ФЗ)",
     .total = "Сумма неустойки", .steps = {{1, K::Fraction, 150}}, .rateDay = RateDay::DueDay,
     .windows = {kConstructionWindows[0], kConstructionWindows[1], kConstructionWindows[2]},
     .caps = {kConstructionCaps[0], kConstructionCaps[1]}, .capNote = kConstructionCapNote,
     .fee = kConsumerFee, .court = kGeneral, .fines = {kConsumerFine, kConstructionFine},
     .base = PresetBase::NotOwed, .obligation = kFlat, .headingDueRate = true},
    {.name = "construction-company", .layout = PeriodCount::KeyFraction, .article = kConstruction,
     .title = "Неустойка застройщика участнику-организации (ч. 2 ст. 6 214-ФЗ)",
     .total = "Сумма неустойки", .steps = {{1, K::Fraction, 300}}, .rateDay = RateDay::DueDay,
     .windows = {kConstructionWindows[0], kConstructionWindows[1], kConstructionWindows[2]},
     .caps = {kConstructionCaps[0], kConstructionCaps[1]}, .capNote = kConstructionCapNote,
     .court = kArbitration, .base = PresetBase::NotOwed, .obligation = kFlat,
     .headingDueRate = true},
    // 1 % a day of the unpaid indemnity, in all at most the insured sum
    // (п. 21 ст. 12, п. 6 ст. 16.1 40-ФЗ); the fine is half the indemnity (п. 3 ст. 16.1).
    {.name = "osago", .layout = PeriodCount::Contractual, .article = "п. 21 ст. 12 Федерального закона № 40-ФЗ",
     .title = "Неустойка страховщика ОСАГО (п. 21 ст. 12 40-ФЗ)", .hint = "--insured-sum",
     .total = "Сумма неустойки",
     .steps = {kDaily}, .ownRate = "1", .windows = {kMoratorium2022},
     .totalCapAmount = "400000",
     .term = PresetTerm::InsuredSum, .fee = kConsumerFee, .court = kGeneral,
     .fines = {{"п. 3 ст. 16.1 Федерального закона № 40-ФЗ", 50, true}},
     .base = PresetBase::Chosen, .obligation = kIndemnity},
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

QDate dateOf(const char *text) {
    QDate d;
    parseDateText(QString::fromLatin1(text), d);
    return d;
}

// The engine's window: a scope by months holds the bills of months up to
// one, whose claims arose by that month's last day.
Window windowOf(const PresetWindow &w) {
    Window out{dateOf(w.from), dateOf(w.to), {}};
    if (w.scope == WindowScope::AroseBy) out.aroseBy = dateOf(w.scopeDate);
    if (w.scope == WindowScope::BillsUpTo)
        out.aroseBy =
            dateOf((QByteArray("01.") + w.scopeDate).constData()).addMonths(1).addDays(-1);
    return out;
}

// A row's law as the engine takes it, read once: its dates and numbers are
// text in the table.
struct RowLaw {
    CountRules rules;          // every window, whatever lifts it; no rate day yet
    QList<WindowSwitch> lifts; // each window's
    QDate oldBillsBefore;
    QList<Step> oldSteps;
};

// A row's law read into the engine's terms, every window with what lifts it.
RowLaw readLaw(const Preset &preset) {
    RowLaw law;
    CountRules &rules = law.rules;
    rules.steps = stepsOf(preset.steps);
    if (preset.ownRate) rules.ownRate = decimalOf(preset.ownRate);
    for (const PresetWindow &w : preset.windows)
        if (w.from) {
            rules.windows.append(windowOf(w));
            law.lifts.append(w.lifted);
        }
    for (const PresetCap &c : preset.caps)
        if (c.from)
            rules.caps.append({dateOf(c.from), dateOf(c.to), decimalOf(c.most), c.byRateDay});
    if (preset.totalCap) rules.totalCap = decimalOf(preset.totalCap);
    if (preset.totalCapAmount) {
        qint64 kopecks = 0;
        readKopecks(QString::fromLatin1(preset.totalCapAmount), kopecks);
        rules.totalCapKopecks = kopecks;
    }
    for (const PresetEra &e : preset.eras) {
        if (!e.from) break;
        Era era{dateOf(e.from), stepsOf(e.steps), {}};
        if (e.ownRate) era.ownRate = decimalOf(e.ownRate);
        rules.eras.append(era);
    }
    if (preset.oldBills.dueBefore) {
        law.oldBillsBefore = dateOf(preset.oldBills.dueBefore);
        law.oldSteps = stepsOf(preset.oldBills.steps);
    }
    return law;
}

std::deque<Preset> &rows() {
    static std::deque<Preset> all(std::begin(kPresets), std::end(kPresets));
    return all;
}

// Each row's law, by the row's place in `rows()`.
std::deque<RowLaw> &laws() {
    static std::deque<RowLaw> all = [] {
        std::deque<RowLaw> read;
        for (const Preset &p : rows())
            read.push_back(readLaw(p));
        return read;
    }();
    return all;
}

// A row of the table is read once; one made elsewhere, each time.
const RowLaw &lawOf(const Preset &preset) {
    const std::deque<Preset> &all = rows();
    for (size_t i = 0; i < all.size(); ++i)
        if (&all[i] == &preset) return laws()[i];
    thread_local RowLaw elsewhere;
    elsewhere = readLaw(preset);
    return elsewhere;
}

} // namespace

bool windowLiftable(const Preset &p, WindowSwitch lift) {
    for (const PresetWindow &w : p.windows)
        if (w.from && w.lifted == lift) return true;
    return false;
}

QList<Step> billSteps(const Preset &preset, QDate due) {
    const RowLaw &law = lawOf(preset);
    return law.oldBillsBefore.isValid() && due < law.oldBillsBefore ? law.oldSteps
                                                                    : law.rules.steps;
}

const Preset *presetOf(const PeriodInput &claim) {
    return presetNamed(claim.basis.isEmpty() ? countName(claim.count) : claim.basis);
}

Court courtFor(const PeriodInput &claim) {
    const Preset *p = presetOf(claim);
    if (!p || p->court == PresetCourt::Chosen) return claim.court;
    return p->court == PresetCourt::General ? Court::GeneralJurisdiction : Court::Arbitration;
}

const std::deque<Preset> &presets() {
    return rows();
}

bool addBasis(const Preset &row) {
    if (!row.name || presetNamed(QString::fromLatin1(row.name))) return false;
    laws(); // the table's own rows read first, each beside its law
    rows().push_back(row);
    laws().push_back(readLaw(row));
    return true;
}

QString basisNames(bool (*keep)(const Preset &)) {
    QStringList names;
    for (const Preset &p : presets())
        if (keep(p)) names << QString::fromLatin1(p.name);
    return names.join(QStringLiteral(", "));
}

const Preset *presetNamed(QStringView name) {
    for (const Preset &p : presets())
        if (name == QLatin1String(p.name)) return &p;
    return nullptr;
}

bool basisTakes(QStringView basis, PresetTerm term) {
    const Preset *p = basis.isEmpty() ? nullptr : presetNamed(basis);
    return p && p->term == term;
}

CountRules presetRules(const Preset &preset, QDate rateDate, bool moratorium, bool window2020) {
    const RowLaw &law = lawOf(preset);
    CountRules rules = law.rules;
    // The day the obligation was due is one date's rate, given as `rateDate`.
    rules.rateDay = preset.rateDay == RateDay::DueDay ? RateDay::OneDate : preset.rateDay;
    rules.rateDate = rateDate;
    if (!moratorium || !window2020) {
        rules.windows.clear();
        for (qsizetype i = 0; i < law.lifts.size(); ++i)
            if (!(law.lifts[i] == WindowSwitch::Moratorium2022 && !moratorium) &&
                !(law.lifts[i] == WindowSwitch::Window2020 && !window2020))
                rules.windows.append(law.rules.windows[i]);
    }
    return rules;
}

} // namespace calc
