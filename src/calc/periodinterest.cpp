// SPDX-License-Identifier: GPL-3.0-or-later
// Report lines are joined from many pieces: one allocation each, not one a piece.
#define QT_USE_QSTRINGBUILDER
#include "periodinterest.h"

#include "common/apperror.h"
#include "common/dates.h"
#include "numtext.h"
#include "penalty.h"

#include <algorithm>
#include <map>
#include <set>

namespace calc {
namespace {

// Debts up to a quadrillion roubles: the products below stay far inside 128 bits.
constexpr qint64 kMaxKopecks = 100000000000000000; // 10^17
constexpr int kMaxRateDigits = 12;

// An exact decimal: value = digits / 10^scale.
struct Decimal {
    qint64 digits = 0;
    int scale = 0;
};

// "123", "123,4", "123.45", blanks around; no sign, no exponent.
bool readDecimal(QStringView text, int maxScale, Decimal &out) {
    text = text.trimmed();
    if (text.isEmpty()) return false;
    qint64 digits = 0;
    int scale = -1, count = 0;
    for (QChar c : text) {
        if (c == u',' || c == u'.') {
            if (scale >= 0) return false;
            scale = 0;
            continue;
        }
        if (c < u'0' || c > u'9') return false;
        if (scale >= 0 && ++scale > maxScale) return false;
        if (++count > 18) return false;
        digits = digits * 10 + (c.unicode() - u'0');
    }
    if (count == 0) return false;
    out = {digits, std::max(scale, 0)};
    return true;
}

// Roubles with at most two decimals, as kopecks.
bool readKopecks(QStringView text, qint64 &kopecks) {
    Decimal d;
    if (!readDecimal(text, 2, d)) return false;
    kopecks = d.digits * (d.scale == 0 ? 100 : d.scale == 1 ? 10 : 1);
    return kopecks <= kMaxKopecks;
}

// A rate as the table writes it; forms the exact reader does not take
// ("1E-5") go through the general form first.
bool readRate(const QString &text, Decimal &rate) {
    if (readDecimal(text, kMaxRateDigits, rate)) return true;
    long double v = 0;
    if (!tryReadNumber(QString(text).replace(u'.', u','), v) || v < 0) return false;
    return readDecimal(generalForm(v, 15), kMaxRateDigits, rate);
}

// The general form of an exact decimal: no trailing zeros, comma.
QString rateText(Decimal d) {
    while (d.scale > 0 && d.digits % 10 == 0) {
        d.digits /= 10;
        --d.scale;
    }
    QString s = QString::number(d.digits);
    if (d.scale == 0) return s;
    if (s.size() <= d.scale) s.prepend(QString(d.scale - s.size() + 1, u'0'));
    s.insert(s.size() - d.scale, u',');
    return s;
}

qint64 pow10(int n) {
    qint64 p = 1;
    while (n-- > 0)
        p *= 10;
    return p;
}

__extension__ using Int128 = __int128;

// debt × days × rate / 100 / divisor in kopecks, rounded half away from zero (the
// divisor: the year's days, N of 1/N, or 1 for a percent a day).
qint64 pieceInterest(qint64 debt, int days, Decimal rate, int divisor) {
    const Int128 numerator = Int128(debt) * days * rate.digits;
    const Int128 denominator = Int128(pow10(rate.scale)) * 100 * divisor;
    Int128 q = numerator / denominator;
    const Int128 r = numerator % denominator;
    if (2 * r >= denominator) ++q;
    return qint64(q);
}

} // namespace

QString kopecksText(qint64 kopecks) {
    const bool negative = kopecks < 0;
    quint64 k = negative ? quint64(-(kopecks + 1)) + 1 : quint64(kopecks);
    char16_t text[24];
    int at = 24;
    text[--at] = char16_t(u'0' + k % 10);
    k /= 10;
    text[--at] = char16_t(u'0' + k % 10);
    k /= 10;
    text[--at] = u',';
    do {
        text[--at] = char16_t(u'0' + k % 10);
        k /= 10;
    } while (k > 0);
    if (negative) text[--at] = u'-';
    return QString(reinterpret_cast<const QChar *>(text + at), 24 - at);
}

bool moratoriumCovers(QDate start) {
    return start <= kMoratoriumStart;
}

QString depositRatesHint() {
    return QStringLiteral("С 01.06.2015 по 31.07.2016 проценты по ст. 395 ГК РФ считались по "
                          "средним ставкам по вкладам физических лиц в федеральном округе: "
                          "проверьте ставки таблицы за этот срок.");
}

namespace {

// Dated amounts (payments or increases), checked and listed per day.
std::map<QDate, QList<qint64>> datedAmounts(const QList<Payment> &list, const PeriodInput &in,
                                            const QString &what, const QString &amountOf) {
    std::map<QDate, QList<qint64>> out;
    for (const Payment &p : list) {
        qint64 amount = 0;
        if (!p.date.isValid() || p.date < in.start || p.date > in.end)
            throw AppError(QStringLiteral("%1 %2 лежит вне периода просрочки с %3 по %4")
                               .arg(what, dateText(p.date), dateText(in.start), dateText(in.end)));
        if (!readKopecks(p.amount, amount) || amount <= 0)
            throw AppError(QStringLiteral("%1 %2 \"%3\" не читается как сумма в рублях")
                               .arg(amountOf, dateText(p.date), p.amount));
        out[p.date].append(amount);
    }
    return out;
}

// What a count writes: its heading, the formula of a piece, the result line.
struct CountText {
    QString heading;
    QString result;
};

CountText countText(const PeriodInput &in, Decimal daily) {
    switch (in.count) {
    case PeriodCount::Contractual:
        return {QStringLiteral("Расчет неустойки по периодам (%1% в день)").arg(rateText(daily)),
                QStringLiteral("Сумма неустойки")};
    case PeriodCount::KeyFraction:
        return {QStringLiteral("Расчет пеней по периодам (1/%1 ключевой ставки)").arg(in.fraction),
                QStringLiteral("Сумма пеней")};
    case PeriodCount::Statutory:
        break;
    }
    return {QStringLiteral("Расчет по периодам (ст. 395 ГК РФ)"),
            QStringLiteral("Сумма процентов")};
}

} // namespace

PeriodResult calculatePeriods(const PeriodInput &in) {
    PeriodResult r;
    qint64 debt = 0;
    if (!readKopecks(in.debt, debt))
        throw AppError(QStringLiteral("Сумма долга \"%1\" не подходит для расчета по периодам: "
                                      "нужна сумма в рублях с копейками, не больше 10^15 руб.")
                           .arg(in.debt));
    const auto payments =
        datedAmounts(in.payments, in, QStringLiteral("Оплата"), QStringLiteral("Сумма оплаты"));
    const auto increases = datedAmounts(in.increases, in, QStringLiteral("Увеличение долга"),
                                        QStringLiteral("Сумма увеличения долга"));
    Decimal daily;
    if (in.count == PeriodCount::Contractual &&
        !readDecimal(in.dailyPercent, kMaxRateDigits, daily))
        throw AppError(
            QStringLiteral("Неустойка \"%1\" не читается как процент в день").arg(in.dailyPercent));
    if (in.count == PeriodCount::KeyFraction && (in.fraction < 1 || in.fraction > 1000))
        throw AppError(QStringLiteral("Доля ключевой ставки 1/%1: нужно целое число от 1 до 1000")
                           .arg(in.fraction));
    const bool statutory = in.count == PeriodCount::Statutory;
    const bool ratePerPiece =
        statutory || (in.count == PeriodCount::KeyFraction && in.rateDate.isNull());

    // The rate table as the lookup reads it, oldest first.
    std::map<QDate, Decimal> rates;
    for (const RatePoint &point : in.rates) {
        Decimal d;
        if (point.from.isValid() && readRate(point.rate, d)) rates.emplace(point.from, d);
    }
    const bool empty = in.start > in.end;
    if (!empty && rates.empty() && usesRateTable(in.count))
        throw AppError(QStringLiteral("В таблице ставок нет ни одной ставки для расчета"));
    const auto rateOn = [&rates](QDate day) {
        auto it = rates.upper_bound(day);
        return it == rates.begin() ? it->second : std::prev(it)->second;
    };
    const bool moratorium = in.moratorium && moratoriumCovers(in.start);
    const auto inMoratorium = [moratorium](QDate day) {
        return moratorium && day >= kMoratoriumStart && day <= kMoratoriumEnd;
    };
    // An invoice dated after the moratorium began is a claim it does not
    // cover: from that day on, its part of the debt accrues through the
    // moratorium, split at rate changes like any other.
    QDate firstUncovered;
    for (const auto &[day, amounts] : increases)
        if (!moratoriumCovers(day)) {
            firstUncovered = day;
            break;
        }
    const auto wholeDebtHeld = [&](QDate day) {
        return inMoratorium(day) && !(firstUncovered.isValid() && day >= firstUncovered);
    };

    const CountText text = countText(in, daily);
    r.days = empty ? 0 : int(in.start.daysTo(in.end)) + 1;
    r.lines << text.heading % QStringLiteral(": с ") % dateText(in.start) % QStringLiteral(" по ") %
                   dateText(in.end) % QStringLiteral(" = ") % QString::number(r.days) %
                   QStringLiteral(" дн.");

    if (!empty) {
        // The days a new piece starts on, after the first.
        std::set<QDate> starts;
        const auto addStart = [&](QDate d) {
            if (d > in.start && d <= in.end) starts.insert(d);
        };
        if (ratePerPiece)
            for (const auto &[from, rate] : rates)
                if (!wholeDebtHeld(from)) addStart(from);
        if (statutory)
            for (int y = in.start.year() + 1; y <= in.end.year(); ++y)
                if (!wholeDebtHeld(QDate(y, 1, 1))) addStart(QDate(y, 1, 1));
        for (const auto &[day, amounts] : payments)
            addStart(day.addDays(1));
        for (const auto &[day, amounts] : increases)
            addStart(day);
        if (moratorium) {
            addStart(kMoratoriumStart);
            addStart(kMoratoriumEnd.addDays(1));
        }
        starts.insert(in.end.addDays(1));

        const Decimal oneRate =
            in.count == PeriodCount::KeyFraction && !ratePerPiece ? rateOn(in.rateDate) : Decimal{};
        Decimal lastRate;
        QString lastRateText;
        r.lines.reserve(qsizetype(starts.size() + payments.size() + increases.size()) + 4);
        r.rows.reserve(qsizetype(starts.size() + payments.size() + increases.size()) + 1);
        // A piece at a debt that accrues: its rate, the divisor, the amount.
        const auto accrue = [&](QDate from, QDate to, qint64 owed) {
            const int days = int(from.daysTo(to)) + 1;
            int divisor = 0; // of "rate% / divisor"; none for a percent a day
            Decimal rate = daily;
            if (statutory) {
                rate = rateOn(from);
                divisor = QDate::isLeapYear(from.year()) ? 366 : 365;
                if (from <= kDepositRatesUntil && to >= kDepositRatesFrom) r.depositRateSpan = true;
            } else if (in.count == PeriodCount::KeyFraction) {
                rate = ratePerPiece ? rateOn(from) : oneRate;
                divisor = in.fraction;
            }
            // Rates change far less often than pieces: a rate's text is
            // shared with the piece before.
            if (rate.digits != lastRate.digits || rate.scale != lastRate.scale ||
                lastRateText.isNull()) {
                lastRate = rate;
                lastRateText = rateText(rate);
            }
            const qint64 interest = pieceInterest(owed, days, rate, std::max(divisor, 1));
            r.interest += interest;
            r.rows.append(
                {PeriodRow::Piece, from, to, owed, days, lastRateText, divisor, interest, 0});
            // One expression, one allocation: the report is most of the time.
            r.lines << QStringLiteral("с ") % dateText(from) % QStringLiteral(" по ") %
                           dateText(to) % QStringLiteral(": ") % kopecksText(owed) %
                           QStringLiteral(" * ") % QString::number(days) %
                           QStringLiteral(" дн. * ") % lastRateText %
                           (divisor > 0 ? QStringLiteral("% / ") + QString::number(divisor)
                                        : QStringLiteral("%")) %
                           QStringLiteral(" = ") % kopecksText(interest) % QStringLiteral(" руб.");
        };
        // A piece the moratorium holds; `part` when a later invoice's share
        // of the debt accrues beside it.
        const auto hold = [&](QDate from, QDate to, qint64 held, bool part) {
            r.rows.append(
                {PeriodRow::Moratorium, from, to, held, int(from.daysTo(to)) + 1, {}, 0, 0, 0});
            r.lines << QStringLiteral("с ") % dateText(from) % QStringLiteral(" по ") %
                           dateText(to) %
                           (part ? QStringLiteral(": мораторий, проценты на ") % kopecksText(held) %
                                       QStringLiteral(" руб. не начисляются")
                                 : QStringLiteral(": мораторий, проценты не начисляются"));
        };

        // The part of the debt the moratorium covers: the debt of its start
        // and invoices up to its first day, less payments, which go to the
        // oldest debt first.
        qint64 covered = moratorium ? debt : 0;
        QDate from = in.start;
        for (QDate next : starts) {
            const QDate to = next.addDays(-1);
            // An invoice adds to the debt from its own day on.
            if (const auto raised = increases.find(from); raised != increases.end())
                for (qint64 amount : raised->second) {
                    debt += amount;
                    if (moratorium && moratoriumCovers(from)) covered += amount;
                    r.rows.append({PeriodRow::Increase, from, from, debt, 0, {}, 0, amount, 0});
                    r.lines << QStringLiteral("долг увеличен ") % dateText(from) %
                                   QStringLiteral(": ") % kopecksText(amount) %
                                   QStringLiteral(" руб., долг ") % kopecksText(debt) %
                                   QStringLiteral(" руб.");
                }
            if (debt > kMaxKopecks)
                throw AppError(QStringLiteral("Долг с увеличениями больше 10^15 руб."));
            const qint64 held = inMoratorium(from) ? covered : 0;
            if (held > 0) hold(from, to, held, held < debt);
            if (debt > held) accrue(from, to, debt - held);
            // A payment lowers the debt from the next day on.
            if (const auto paid = payments.find(to); paid != payments.end()) {
                for (qint64 amount : paid->second) {
                    // More than is owed is shown, so that the user sees it;
                    // the debt never goes below zero.
                    const qint64 over = std::max<qint64>(0, amount - debt);
                    debt = std::max<qint64>(0, debt - amount);
                    covered = std::max<qint64>(0, covered - amount);
                    r.rows.append({PeriodRow::Payment, to, to, debt, 0, {}, 0, amount, over});
                    r.lines << QStringLiteral("оплата ") % dateText(to) % QStringLiteral(": ") %
                                   kopecksText(amount) % QStringLiteral(" руб., остаток долга ") %
                                   kopecksText(debt) % QStringLiteral(" руб.") %
                                   (over > 0 ? QStringLiteral(", переплата ") % kopecksText(over) %
                                                   QStringLiteral(" руб.")
                                             : QString());
                }
            }
            from = next;
        }
    }

    r.remaining = debt;
    r.fee = courtFeeKopecks(debt + r.interest, in.court, feeScaleFor(in.filed));
    r.lines << text.result % QStringLiteral(": ") % kopecksText(r.interest) %
                   QStringLiteral(" руб.");
    r.lines << QStringLiteral("ИТОГО: %1 + %2 = %3 руб.")
                   .arg(kopecksText(debt), kopecksText(r.interest), kopecksText(debt + r.interest));
    r.lines << QStringLiteral("Государственная пошлина: %1 руб.").arg(kopecksText(r.fee));
    return r;
}

} // namespace calc
