// SPDX-License-Identifier: GPL-3.0-or-later
// The housing penalty's report, bill by bill.
#define QT_USE_QSTRINGBUILDER
#include "housing.h"

#include "common/dates.h"
#include "decimal.h"
#include "law/calendar.h"
#include "presets.h"
#include "userwindows.h"

#include <algorithm>
#include <iterator>

namespace calc {
namespace {

// A report line written in place: the digits of dates and amounts go
// straight into it, with no string made for each (a claim of years of bills
// has hundreds of lines).
class Line {
public:
    Line &operator<<(QStringView s) {
        put(reinterpret_cast<const char16_t *>(s.data()), s.size());
        return *this;
    }
    Line &number(quint64 n, int digits = 1) {
        char16_t buffer[20];
        int at = 20;
        do {
            buffer[--at] = char16_t(u'0' + n % 10);
            n /= 10;
        } while (n > 0 || 20 - at < digits);
        put(buffer + at, 20 - at);
        return *this;
    }
    // dd.mm.yyyy, or mm.yyyy for a month.
    Line &date(QDate d, bool withDay = true) {
        // Years of four digits: 01.01.1000 to 31.12.9999 by their day numbers.
        if (!d.isValid() || d.toJulianDay() < 2086303 || d.toJulianDay() > 5373484)
            return *this << (withDay ? dateText(d) : dateText(d).mid(3));
        // The civil date of the day number (days from 1 March of year 0),
        // without the calendar's general machinery: a report has hundreds.
        const qint64 z = d.toJulianDay() - 1721120;
        const qint64 era = z / 146097, doe = z - era * 146097;
        const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
        const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
        const qint64 mp = (5 * doy + 2) / 153;
        const qint64 day = doy - (153 * mp + 2) / 5 + 1, month = mp < 10 ? mp + 3 : mp - 9;
        const qint64 year = yoe + era * 400 + (month <= 2 ? 1 : 0);
        const char16_t text[10] = {char16_t(u'0' + day / 10),
                                   char16_t(u'0' + day % 10),
                                   u'.',
                                   char16_t(u'0' + month / 10),
                                   char16_t(u'0' + month % 10),
                                   u'.',
                                   char16_t(u'0' + year / 1000),
                                   char16_t(u'0' + year / 100 % 10),
                                   char16_t(u'0' + year / 10 % 10),
                                   char16_t(u'0' + year % 10)};
        put(withDay ? text : text + 3, withDay ? 10 : 7);
        return *this;
    }
    Line &monthOf(QDate d) { return date(d, false); }
    Line &kopecks(qint64 k) {
        number(quint64(k / 100)) << u",";
        return number(quint64(k % 100), 2);
    }
    QString take() const {
        return spilled_ ? spill_ : QString(reinterpret_cast<const QChar *>(text_), length_);
    }

private:
    void put(const char16_t *p, qsizetype n) {
        if (!spilled_ && length_ + n <= qsizetype(std::size(text_))) {
            std::copy_n(p, n, text_ + length_);
            length_ += n;
            return;
        }
        if (!spilled_) spill_ = QString(reinterpret_cast<const QChar *>(text_), length_);
        spilled_ = true;
        spill_.append(reinterpret_cast<const QChar *>(p), n);
    }

