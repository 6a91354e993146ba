// SPDX-License-Identifier: GPL-3.0-or-later
#include "claimfields.h"

#include "common/dates.h"
#include "decimal.h"
#include "inputfield.h"

#include <algorithm>

namespace calc {
namespace {

using K = FieldKind;
using F = ClaimField;

// In the order the help lists them; `ClaimField` is the index.
constexpr FieldInfo kFields[] = {
    {F::Debt,
     "debt",
     "долг",
     "--debt",
     "СУММА",
     K::Amount,
     0,
     0,
     0,
     {},
     "debt",
     "долг с налогом, например 100000,50 (по умолчанию 0,00)"},
    {F::From,
     "from",
     "начало",
     "--from",
     "дд.мм.гггг",
     K::Date,
     0,
     0,
     0,
     {},
     "start",
     "начало периода просрочки (по умолчанию сегодня)"},
    {F::To,
     "to",
     "конец",
     "--to",
     "дд.мм.гггг",
     K::Date,
     0,
     0,
     0,
     {},
     "end",
     "конец периода просрочки (по умолчанию сегодня)"},
    {F::Filed,
     "filed",
     "дата_подачи",
     "--filed",
     "дд.мм.гггг",
     K::Date,
     0,
     0,
     0,
     {},
     "filed",
     "дата подачи иска: по ней выбирается шкала госпошлины (по умолчанию сегодня)"},
    {F::Tax,
     "tax",
     "налог",
     "--tax",
     "N",
     K::Integer,
     kMinTax,
     kMaxTax,
     kDefaultTax,
     {},
     nullptr,
     "ставка налога, {low}–{high} (по умолчанию {default})"},
    {F::Court,
     "court",
     "суд",
     "--court",
     "arbitration|general",
     K::Choice,
     0,
     0,
     0,
     {"arbitration", "general"},
     "court",
     "арбитражный суд или суд общей юрисдикции (по умолчанию arbitration)"},
    {F::Mode,
     "mode",
     "режим",
     nullptr,
     "statutory|contractual",
     K::Choice,
     0,
     0,
     0,
     {"statutory", "contractual"},
     nullptr,
     "законная или договорная пеня",
     {{"--statutory", "statutory",
       "законная пеня: ставка рефинансирования / делитель (по умолчанию)"},
      {"--contractual", "contractual", "договорная пеня: ставка, % в день"}}},
    {F::Rate,
     "rate",
     "ставка",
     "--rate",
     "СТАВКА",
     K::Rate,
     0,
     0,
     0,
     {},
     nullptr,
     "законная пеня: ставка, % годовых (по умолчанию — из таблицы ставок на --to)"},
    {F::Divisor,
     "divisor",
     "делитель",
     "--divisor",
     "N",
     K::Integer,
     kMinDivisor,
     kMaxDivisor,
     0,
     {},
     nullptr,
     "законная пеня: делитель, {low}–{high} (по умолчанию — сохраненный в окне)"},
    {F::DailyRate,
     "daily_rate",
     "ставка_в_день",
     "--daily-rate",
     "СТАВКА",
     K::Rate,
     0,
     0,
     0,
     {},
     nullptr,
     "договорная пеня, % в день (по умолчанию — сохраненная в окне)"},
    {F::Periods,
     "periods",
     "по_периодам",
     nullptr,
     "yes|no",
     K::Choice,
     0,
     0,
     0,
     {"yes|да|1|true", "no|нет|0|false"},
     nullptr,
     "расчет по периодам: yes или no",
     {{"--periods", "yes", "расчет по периодам (ст. 395 ГК РФ) по таблице ставок"}}},
    {F::Payments,
     "payments",
     "оплаты",
     "--payment",
     "дд.мм.гггг=СУММА",
     K::List,
     0,
     0,
     0,
     {},
     "payments",
     "по периодам: оплата; можно повторять (в столбце — через \";\")"},
    {F::Increases,
     "increases",
     "увеличения",
     "--increase",
     "дд.мм.гггг=СУММА",
     K::List,
     0,
     0,
     0,
     {},
     "increases",
     "по периодам: увеличение долга (счет, просроченный с этого дня); можно повторять"},
    {F::PenaltyDaily,
     "penalty_daily",
     "неустойка_в_день",
     "--penalty-daily",
     "P",
     K::Rate,
     0,
     0,
     0,
     {},
     "daily_percent",
     "по периодам: вместо процентов — неустойка P% в день"},
    {F::KeyFraction,
     "key_fraction",
     "доля_ключевой",
     "--key-fraction",
     "N",
     K::Integer,
     kMinFraction,
     kMaxFraction,
     kDefaultFraction,
     {},
     "key_fraction",
     "по периодам: вместо процентов — пени 1/N ключевой ставки (N {low}–{high})"},
    {F::RateDate,
     "rate_date",
     "дата_ставки",
     "--rate-date",
     "дд.мм.гггг",
     K::Date,
     0,
     0,
     0,
     {},
     "rate_date",
     "с --key-fraction: по ставке этого дня (по умолчанию — каждого периода)"},
    {F::Moratorium,
     "moratorium",
     "мораторий",
     nullptr,
     "yes|no",
     K::Choice,
     0,
     0,
     0,
     {"yes|да|1|true", "no|нет|0|false"},
     "moratorium",
     "по периодам: учитывать мораторий {moratorium}: yes или no (по умолчанию yes)",
     {{"--no-moratorium", "no", "по периодам: не учитывать мораторий {moratorium}"}}},
};

constexpr bool indexedByField() {
    for (int i = 0; i < int(std::size(kFields)); ++i)
        if (int(kFields[i].field) != i) return false;
    return true;
}
static_assert(indexedByField() && std::size(kFields) == size_t(ClaimField::Moratorium) + 1);

bool isAsciiDigit(QChar c) {
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// Spreadsheets write 100 000,50 with a blank, a no-break space or a narrow
// no-break space between digit groups; they go before the field's rules.
QString withoutGroupSeparators(const QString &text) {
    const auto separator = [](QChar c) { return c == u' ' || c == u'\u00a0' || c == u'\u202f'; };
    if (std::none_of(text.cbegin(), text.cend(), separator)) return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool between =
            i > 0 && i + 1 < text.size() && isAsciiDigit(text[i - 1]) && isAsciiDigit(text[i + 1]);
        if (between && separator(text[i])) continue;
        out += text[i];
    }
    return out;
}

QDate readDate(const QString &name, const QString &text) {
    QDate d;
    if (!parseDateText(QStringView(text).trimmed(), d))
        throw FieldError{name, text, QStringLiteral("нужна дата дд.мм.гггг")};
    if (d < kEarliestDate)
        throw FieldError{
            name, text,
            QStringLiteral("даты раньше %1 не принимаются").arg(dateText(kEarliestDate))};
    return d;
}

Payment readEntry(const QString &name, const QString &text) {
    const qsizetype eq = text.indexOf(u'=');
    if (eq < 0) throw FieldError{name, text, QStringLiteral("нужна запись вида дд.мм.гггг=СУММА")};
    const QDate date = readDate(name, text.left(eq));
    return {date, normalisedAmount(readFieldNumber(name, text.mid(eq + 1), kAmountLength))};
}

// Which choice the text names, by any of its spellings, letter case aside;
// compared in place, since a batch reads a choice or two in every row.
int readChoice(const FieldInfo &info, const QString &name, const QString &text) {
    const QStringView t = QStringView(text).trimmed();
    // As written first (the common case, and cheap), then letter case aside.
    for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive})
        for (int i = 0; i < 2; ++i)
            for (const char *p = info.choices[i]; *p;) {
                const char *end = p;
                while (*end && *end != '|')
                    ++end;
                if (QAnyStringView::compare(t, QUtf8StringView(p, end), cs) == 0) return i;
                p = *end ? end + 1 : end;
            }
    const auto first = [&](int i) {
        return QString::fromUtf8(info.choices[i]).section(u'|', 0, 0);
    };
    throw FieldError{name, text, QStringLiteral("нужно %1 или %2").arg(first(0), first(1))};
}

} // namespace

