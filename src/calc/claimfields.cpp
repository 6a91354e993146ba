// SPDX-License-Identifier: GPL-3.0-or-later
#include "claimfields.h"

#include "common/dates.h"
#include "decimal.h"
#include "inputfield.h"
#include "presets.h"
#include "userwindows.h"

#include <algorithm>
#include <iterator>

namespace calc {
namespace {

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

// "дд.мм.гггг", or with `month` "мм.гггг" as the month's first day.
QDate readDate(const QString &name, const QString &text, bool month = false) {
    QDate d;
    const QString trimmed = text.trimmed();
    const bool isoMonth = month && trimmed.size() == 7 && trimmed[4] == u'-';
    if (!parseDayText(!month     ? trimmed
                      : isoMonth ? trimmed + QStringLiteral("-01")
                                 : QStringLiteral("01.") + trimmed,
                      d))
        throw FieldError{name, text,
                         month ? QStringLiteral("нужен месяц мм.гггг или гггг-мм")
                               : QStringLiteral("нужна дата дд.мм.гггг или гггг-мм-дд")};
    if (d < kEarliestDate)
        throw FieldError{
            name, text,
            QStringLiteral("даты раньше %1 не принимаются").arg(dateText(kEarliestDate))};
    return d;
}

// "дд.мм.гггг=СУММА" with what may follow the amount by the field: an
// increase's "/дд.мм.гггг" (the day its claim arose), a payment's "@мм.гггг"
// (the month it pays); a charge is "мм.гггг=СУММА".
Payment readEntry(const QString &name, const QString &text, ClaimField field) {
    const qsizetype eq = text.indexOf(u'=');
    const bool charge = field == ClaimField::Charges;
    if (eq < 0)
        throw FieldError{name, text,
                         charge ? QStringLiteral("нужна запись вида мм.гггг=СУММА")
                                : QStringLiteral("нужна запись вида дд.мм.гггг=СУММА")};
    const QDate date = charge ? readDate(name, text.left(eq), true) : readDate(name, text.left(eq));
    const QChar mark = field == ClaimField::Increases ? u'/' : u'@';
    const qsizetype after = field == ClaimField::Increases || field == ClaimField::Payments
                                ? text.indexOf(mark, eq)
                                : -1;
    const QString amount = after < 0 ? text.mid(eq + 1) : text.mid(eq + 1, after - eq - 1);
    Payment p{date, normalisedAmount(readFieldNumber(name, amount, kAmountLength))};
    if (after >= 0 && mark == u'/') p.arose = readDate(name, text.mid(after + 1));
    if (after >= 0 && mark == u'@') p.month = readDate(name, text.mid(after + 1), true);
    return p;
}

// Which choice the text names, by any of its spellings, letter case aside;
// compared in place, since a batch reads a choice or two in every row.
int readChoice(const FieldInfo &info, const QString &name, const QString &text) {
    const QStringView t = QStringView(text).trimmed();
    // As written first (the common case, and cheap), then letter case aside.
    for (Qt::CaseSensitivity cs : {Qt::CaseSensitive, Qt::CaseInsensitive})
        for (int i = 0; i < int(std::size(info.choices)) && info.choices[i]; ++i)
            for (const char *p = info.choices[i]; *p;) {
                const char *end = p;
                while (*end && *end != '|')
                    ++end;
                if (QAnyStringView::compare(t, QUtf8StringView(p, end), cs) == 0) return i;
                p = *end ? end + 1 : end;
            }
    QStringList names; // each choice by its first spelling
    for (const char *choice : info.choices)
        if (choice) names << QString::fromUtf8(choice).section(u'|', 0, 0);
    const QString last = names.takeLast();
    throw FieldError{name, text,
                     QStringLiteral("нужно %1 или %2").arg(names.join(QStringLiteral(", ")), last)};
}

// A legal basis by its name, letter case aside.
QString readBasis(const QString &name, const QString &text) {
    const QString t = text.trimmed().toLower();
    if (presetNamed(t)) return t;
    QStringList names;
    for (const Preset &p : presets())
        names << QString::fromLatin1(p.name);
    throw FieldError{name, text, QStringLiteral("нужно одно из: %1").arg(names.join(u", "))};
}

} // namespace

QString countName(PeriodCount count) {
    for (const Preset &p : presets())
        if (p.ownButton && p.layout == count) return QString::fromLatin1(p.name);
    return {};
}

PeriodCount countOfBasis(const QString &name, QString &basis) {
    const Preset *preset = presetNamed(name);
    basis = preset && preset->ownButton ? QString() : name;
    return preset ? preset->layout : PeriodCount::Statutory;
}

QString fieldHelp(const char *help, const FieldInfo &info) {
    QString h = QString::fromUtf8(help);
    h.replace(QStringLiteral("{low}"), QString::number(info.low));
    h.replace(QStringLiteral("{high}"), QString::number(info.high));
    h.replace(QStringLiteral("{default}"), QString::number(info.byDefault));
    h.replace(QStringLiteral("{moratorium}"),
              dateText(kMoratoriumStart) + u'–' + dateText(kMoratoriumEnd));
    if (h.contains(QStringLiteral("{bases}"))) {
        // Every row of the table, as --basis names it.
        QStringList bases;
        for (const Preset &p : presets())
            bases << QString::fromLatin1(p.name) +
                         (p.hint ? QStringLiteral(" (%1)").arg(QString::fromUtf8(p.hint))
                                 : QString());
        h.replace(QStringLiteral("{bases}"), bases.join(QStringLiteral(", ")));
    }
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
        if (info.field == ClaimField::Basis) {
            v.text = readBasis(name, text);
            break;
        }
        v.number = readChoice(info, name, text);
        break;
    case FieldKind::Spans:
        for (const QString &entry : text.split(u';', Qt::SkipEmptyParts)) {
            if (entry.trimmed().isEmpty()) continue;
            DaySpan span;
            if (!readDaySpan(entry, span) || span.from < kEarliestDate)
                throw FieldError{name, entry.trimmed(),
                                 QStringLiteral("нужна запись вида дд.мм.гггг-дд.мм.гггг")};
            v.spans.append(span);
        }
        if (v.spans.size() > kMaxUserWindows)
            throw FieldError{
                name, text,
                QStringLiteral("периодов без начисления больше %1").arg(kMaxUserWindows), true};
        break;
    case FieldKind::Text:
        v.text = text.trimmed();
        if (const QString wrong = partyTextProblem(v.text); !wrong.isEmpty())
            throw FieldError{name, {}, wrong, true};
        break;
    case FieldKind::List:
        for (const QString &entry : text.split(u';', Qt::SkipEmptyParts))
            if (!entry.trimmed().isEmpty())
                v.entries.append(readEntry(name, entry.trimmed(), info.field));
        if (const QString many = entryCountProblem(v.entries.size()); !many.isEmpty())
            throw FieldError{name, text, many, true};
        break;
    }
    return v;
}

QString partyTextProblem(const QString &text) {
    if (text.size() > kMaxPartyText)
        return QStringLiteral("длиннее %1 знаков").arg(kMaxPartyText);
    for (QChar c : text)
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("управляющий символ (код %1) — нужна одна строка текста")
                .arg(c.unicode());
    return {};
}

QString entryCountProblem(qsizetype count, const QString &what) {
    if (count <= kMaxEntries) return QString();
    return QStringLiteral("%1 %2, а в одном расчете их может быть не больше %3")
        .arg(what.isEmpty() ? QStringLiteral("оплат и увеличений долга") : what)
        .arg(count)
        .arg(kMaxEntries);
}

} // namespace calc