    char16_t text_[192];
    qsizetype length_ = 0;
    bool spilled_ = false; // longer than the buffer: the rest goes here
    QString spill_;
};

// A bill's row in words; `money` writes its amount.
template <typename Money> QString phrase(const PeriodRow &row, Money money) {
    Line line;
    switch (row.kind) {
    case PeriodRow::Bill:
        line << u"Начислено за ";
        line.monthOf(row.from) << u": ";
        money(line, row.amount);
        line << u" руб., срок оплаты ";
        line.date(row.to);
        break;
    case PeriodRow::Advance:
        line << u"зачтено из переплаты ";
        line.date(row.from) << u": ";
        money(line, row.amount);
        line << u" руб.";
        break;
    case PeriodRow::BillTotal:
        line << u"Пени за ";
        line.monthOf(row.from) << u": ";
        money(line, row.amount);
        line << u" руб.";
        break;
    default:
        break;
    }
    return line.take();
}

// Amounts in a bill's lines are never negative.
void plainMoney(Line &line, qint64 kopecks) {
    line.kopecks(kopecks);
}

} // namespace

QString billPhrase(const PeriodRow &row, QString (*money)(qint64)) {
    return phrase(row, [money](Line &line, qint64 kopecks) { line << money(kopecks); });
}

QStringList housingNotes(const HousingResult &r) {
    QStringList notes;
    if (std::any_of(r.bills.cbegin(), r.bills.cend(), [](const HousingBill &b) {
            return std::any_of(b.rows.cbegin(), b.rows.cend(),
                               [](const PeriodRow &p) { return p.rateCapped; });
        }))
        notes << r.capNote % u'.';
    if (r.pastCalendar) notes << law::calendarEndsNote() % u'.';
    if (!r.dueDayNote.isEmpty()) notes << r.dueDayNote % u'.';
    return notes;
}

QStringList housingLines(const HousingResult &r, QDate calculated) {
    QStringList lines;
    lines << (r.article.isEmpty()
                  ? QStringLiteral("Расчет пеней за ЖКУ (ч. 14 ст. 155 ЖК РФ) на ")
                  : QStringLiteral("Расчет пеней по ") % r.article % QStringLiteral(" на ")) %
                 dateText(calculated);
    qsizetype count = 8 + r.leftOut.size();
    for (const HousingBill &b : r.bills)
        count += 2 + b.advancePaid.size() + b.paid.size() + b.rows.size();
    lines.reserve(count);
    for (const HousingBill &b : r.bills) {
        qint64 left = b.charged;
        lines << phrase(billRow(b), plainMoney);
        for (const auto &[day, amount] : b.advancePaid)
            lines << phrase(billPaidRow(PeriodRow::Advance, day, amount, left -= amount),
                            plainMoney);
        for (const auto &[day, amount] : b.paid) {
            Line line;
            line << u"оплата ";
            line.date(day) << u": ";
            line.kopecks(amount) << u" руб.";
            lines << line.take();
        }
        for (const PeriodRow &p : b.rows) {
            Line line;
            line << u"с ";
            line.date(p.from) << u" по ";
            line.date(p.to) << u": ";
            if (p.kind == PeriodRow::Piece) {
                line.kopecks(p.debt) << u" * ";
                line.number(quint64(p.days)) << u" дн. * " << p.rate << u"% / ";
                line.number(quint64(p.divisor)) << u" = ";
                line.kopecks(p.amount) << u" руб.";
            } else {
                line << windowPhrase(p, QStringLiteral("пени"), p.partial ? p.debt : 0);
            }
            lines << line.take();
        }
        lines << phrase(billTotalRow(b), plainMoney);
    }
    for (const QString &out : r.leftOut)
        lines << QStringLiteral("Не учтено: ") % out;
    for (const QString &note : housingNotes(r))
        lines << note;
    QString totals = QStringLiteral("Начислено: ") % kopecksText(r.charged) %
                     QStringLiteral(" руб.") % QStringLiteral(", оплачено: ") %
                     kopecksText(r.paid) % QStringLiteral(" руб.") % QStringLiteral(", долг: ") %
                     kopecksText(r.debt) % QStringLiteral(" руб.");
    if (r.advance > 0)
        totals +=
            QStringLiteral(", переплата: ") % kopecksText(r.advance) % QStringLiteral(" руб.");
    lines << totals;
    lines << QStringLiteral("Сумма пеней: ") % kopecksText(r.penalty) % QStringLiteral(" руб.");
    lines << totalLine(r.debt, r.penalty);
    if (!r.continuing.isEmpty()) lines << r.continuing;
    lines << feeLine(r.fee, r.feeExemption, r.feeByScale);
    return lines;
}

} // namespace calc
