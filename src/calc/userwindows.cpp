// SPDX-License-Identifier: GPL-3.0-or-later
#include "userwindows.h"

#include "common/apperror.h"
#include "common/dates.h"

#include <algorithm>

namespace calc {
namespace {

QString spanWords(const DaySpan &span) {
    return dateText(span.from) + QStringLiteral("–") + dateText(span.to);
}

} // namespace

// ISO dates hold hyphens themselves: the pair splits at the hyphen or dash
// with a date on either side.
bool readDaySpan(QStringView text, DaySpan &span) {
    text = text.trimmed();
    for (qsizetype at = 0; at < text.size(); ++at) {
        if (text[at] != u'-' && text[at] != u'–' && text[at] != u'—') continue;
        DaySpan read;
        if (parseDayText(text.left(at).trimmed().toString(), read.from) &&
            parseDayText(text.mid(at + 1).trimmed().toString(), read.to)) {
            span = read;
            return true;
        }
    }
    return false;
}

QString daySpanText(const DaySpan &span) {
    return dateText(span.from) + u'-' + dateText(span.to);
}

void checkUserWindows(const QList<DaySpan> &windows, QDate first, QDate last) {
    if (windows.size() > kMaxUserWindows)
        throw AppError(QStringLiteral("Периодов без начисления %1, а в одном расчете их может быть "
                                      "не больше %2")
                           .arg(windows.size())
                           .arg(kMaxUserWindows));
    QList<DaySpan> sorted = windows;
    std::sort(sorted.begin(), sorted.end(),
              [](const DaySpan &a, const DaySpan &b) { return a.from < b.from; });
    for (qsizetype i = 0; i < sorted.size(); ++i) {
        const DaySpan &w = sorted[i];
        if (!w.from.isValid() || !w.to.isValid() || w.to < w.from)
            throw AppError(
                QStringLiteral("Период без начисления %1: конец раньше начала").arg(spanWords(w)));
        if (w.to < first || w.from > last)
            throw AppError(QStringLiteral("Период без начисления %1 лежит вне расчета (с %2 по %3)")
                               .arg(spanWords(w), dateText(first), dateText(last)));
        if (i > 0 && w.from <= sorted[i - 1].to)
            throw AppError(QStringLiteral("Периоды без начисления %1 и %2 пересекаются")
                               .arg(spanWords(sorted[i - 1]), spanWords(w)));
    }
}

void addUserWindows(const QList<DaySpan> &windows, CountRules &rules) {
    for (const DaySpan &w : windows)
        rules.windows.append({w.from, w.to, {}, true});
}

QString windowPhrase(const PeriodRow &row, const QString &noun, qint64 held) {
    if (row.byUser) return QStringLiteral("без начисления (указано пользователем)");
    return moratoriumPhrase(noun, held);
}

} // namespace calc