std::span<const FieldInfo> claimFields() {
    return kFields;
}

const FieldInfo &fieldInfo(ClaimField field) {
    return kFields[int(field)];
}

QString fieldHelp(const char *help, const FieldInfo &info) {
    QString h = QString::fromUtf8(help);
    h.replace(QStringLiteral("{low}"), QString::number(info.low));
    h.replace(QStringLiteral("{high}"), QString::number(info.high));
    h.replace(QStringLiteral("{default}"), QString::number(info.byDefault));
    h.replace(QStringLiteral("{moratorium}"),
              dateText(kMoratoriumStart) + u'–' + dateText(kMoratoriumEnd));
    return h;
}

QString chargeableRateRule() {
    return QStringLiteral("ставка должна быть больше 0 и не больше %1").arg(kMaxRatePercent);
}

QString readFieldNumber(const QString &name, const QString &text, int limit) {
    QString typed;
    switch (readTypedNumber(withoutGroupSeparators(text), limit, typed)) {
    case TypedNumber::Ok:
        return typed;
    case TypedNumber::BadCharacter:
        throw FieldError{name, text, QStringLiteral("допустимы только цифры и десятичная запятая")};
    case TypedNumber::Empty:
        throw FieldError{name, text, QStringLiteral("пустое число")};
    case TypedNumber::TooLong:
        throw FieldError{name, text, QStringLiteral("не больше %1 знаков").arg(limit)};
    case TypedNumber::NotANumber:
        break;
    }
    throw FieldError{name, text, QStringLiteral("это не число")};
}

