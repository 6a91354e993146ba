// SPDX-License-Identifier: GPL-3.0-or-later
// The table of claim fields: columns, option, kind, limits, saved key, help.
#include "claimfields.h"

namespace calc {
namespace {

using K = FieldKind;
using F = ClaimField;

// In the order the help lists them; `ClaimField` is the index.
constexpr FieldInfo kFields[] = {
    // clang-format off
    {F::Debt, "debt", "долг", "--debt", "СУММА", K::Amount, 0, 0, 0, {}, "debt",
     "долг с налогом, например 100000,50 (по умолчанию 0,00)"},
    {F::From, "from", "начало", "--from", "дд.мм.гггг", K::Date, 0, 0, 0, {}, "start",
     "начало периода просрочки (по умолчанию сегодня)"},
    {F::To, "to", "конец", "--to", "дд.мм.гггг", K::Date, 0, 0, 0, {}, "end",
     "конец периода просрочки (по умолчанию сегодня)"},
    {F::Filed, "filed", "дата_подачи", "--filed", "дд.мм.гггг", K::Date, 0, 0, 0, {}, "filed",
     "дата подачи иска: по ней выбирается шкала госпошлины (по умолчанию сегодня)"},
    {F::Tax, "tax", "налог", "--tax", "N", K::Integer, kMinTax, kMaxTax, 0, {}, nullptr,
     "ставка налога, {low}–{high} (по умолчанию — ставка НДС в первый день периода)"},
    {F::Court, "court", "суд", "--court", "arbitration|general", K::Choice,
     0, 0, 0, {"arbitration", "general"}, "court",
     "арбитражный суд или суд общей юрисдикции (по умолчанию arbitration)"},
    {F::Mode, "mode", "режим", nullptr, "statutory|contractual", K::Choice,
     0, 0, 0, {"statutory", "contractual"}, nullptr,
     "законная или договорная пеня",
     {{"--statutory", "statutory",
     "законная пеня: ставка рефинансирования / делитель (по умолчанию)"},
     {"--contractual", "contractual", "договорная пеня: ставка, % в день"}}},
    {F::Rate, "rate", "ставка", "--rate", "СТАВКА", K::Rate, 0, 0, 0, {}, nullptr,
     "законная пеня: ставка, % годовых (по умолчанию — из таблицы ставок на --to)"},
    {F::Divisor, "divisor", "делитель", "--divisor", "N", K::Integer,
     kMinDivisor, kMaxDivisor, 0, {}, nullptr,
     "законная пеня: делитель, {low}–{high} (по умолчанию — сохраненный в окне)"},
    {F::DailyRate, "daily_rate", "ставка_в_день", "--daily-rate", "СТАВКА", K::Rate,
     0, 0, 0, {}, nullptr,
     "договорная пеня, % в день (по умолчанию — сохраненная в окне)"},
    {F::Periods, "periods", "по_периодам", nullptr, "yes|no", K::Choice,
     0, 0, 0, {"yes|да|1|true", "no|нет|0|false"}, nullptr,
     "расчет по периодам: yes или no",
     {{"--periods", "yes", "расчет по периодам (ст. 395 ГК РФ) по таблице ставок"}}},
    {F::Payments, "payments", "оплаты", "--payment", "дд.мм.гггг=СУММА[@мм.гггг]", K::List,
     0, 0, 0, {}, "payments",
     "по периодам: оплата (для ЖКУ после \"@\" — месяц, за который она); можно повторять (в "
     "столбце — через \";\")"},
    {F::Increases, "increases", "увеличения", "--increase", "дд.мм.гггг=СУММА[/дд.мм.гггг]",
     K::List, 0, 0, 0, {}, "increases",
     "по периодам: увеличение долга (счет, просроченный с этого дня; после \"/\" — день, "
     "когда он возник, для моратория); можно повторять"},
    {F::PenaltyDaily, "penalty_daily", "неустойка_в_день", "--penalty-daily", "P", K::Rate,
     0, 0, 0, {}, "daily_percent",
     "по периодам: вместо процентов — неустойка P% в день"},
    {F::KeyFraction, "key_fraction", "доля_ключевой", "--key-fraction", "N", K::Integer,
     kMinFraction, kMaxFraction, kDefaultFraction, {}, "key_fraction",
     "по периодам: вместо процентов — пени 1/N ключевой ставки (N {low}–{high}); с --basis "
     "wages — большая доля по договору (N меньше 150)"},
    {F::RateDate, "rate_date", "дата_ставки", "--rate-date", "дд.мм.гггг", K::Date,
     0, 0, 0, {}, "rate_date",
     "с --key-fraction: по ставке этого дня (по умолчанию — каждого периода); для ЖКУ с "
     "--rate-day date — день ставки (по умолчанию — --filed)"},
    {F::Moratorium, "moratorium", "мораторий", nullptr, "yes|no", K::Choice,
     0, 0, 0, {"yes|да|1|true", "no|нет|0|false"}, "moratorium",
     "по периодам: учитывать мораторий {moratorium}: yes или no (по умолчанию yes)",
     {{"--no-moratorium", "no", "по периодам: не учитывать мораторий {moratorium}"}}},
    {F::Arose, "arose", "возникло", "--arose", "дд.мм.гггг", K::Date, 0, 0, 0, {}, "arose",
     "по периодам: день, когда возник долг, для моратория (по умолчанию — --from)"},
    {F::Basis, "basis", "основание", "--basis", "ОСНОВАНИЕ", K::Choice, 0, 0, 0, {}, nullptr,
     "расчет по периодам по основанию: {bases}"},
    {F::Charges, "charges", "начисления", "--charge", "мм.гггг=СУММА", K::List,
     0, 0, 0, {}, "charges",
     "ЖКУ: начислено за месяц; можно повторять (в столбце — через \";\")"},
    {F::RateDay, "rate_day", "день_ставки", "--rate-day", "payment|date|periods", K::Choice,
     0, 0, 0, {"payment|оплата|оплаты", "date|дата", "periods|периоды"}, "rate_day",
     "ЖКУ: ставка на день каждой оплаты (по умолчанию), на одну дату (--rate-date) или "
     "каждого периода"},
    {F::DueDay, "due_day", "день_оплаты", "--due-day", "N", K::Integer, 1, 31, 0, {}, "due_day",
     "ЖКУ: день следующего месяца, до которого вносится плата, {low}–{high} (по умолчанию — "
     "по закону: 10-е, со счета за февраль 2026 года — 15-е)"},
    {F::Shift, "shift", "перенос", nullptr, "yes|no", K::Choice,
     0, 0, 0, {"yes|да|1|true", "no|нет|0|false"}, "shift",
     "ЖКУ: срок оплаты в выходной переносится на рабочий день: yes или no (по умолчанию yes)",
     {{"--no-shift", "no", "ЖКУ: не переносить срок оплаты с выходного дня"}}},
    {F::Moratorium2020, "moratorium_2020", "мораторий_2020", nullptr, "yes|no", K::Choice,
     0, 0, 0, {"yes|да|1|true", "no|нет|0|false"}, "moratorium_2020",
     "ЖКУ: без пеней с 06.04.2020 по 31.12.2020: yes или no (по умолчанию yes)",
     {{"--no-moratorium-2020", "no", "ЖКУ: начислять пени и с 06.04.2020 по 31.12.2020"}}},
    {F::CourtOrder, "court_order", "судебный_приказ", nullptr, "yes|no", K::Choice,
     0, 0, 0, {"yes|да|1|true", "no|нет|0|false"}, "court_order",
     "по периодам: заявление о выдаче судебного приказа (госпошлина — половина): yes или no",
     {{"--court-order", "yes",
     "по периодам: заявление о выдаче судебного приказа — половина госпошлины иска"}}},
    {F::CapPercent, "cap_percent", "предел_процентов", "--cap-percent", "P", K::Rate,
     0, 0, 0, {}, "cap_percent",
     "договорная неустойка (--basis contract): не более P% долга"},
    {F::Cap, "cap", "предел", "--cap", "СУММА", K::Amount, 0, 0, 0, {}, "cap",
     "договорная неустойка (--basis contract): не более СУММЫ руб."},
    {F::Fulfilled, "fulfilled", "исполнено", "--fulfilled", "СУММА", K::Amount,
     0, 0, 0, {}, "fulfilled",
     "пени поставщика (--basis procurement-supplier): исполнено по контракту до просрочки, "
     "пени — на цену за вычетом этой суммы"},
    {F::FeeExemption, "fee_exemption", "льгота_по_госпошлине", nullptr, "yes|no", K::Choice,
     0, 0, 0, {"yes|да|1|true", "no|нет|0|false"}, "fee_exemption",
     "по периодам: льгота по госпошлине (ст. 333.36 НК РФ): yes или no (по умолчанию yes)",
     {{"--no-fee-exemption", "no", "по периодам: госпошлина без льготы ст. 333.36 НК РФ"}}},
    {F::Windows, "windows", "без_начисления", "--window", "дд.мм.гггг-дд.мм.гггг", K::Spans,
     0, 0, 0, {}, "windows",
     "по периодам: дни, в которые ничего не начисляется ни по какому основанию (постановление, "
     "которого программа еще не знает, решение суда); можно повторять (в столбце — через \";\")"},
    {F::InsuredSum, "insured_sum", "страховая_сумма", "--insured-sum", "СУММА", K::Amount,
     0, 0, 0, {}, "insured_sum",
     "неустойка страховщика ОСАГО (--basis osago): не более страховой суммы (по умолчанию "
     "400000; за вред жизни и здоровью — 500000)"},
    {F::Continuing, "continuing", "и_далее", nullptr, "yes|no", K::Choice,
     0, 0, 0, {"yes|да|1|true", "no|нет|0|false"}, "continuing",
     "по периодам: строка \"и далее по день фактической оплаты долга\": yes или no (по "
     "умолчанию yes)",
     {{"--no-continuing", "no", "по периодам: без строки \"и далее по день фактической оплаты\""}}},
    {F::ClaimBase, "claim_base", "взыскать_основной_долг", "--claim-base", "yes|no", K::Choice,
     0, 0, 0, {"yes|да|1|true", "no|нет|0|false"}, "claim_base",
     "по периодам: взыскать и то, на что начислена неустойка (предоплату, цену, страховое "
     "возмещение), или только неустойку: yes или no (по умолчанию yes); для оснований "
     "consumer-23.1, consumer-28, osago"},
    // The parties and the court: words for the papers, no part of a count.
    {F::Claimant, "claimant", "взыскатель", "--claimant", "ТЕКСТ", K::Text, 0, 0, 0, {},
     "claimant", "документы: взыскатель (истец) — наименование или ФИО"},
    {F::ClaimantAddress, "claimant_address", "адрес_взыскателя", "--claimant-address", "ТЕКСТ",
     K::Text, 0, 0, 0, {}, "claimant_address", "документы: адрес взыскателя"},
    {F::ClaimantId, "claimant_id", "данные_взыскателя", "--claimant-id", "ТЕКСТ", K::Text,
     0, 0, 0, {}, "claimant_id", "документы: ИНН, ОГРН или паспортные данные взыскателя"},
    {F::Debtor, "debtor", "должник", "--debtor", "ТЕКСТ", K::Text, 0, 0, 0, {}, "debtor",
     "документы: должник (ответчик) — наименование или ФИО"},
    {F::DebtorAddress, "debtor_address", "адрес_должника", "--debtor-address", "ТЕКСТ",
     K::Text, 0, 0, 0, {}, "debtor_address", "документы: адрес должника"},
    {F::DebtorId, "debtor_id", "данные_должника", "--debtor-id", "ТЕКСТ", K::Text,
     0, 0, 0, {}, "debtor_id", "документы: ИНН, ОГРН или паспортные данные должника"},
    {F::DebtorBorn, "debtor_born", "дата_и_место_рождения", "--debtor-born", "ТЕКСТ", K::Text,
     0, 0, 0, {}, "debtor_born",
     "документы: дата и место рождения должника-гражданина (для судебного приказа)"},
    {F::Ground, "ground", "основание_требования", "--ground", "ТЕКСТ", K::Text, 0, 0, 0, {},
     "ground", "документы: основание требования, например \"договор поставки № 15 от "
     "10.01.2024\""},
    {F::CourtName, "court_name", "наименование_суда", "--court-name", "ТЕКСТ", K::Text,
     0, 0, 0, {}, "court_name",
     "документы: суд, как его называет шапка документа: \"В Арбитражный суд Тульской "
     "области\", \"Мировому судье судебного участка № 5 …\""},
    {F::CourtAddress, "court_address", "адрес_суда", "--court-address", "ТЕКСТ", K::Text,
     0, 0, 0, {}, "court_address", "документы: адрес суда"},
    // clang-format on
};

constexpr bool indexedByField() {
    for (int i = 0; i < int(std::size(kFields)); ++i)
        if (int(kFields[i].field) != i) return false;
    return true;
}
static_assert(indexedByField() && std::size(kFields) == kClaimFieldCount);

} // namespace

std::span<const FieldInfo> claimFields() {
    return kFields;
}

const FieldInfo &fieldInfo(ClaimField field) {
    return kFields[int(field)];
}

QString *partyText(Parties &p, ClaimField field) {
    switch (field) {
    case F::Claimant: return &p.claimant;
    case F::ClaimantAddress: return &p.claimantAddress;
    case F::ClaimantId: return &p.claimantId;
    case F::Debtor: return &p.debtor;
    case F::DebtorAddress: return &p.debtorAddress;
    case F::DebtorId: return &p.debtorId;
    case F::DebtorBorn: return &p.debtorBorn;
    case F::Ground: return &p.ground;
    case F::CourtName: return &p.courtName;
    case F::CourtAddress: return &p.courtAddress;
    default: return nullptr;
    }
}

} // namespace calc
