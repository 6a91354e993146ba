// SPDX-License-Identifier: GPL-3.0-or-later
#include "pastedrows.h"

#include "claimfields.h"
#include "common/dates.h"
#include "housing.h"
#include "inputfield.h"

#include <QRegularExpression>
#include <algorithm>

namespace calc {
namespace {

constexpr qsizetype kMaxPastedChars = 10 * 1024 * 1024;

// The line's fields, trimmed, the empty ones left out.
QStringList fieldsOf(QStringView line) {
    static const QRegularExpression between(QStringLiteral("\\t|;| {2,}"));
    QStringList fields;
    for (const QString &field : line.toString().replace(QChar(0xa0), u' ').split(between)) {
        if (const QString f = field.trimmed(); !f.isEmpty()) fields.append(f);
    }
    return fields;
}

// An amount as the amount field takes it when typed ("2 500,50" → "2500,5"
// → "2500,50"); one that is no number stays as written, for the rule to name.
QString asTyped(QString amount) {
    amount.remove(u' ');
    QString typed;
    if (readTypedNumber(amount, kAmountLength, typed) != TypedNumber::Ok) return amount;
    return normalisedAmount(typed);
}

} // namespace

PastedRows readPastedRows(QStringView text) {
    PastedRows pasted;
    if (text.size() > kMaxPastedChars) {
        pasted.problem = QStringLiteral("вставленный текст длиннее 10 МБ");
        return pasted;
    }
    // Counted before the lines are cut apart: a million of them would cost
    // their views' memory for nothing.
    if (const qsizetype count = text.count(u'\n') + 1; count > kMaxEntries + 1) {
        pasted.problem = QStringLiteral("во вставленном тексте %1 строк, а в расчете может быть "
                                        "не больше %2 записей")
                             .arg(count)
                             .arg(kMaxEntries);
        return pasted;
    }
    const QList<QStringView> lines = text.split(u'\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QStringList fields = fieldsOf(lines[i].trimmed());
        if (fields.isEmpty()) continue;
        PastedRow row{int(i + 1), {}, fields.last()};
        if (fields.size() < 2)
            pasted.refused.append({row.line, QStringLiteral("нужны дата и сумма")});
        else if (!parseDayText(fields.first(), row.date))
            pasted.refused.append(
                {row.line, QStringLiteral("\"%1\" — не дата").arg(fields.first())});
        else
            pasted.rows.append(row);
    }
    return pasted;
}

QStringList PastedRows::refusedLines() const {
    QStringList lines;
    for (const auto &[line, why] : refused)
        lines << QStringLiteral("строка %1: %2").arg(line).arg(why);
    return lines;
}

QList<Payment> pastedPayments(PastedRows &pasted, bool housing, QDate start, QDate end) {
    QList<Payment> payments;
    for (const PastedRow &row : std::as_const(pasted.rows)) {
        const Payment payment{row.date, asTyped(row.amount)};
        const QString problem = housing
                                    ? housingEntryProblem(payment, false)
                                    : periodEntryProblem(payment, start, end, PeriodRow::Payment);
        if (problem.isEmpty())
            payments.append(payment);
        else
            pasted.refused.append({row.line, problem});
    }
    std::stable_sort(pasted.refused.begin(), pasted.refused.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    return payments;
}

} // namespace calc