FieldValue readField(const FieldInfo &info, const QString &text, const QString &name) {
    FieldValue v;
    switch (info.kind) {
    case FieldKind::Amount:
        v.text = normalisedAmount(readFieldNumber(name, text, kAmountLength));
        break;
    case FieldKind::Rate:
        v.text = normalisedNumber(readFieldNumber(name, text, kRateLength), QStringLiteral("0"));
        // The statutory rate is charged as a table's rate would be; the text
        // is plain decimal now, read exactly.
        if (info.field == ClaimField::Rate) {
            Decimal rate;
            if (!readDecimal(v.text, kMaxRateDigits, rate) || !isChargeableRate(rate))
                throw FieldError{name, text, chargeableRateRule()};
        }
        break;
    case FieldKind::Date:
        v.date = readDate(name, text);
        break;
    case FieldKind::Integer: {
        bool ok = false;
        v.number = QStringView(text).trimmed().toInt(&ok);
        if (!ok || v.number < info.low || v.number > info.high)
            throw FieldError{
                name, text,
                QStringLiteral("нужно целое число от %1 до %2").arg(info.low).arg(info.high)};
        break;
    }
    case FieldKind::Choice:
        v.number = readChoice(info, name, text);
        break;
    case FieldKind::List:
        for (const QString &entry : text.split(u';', Qt::SkipEmptyParts))
            if (!entry.trimmed().isEmpty()) v.entries.append(readEntry(name, entry.trimmed()));
        if (const QString many = entryCountProblem(v.entries.size()); !many.isEmpty())
            throw FieldError{name, text, many, true};
        break;
    }
    return v;
}

QString entryCountProblem(qsizetype count) {
    if (count <= kMaxEntries) return QString();
    return QStringLiteral("оплат и увеличений долга %1, а в одном расчете их может быть не "
                          "больше %2")
        .arg(count)
        .arg(kMaxEntries);
}

} // namespace calc
