// SPDX-License-Identifier: GPL-3.0-or-later
#include "penalty.h"

#include "common/apperror.h"
#include "common/dates.h"
#include "numtext.h"

#include <cmath>

namespace calc {

DateParts decodeDates(QDate start, QDate end) {
    auto part = [](int v) { return static_cast<quint16>(v); };
    return {part(start.year()), part(start.month()), part(start.day()),
            part(end.year()),   part(end.month()),   part(end.day())};
}

qint32 dayCount(const DateParts &p) {
    const qint32 n = (qint32(p.endYear) - qint32(p.startYear)) * 360 +
                     (qint32(p.endMonth) - qint32(p.startMonth)) * 30 +
                     (qint32(p.endDay) - qint32(p.startDay)) + 1;
    return n < 0 ? 0 : n;
}

CalcResult calculate(const CalcInput &in) {
    CalcResult r;
    // The period text starts with a Latin "c": claims already filed quote these
    // lines, and a search for them must find old and new reports alike.
    const QString period = QStringLiteral("c ") + dateText(in.start) + QStringLiteral(" по ") +
                           dateText(in.end) + QStringLiteral(" = ");
    r.days = dayCount(decodeDates(in.start, in.end));

    const long double debt = readNumber(in.debtText);
    // The debt is typed with its tax: the tax inside it is D × t / (100 + t).
    const long double taxPercent = in.taxPercent;
    r.tax = static_cast<double>((debt * taxPercent) / (100 + taxPercent));

    QString formula = in.debtText + QStringLiteral(" * ") + QString::number(r.days);
    QString rateLine;
    if (in.statutory) {
        rateLine = QStringLiteral("Ставка рефинансирования: ") + in.refinancingText + u'%';
        const long double divisor100 = readNumber(in.divisorText) * 100;
        formula += QStringLiteral(" * ") + in.refinancingText + QStringLiteral(" / ") +
                   generalForm(divisor100);
        const long double rate = readNumber(in.refinancingText);
        r.interest = static_cast<double>(((debt * r.days) * rate) / divisor100);
    } else {
        rateLine = QStringLiteral("Размер договорной пени: ") + in.contractText + u'%';
        formula += QStringLiteral(" * ") + in.contractText + QStringLiteral(" / 100");
        const long double rate = readNumber(in.contractText);
        r.interest = static_cast<double>(((debt * r.days) * rate) / 100);
    }
    r.total = static_cast<double>(debt + static_cast<long double>(r.interest));
    r.fee = courtFee(r.total, in.court, feeScaleFor(in.filed));
    // A claim never shows "INF" or "NAN": amounts past what a double holds
    // (a pasted "1E308" over a divisor of 1) are refused as a whole.
    for (double amount : {r.tax, r.interest, r.total, r.fee})
        if (!std::isfinite(amount))
            throw AppError(QStringLiteral("Сумма слишком велика для расчета"));

    const QString interest = amountForm(r.interest);
    r.interestText = interest;
    r.totalText = amountForm(r.total);
    r.feeText = amountForm(r.fee);
    r.lines = {
        QStringLiteral("Период просрочки: ") + period + QString::number(r.days) +
            QStringLiteral(" дн."),
        rateLine,
        // "Cумма" starts with a Latin "C", for the same reason as the period line.
        QStringLiteral("Cумма долга: ") + in.debtText +
            QStringLiteral(" руб., в том числе налог ") + QString::number(in.taxPercent) +
            QStringLiteral("%: ") + amountForm(r.tax) + QStringLiteral(" руб."),
        QStringLiteral("Сумма процентов: ") + formula + QStringLiteral(" = ") + interest +
            QStringLiteral(" руб."),
        QStringLiteral("ИТОГО: ") + in.debtText + QStringLiteral(" + ") + interest +
            QStringLiteral(" = ") + r.totalText + QStringLiteral(" руб."),
        QStringLiteral("Государственная пошлина: ") + r.feeText + QStringLiteral(" руб."),
    };
    return r;
}

} // namespace calc
