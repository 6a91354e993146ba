// SPDX-License-Identifier: GPL-3.0-or-later
#include "claimrequest.h"

#include "calc/inputfield.h"
#include "calc/numtext.h"
#include "calc/penalty.h"
#include "common/apperror.h"
#include "common/dates.h"
#include "rates/userrates.h"
#include "storage/modesettings.h"

#include <algorithm>

#include <QFileInfo>
#include <QStandardPaths>

namespace cli {
namespace {

// A number as the window's field takes it when typed or pasted: every
// character passes the key filter, the whole text reads as a number, and it
// is no longer than the field lets one type.
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

QString fieldNumber(const QString &field, const QString &text, int limit) {
    QString typed;
    switch (calc::readTypedNumber(withoutGroupSeparators(text), limit, typed)) {
    case calc::TypedNumber::Ok:
        return typed;
    case calc::TypedNumber::BadCharacter:
        throw FieldError{field, text,
                         QStringLiteral("допустимы только цифры и десятичная запятая")};
    case calc::TypedNumber::Empty:
        throw FieldError{field, text, QStringLiteral("пустое число")};
    case calc::TypedNumber::TooLong:
        throw FieldError{field, text, QStringLiteral("не больше %1 знаков").arg(limit)};
    case calc::TypedNumber::NotANumber:
        break;
    }
    throw FieldError{field, text, QStringLiteral("это не число")};
}

QDate fieldDate(const QString &field, const QString &text) {
    QDate d;
    if (!parseDateText(QStringView(text).trimmed(), d))
        throw FieldError{field, text, QStringLiteral("нужна дата дд.мм.гггг")};
    if (d < QDate(1990, 1, 1))
        throw FieldError{field, text, QStringLiteral("даты раньше 01.01.1990 не принимаются")};
    return d;
}

int fieldInteger(const QString &field, const QString &text, int low, int high) {
    bool ok = false;
    const int v = QStringView(text).trimmed().toInt(&ok);
    if (!ok || v < low || v > high)
        throw FieldError{field, text,
                         QStringLiteral("нужно целое число от %1 до %2").arg(low).arg(high)};
    return v;
}

bool fieldYesNo(const QString &field, const QString &text) {
    const QString t = text.trimmed().toLower();
    for (const char *yes : {"1", "yes", "true", "да"})
        if (t == QString::fromUtf8(yes)) return true;
    for (const char *no : {"0", "no", "false", "нет"})
        if (t == QString::fromUtf8(no)) return false;
    throw FieldError{field, text, QStringLiteral("нужно yes или no")};
}

calc::Payment fieldPayment(const QString &field, const QString &text) {
    const qsizetype eq = text.indexOf(u'=');
    if (eq < 0) throw FieldError{field, text, QStringLiteral("нужна оплата вида дд.мм.гггг=СУММА")};
    const QDate date = fieldDate(field, text.left(eq));
    const QString amount = calc::normalisedAmount(fieldNumber(field, text.mid(eq + 1), 13));
    return {date, amount};
}

} // namespace

// A claim by periods counted, as the command line reports it.
ClaimResult periodResult(const calc::PeriodInput &in) {
    const calc::PeriodResult p = calc::calculatePeriods(in);
    ClaimResult out;
    out.lines = p.lines;
    out.days = p.days;
    out.interest = calc::kopecksText(p.interest);
    out.total = calc::kopecksText(p.remaining + p.interest);
    out.fee = calc::kopecksText(p.fee);
    if (calc::usesRateTable(in.count)) out.tableEnd = in.end;
    out.byPeriods = true;
    out.periodInput = in;
    out.periodResult = p;
    return out;
}

const QStringList &fieldNames() {
    static const QStringList names = {"debt",       "from",          "to",           "tax",
                                      "court",      "mode",          "rate",         "divisor",
                                      "daily_rate", "periods",       "payments",     "filed",
                                      "increases",  "penalty_daily", "key_fraction", "rate_date"};
    return names;
}

Defaults Defaults::fromUserData() {
    Defaults d;
    rates::UserRates user = rates::openUserRates(rates::RateFileAccess::ReadOnly);
    d.table = std::move(user.table);
    d.problem = std::move(user.problem);
    d.divisor = QString::number(storage::storedDivisor());
    d.dailyRate = storage::storedDailyRate();
    return d;
}

void ClaimRequest::set(const QString &field, const QString &value) {
    if (QStringView(value).trimmed().isEmpty()) return;
    if (field == QStringLiteral("debt")) {
        debt = calc::normalisedAmount(fieldNumber(field, value, 13));
    } else if (field == QStringLiteral("from")) {
        from = fieldDate(field, value);
    } else if (field == QStringLiteral("to")) {
        to = fieldDate(field, value);
    } else if (field == QStringLiteral("filed")) {
        filed = fieldDate(field, value);
    } else if (field == QStringLiteral("tax")) {
        tax = fieldInteger(field, value, 0, 35);
    } else if (field == QStringLiteral("court")) {
        const QStringView v = QStringView(value).trimmed();
        if (v == QStringLiteral("arbitration"))
            court = calc::Court::Arbitration;
        else if (v == QStringLiteral("general"))
            court = calc::Court::GeneralJurisdiction;
        else
            throw FieldError{field, value, QStringLiteral("нужно arbitration или general")};
    } else if (field == QStringLiteral("mode")) {
        const QStringView v = QStringView(value).trimmed();
        if (v == QStringLiteral("statutory"))
            statutory = true;
        else if (v == QStringLiteral("contractual"))
            statutory = false;
        else
            throw FieldError{field, value, QStringLiteral("нужно statutory или contractual")};
    } else if (field == QStringLiteral("rate")) {
        rate = fieldNumber(field, value, 8);
    } else if (field == QStringLiteral("divisor")) {
        divisor = QString::number(fieldInteger(field, value, 1, 365));
    } else if (field == QStringLiteral("daily_rate")) {
        dailyRate = calc::normalisedNumber(fieldNumber(field, value, 8), QStringLiteral("0"));
    } else if (field == QStringLiteral("periods")) {
        periods = fieldYesNo(field, value);
    } else if (field == QStringLiteral("payment")) {
        payments.append(fieldPayment(field, value.trimmed()));
    } else if (field == QStringLiteral("payments")) {
        for (const QString &p : value.split(u';', Qt::SkipEmptyParts))
            payments.append(fieldPayment(field, p.trimmed()));
    } else if (field == QStringLiteral("increase")) {
        increases.append(fieldPayment(field, value.trimmed()));
    } else if (field == QStringLiteral("increases")) {
        for (const QString &p : value.split(u';', Qt::SkipEmptyParts))
            increases.append(fieldPayment(field, p.trimmed()));
    } else if (field == QStringLiteral("penalty_daily")) {
        penaltyDaily = calc::normalisedNumber(fieldNumber(field, value, 8), QStringLiteral("0"));
    } else if (field == QStringLiteral("key_fraction")) {
        keyFraction = fieldInteger(field, value, 1, 1000);
    } else if (field == QStringLiteral("rate_date")) {
        rateDate = fieldDate(field, value);
    } else {
        throw FieldError{field, value, QStringLiteral("такого поля нет")};
    }
}

ClaimResult computeClaim(const ClaimRequest &r, const Defaults &d,
                         const rates::RateLookup &lookup) {
    ClaimResult out;
    const QDate from = r.from.isNull() ? d.today : r.from;
    const QDate to = r.to.isNull() ? d.today : r.to;
    const QDate filed = r.filed.isNull() ? d.today : r.filed;
    const bool penalty = !r.penaltyDaily.isEmpty() || r.keyFraction > 0;
    if (!r.periods && (penalty || !r.increases.isEmpty() || r.rateDate.isValid()))
        throw AppError(QStringLiteral("увеличения долга, неустойка, доля ключевой ставки и дата "
                                      "ставки считаются только по периодам (periods, --periods)"));
    if (!r.penaltyDaily.isEmpty() && r.keyFraction > 0)
        throw AppError(QStringLiteral("нужна либо неустойка в день, либо доля ключевой ставки"));
    if (r.rateDate.isValid() && r.keyFraction == 0)
        throw AppError(QStringLiteral("дата ставки нужна только для доли ключевой ставки"));
    if (r.periods) {
        calc::PeriodInput in;
        in.debt = r.debt;
        in.start = from;
        in.end = to;
        in.rates = rates::ratePoints(d.table);
        in.payments = r.payments;
        in.increases = r.increases;
        if (!r.penaltyDaily.isEmpty()) {
            in.count = calc::PeriodCount::Contractual;
            in.dailyPercent = r.penaltyDaily;
        } else if (r.keyFraction > 0) {
            in.count = calc::PeriodCount::KeyFraction;
            in.fraction = r.keyFraction;
            in.rateDate = r.rateDate;
        }
        in.moratorium = r.moratorium;
        in.court = r.court;
        in.filed = filed;
        return periodResult(in);
    }
    calc::CalcInput in;
    in.debtText = r.debt;
    in.start = from;
    in.end = to;
    in.taxPercent = r.tax;
    in.court = r.court;
    in.filed = filed;
    in.statutory = r.statutory;
    in.divisorText = r.divisor.isEmpty() ? d.divisor : r.divisor;
    in.contractText = r.dailyRate.isEmpty() ? d.dailyRate : r.dailyRate;
    in.refinancingText = r.statutory ? (r.rate.isEmpty() ? lookup.rateOn(to) : r.rate)
                                     : storage::kInitialRefinancingRate;
    const calc::CalcResult c = calc::calculate(in);
    out.lines = c.lines;
    out.days = c.days;
    out.rate = r.statutory ? in.refinancingText : in.contractText;
    out.interest = c.interestText;
    out.total = c.totalText;
    out.fee = c.feeText;
    if (r.statutory && r.rate.isEmpty()) out.tableEnd = to;
    return out;
}

ClaimResult computeSavedClaim(calc::PeriodInput claim, const Defaults &d) {
    claim.rates = rates::ratePoints(d.table);
    return periodResult(claim);
}

void RunNotes::add(const ClaimResult &r) {
    if (r.tableEnd.isValid() && (latestTableEnd.isNull() || r.tableEnd > latestTableEnd))
        latestTableEnd = r.tableEnd;
    depositRateSpan = depositRateSpan || r.periodResult.depositRateSpan;
}

QStringList RunNotes::lines(const rates::RateTable &table) const {
    QStringList out;
    const QString warning = QStringLiteral("предупреждение: ");
    if (latestTableEnd.isValid()) {
        const QDate newest = rates::newestEntry(table);
        if (rates::mayBeStale(newest, latestTableEnd))
            out << warning + QStringLiteral("последняя запись таблицы ставок — от %1, период — "
                                            "по %2; обновите таблицу: dolgomer --update-rates")
                                 .arg(dateText(newest), dateText(latestTableEnd));
    }
    if (depositRateSpan) out << warning + calc::depositRatesHint();
    return out;
}

} // namespace cli
