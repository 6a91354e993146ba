// SPDX-License-Identifier: GPL-3.0-or-later
// The housing penalty's report, bill by bill.
#define QT_USE_QSTRINGBUILDER
#include "housing.h"

#include "common/dates.h"
#include "decimal.h"

namespace calc {

QString billPhrase(const PeriodRow &row, QString (*money)(qint64)) {
    switch (row.kind) {
    case PeriodRow::Bill:
        return QStringLiteral("Начислено за ") % monthText(row.from) % QStringLiteral(": ") %
               money(row.amount) % QStringLiteral(" руб., срок оплаты ") % dateText(row.to);
    case PeriodRow::Advance:
        return QStringLiteral("зачтено из переплаты ") % dateText(row.from) % QStringLiteral(": ") %
               money(row.amount) % QStringLiteral(" руб.");
    case PeriodRow::BillTotal:
        return QStringLiteral("Пени за ") % monthText(row.from) % QStringLiteral(": ") %
               money(row.amount) % QStringLiteral(" руб.");
    default:
        return {};
    }
}

QStringList housingLines(const HousingResult &r, QDate calculated) {
    QStringList lines;
    lines << QStringLiteral("Расчет пеней за ЖКУ (ч. 14 ст. 155 ЖК РФ) на ") % dateText(calculated);
    lines.reserve(4 * r.bills.size() + 8);
    for (const HousingBill &b : r.bills) {
        qint64 left = b.charged;
        lines << billPhrase({PeriodRow::Bill, b.month, b.due, b.charged, 0, {}, 0, b.charged},
                            kopecksText);
        for (const auto &[day, amount] : b.ahead)
            lines << billPhrase({PeriodRow::Advance, day, day, left -= amount, 0, {}, 0, amount},
                                kopecksText);
        for (const auto &[day, amount] : b.paid)
            lines << QStringLiteral("оплата ") % dateText(day) % QStringLiteral(": ") %
                         kopecksText(amount) % QStringLiteral(" руб.");
        for (const PeriodRow &p : b.rows)
            if (p.kind == PeriodRow::Piece)
                lines << QStringLiteral("с ") % dateText(p.from) % QStringLiteral(" по ") %
                             dateText(p.to) % QStringLiteral(": ") % kopecksText(p.debt) %
                             QStringLiteral(" * ") % QString::number(p.days) %
                             QStringLiteral(" дн. * ") % p.rate % QStringLiteral("% / ") %
                             QString::number(p.divisor) % QStringLiteral(" = ") %
                             kopecksText(p.amount) % QStringLiteral(" руб.");
            else
                lines << QStringLiteral("с ") % dateText(p.from) % QStringLiteral(" по ") %
                             dateText(p.to) % QStringLiteral(": ") %
                             moratoriumPhrase(PeriodCount::Housing, p.partial ? p.debt : 0);
        lines << billPhrase({PeriodRow::BillTotal, b.month, b.due, b.left, 0, {}, 0, b.penalty},
                            kopecksText);
    }
    for (const QString &out : r.leftOut)
        lines << QStringLiteral("Не учтено: ") % out;
    QString totals = QStringLiteral("Начислено: ") % kopecksText(r.charged) %
                     QStringLiteral(" руб.") % QStringLiteral(", оплачено: ") %
                     kopecksText(r.paid) % QStringLiteral(" руб.") % QStringLiteral(", долг: ") %
                     kopecksText(r.debt) % QStringLiteral(" руб.");
    if (r.advance > 0)
        totals +=
            QStringLiteral(", переплата: ") % kopecksText(r.advance) % QStringLiteral(" руб.");
    lines << totals;
    lines << QStringLiteral("Сумма пеней: ") % kopecksText(r.penalty) % QStringLiteral(" руб.");
    lines << QStringLiteral("ИТОГО: ") % kopecksText(r.debt) % QStringLiteral(" + ") %
                 kopecksText(r.penalty) % QStringLiteral(" = ") % kopecksText(r.debt + r.penalty) %
                 QStringLiteral(" руб.");
    lines << QStringLiteral("Государственная пошлина: ") % kopecksText(r.fee) %
                 QStringLiteral(" руб.");
    return lines;
}

} // namespace calc
