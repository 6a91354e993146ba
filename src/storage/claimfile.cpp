// SPDX-License-Identifier: GPL-3.0-or-later
#include "claimfile.h"

#include "calc/claimfields.h"
#include "calc/presets.h"
#include "common/apperror.h"
#include "regularfile.h"
#include "savedfile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

namespace storage {
namespace {

const QString kFormat = QStringLiteral("dolgomer-claim");
// A claim of the most payments and increases the program takes is about
// 0.7 MB; a file far past that is not one, and parsing it whole would cost
// tens of times its size in memory.
constexpr qint64 kMaxClaimBytes = 4 * 1024 * 1024;

struct Damaged {
    QString why;
};

QString dayText(QDate d) {
    return d.toString(Qt::ISODate);
}

QString key(calc::ClaimField field) {
    return QString::fromLatin1(calc::fieldInfo(field).fileKey);
}

// The first key written twice in one object, which a JSON reader would
// otherwise take silently as its last value (empty: none). The bytes are
// JSON already, so strings, escapes and nesting are all there is to follow.
QString duplicateKey(const QByteArray &json) {
    QList<QSet<QByteArray>> objects; // keys seen so far, per open object
    QList<bool> inObject;            // per open container
    bool expectKey = false;
    for (qsizetype i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '"') {
            const qsizetype begin = ++i;
            while (i < json.size() && json[i] != '"')
                i += json[i] == '\\' ? 2 : 1;
            if (expectKey && !objects.isEmpty()) {
                const QByteArray name = json.mid(begin, i - begin);
                if (objects.last().contains(name)) return QString::fromUtf8(name);
                objects.last().insert(name);
                expectKey = false;
            }
        } else if (c == '{') {
            objects.append(QSet<QByteArray>());
            inObject.append(true);
            expectKey = true;
        } else if (c == '[') {
            inObject.append(false);
        } else if (c == '}' || c == ']') {
            if (c == '}' && !objects.isEmpty()) objects.removeLast();
            if (!inObject.isEmpty()) inObject.removeLast();
        } else if (c == ',') {
            expectKey = !inObject.isEmpty() && inObject.last();
        }
    }
    return {};
}

// Each reader takes a value of its one JSON type, or names the key.
QJsonValue value(const QJsonObject &o, const QString &name) {
    const QJsonValue v = o.value(name);
    if (v.isUndefined()) throw Damaged{QStringLiteral("нет ключа \"%1\"").arg(name)};
    return v;
}

QString text(const QJsonObject &o, const QString &name) {
    const QJsonValue v = value(o, name);
    if (!v.isString()) throw Damaged{QStringLiteral("\"%1\" должен быть строкой").arg(name)};
    return v.toString();
}

QString amount(const QJsonObject &o, const QString &name) {
    const QString t = text(o, name);
    qint64 kopecks = 0;
    if (!calc::readKopecks(t, kopecks))
        throw Damaged{QStringLiteral("\"%1\": \"%2\" — не сумма в рублях").arg(name, t)};
    return t;
}

QDate day(const QJsonObject &o, const QString &name, bool optional = false) {
    if (optional && value(o, name).isNull()) return QDate();
    const QString t = text(o, name);
    // ГГГГ-ММ-ДД exactly: "2024-01-01T10:00" or "2024-01-01garbage" is no date.
    const QDate d = t.size() == 10 ? QDate::fromString(t, QStringLiteral("yyyy-MM-dd")) : QDate();
    if (!d.isValid())
        throw Damaged{QStringLiteral("\"%1\": \"%2\" — не дата вида ГГГГ-ММ-ДД").arg(name, t)};
    return d;
}

// A whole number from `low` to `high`, written as a JSON number.
qint64 integer(const QJsonObject &o, const QString &name, qint64 low, qint64 high) {
    const QJsonValue v = value(o, name);
    const double d = v.toDouble();
    if (!v.isDouble() || d != std::floor(d) || d < double(low) || d > double(high))
        throw Damaged{QStringLiteral("\"%1\" должен быть целым числом от %2 до %3")
                          .arg(name)
                          .arg(low)
                          .arg(high)};
    return qint64(d);
}

void onlyKeys(const QJsonObject &o, const QStringList &known, const QString &where) {
    for (const QString &k : o.keys())
        if (!known.contains(k))
            throw Damaged{QStringLiteral("неизвестный ключ \"%1\"%2").arg(k, where)};
}

QString monthKey(QDate month) {
    return month.toString(QStringLiteral("yyyy-MM"));
}

QJsonArray entries(const QList<calc::Payment> &list) {
    QJsonArray out;
    for (const calc::Payment &p : list) {
        QJsonObject e{{QStringLiteral("date"), dayText(p.date)},
                      {QStringLiteral("amount"), p.amount}};
        if (p.arose.isValid()) e.insert(QStringLiteral("arose"), dayText(p.arose));
        if (p.month.isValid()) e.insert(QStringLiteral("month"), monthKey(p.month));
        out.append(e);
    }
    return out;
}

QJsonArray charges(const QList<calc::Charge> &list) {
    QJsonArray out;
    for (const calc::Charge &c : list)
        out.append(QJsonObject{{QStringLiteral("month"), monthKey(c.month)},
                               {QStringLiteral("amount"), c.amount}});
    return out;
}

QDate month(const QJsonObject &o, const QString &name) {
    const QString t = text(o, name);
    const QDate d = t.size() == 7 ? QDate::fromString(t, QStringLiteral("yyyy-MM")) : QDate();
    if (!d.isValid()) throw Damaged{QStringLiteral("\"%1\": \"%2\" — не месяц").arg(name, t)};
    return d;
}

QJsonArray list(const QJsonObject &o, const QString &name) {
    const QJsonValue v = value(o, name);
    if (!v.isArray()) throw Damaged{QStringLiteral("\"%1\" должен быть списком").arg(name)};
    return v.toArray();
}

QList<calc::Charge> charges(const QJsonObject &o, const QString &name) {
    QList<calc::Charge> out;
    const QString where = QStringLiteral(" в списке \"%1\"").arg(name);
    for (const QJsonValue &v : list(o, name)) {
        if (!v.isObject()) throw Damaged{QStringLiteral("в списке \"%1\" не запись").arg(name)};
        const QJsonObject e = v.toObject();
        onlyKeys(e, {QStringLiteral("month"), QStringLiteral("amount")}, where);
        out.append({month(e, QStringLiteral("month")), amount(e, QStringLiteral("amount"))});
    }
    return out;
}

bool yesNo(const QJsonObject &o, const QString &name) {
    const QJsonValue v = value(o, name);
    if (!v.isBool()) throw Damaged{QStringLiteral("\"%1\" должен быть true или false").arg(name)};
    return v.toBool();
}

// The dated amounts of a list, each with at most one more key (`extra`): an
// increase's "arose" (the day it arose), a payment's "month" (the month it pays).
QList<calc::Payment> entries(const QJsonObject &o, const QString &name, const QString &extra) {
    QList<calc::Payment> out;
    const QString where = QStringLiteral(" в списке \"%1\"").arg(name);
    for (const QJsonValue &v : list(o, name)) {
        if (!v.isObject()) throw Damaged{QStringLiteral("в списке \"%1\" не запись").arg(name)};
        const QJsonObject e = v.toObject();
        QStringList keys{QStringLiteral("date"), QStringLiteral("amount")};
        if (!extra.isEmpty()) keys << extra;
        onlyKeys(e, keys, where);
        const auto optional = [&e](const char *key, auto read) {
            const QString k = QString::fromLatin1(key);
            return e.contains(k) ? read(e, k) : QDate();
        };
        out.append(
            {day(e, QStringLiteral("date")), amount(e, QStringLiteral("amount")),
             optional("arose", [](const QJsonObject &x, const QString &k) { return day(x, k); }),
             optional("month", month)});
    }
    return out;
}

// What is counted, and the courts, as the file names them; one table both ways.
const std::pair<calc::PeriodCount, const char *> kCountNames[] = {
    {calc::PeriodCount::Statutory, "statutory"},
    {calc::PeriodCount::Contractual, "contractual"},
    {calc::PeriodCount::KeyFraction, "key_fraction"},
    {calc::PeriodCount::Housing, "housing"},
};
const std::pair<calc::RateDay, const char *> kRateDayNames[] = {
    {calc::RateDay::Payment, "payment"},
    {calc::RateDay::OneDate, "date"},
    {calc::RateDay::EachDay, "periods"},
};
const std::pair<calc::Court, const char *> kCourtNames[] = {
    {calc::Court::Arbitration, "arbitration"},
    {calc::Court::GeneralJurisdiction, "general"},
};

template <typename T, size_t N>
QString nameOf(const std::pair<T, const char *> (&names)[N], T value) {
    for (const auto &[v, name] : names)
        if (v == value) return QString::fromLatin1(name);
    return QString::fromLatin1(names[0].second);
}

template <typename T, size_t N>
T named(const std::pair<T, const char *> (&names)[N], const QJsonObject &o, const QString &name) {
    const QString t = text(o, name);
    for (const auto &[v, n] : names)
        if (t == QLatin1String(n)) return v;
    throw Damaged{QStringLiteral("\"%1\": неизвестное значение \"%2\"").arg(name, t)};
}

const QString kFormatKey = QStringLiteral("format");
const QString kVersionKey = QStringLiteral("version");
const QString kCountKey = QStringLiteral("count");
const QString kBasisKey = QStringLiteral("basis"); // a legal basis of its own, when there is one
// The wages' share of the key rate by contract, when there is one.
const QString kContractFractionKey = QStringLiteral("contract_fraction");

} // namespace

QByteArray encodeClaim(const calc::PeriodInput &c) {
    using F = calc::ClaimField;
    QJsonObject o{
        {kFormatKey, kFormat},
        {kVersionKey, kClaimFormatVersion},
        {key(F::Debt), c.debt},
        {key(F::From), dayText(c.start)},
        {key(F::To), dayText(c.end)},
        {key(F::Court), nameOf(kCourtNames, c.court)},
        {key(F::Filed), dayText(c.filed)},
        {kCountKey, nameOf(kCountNames, c.count)},
        {key(F::PenaltyDaily), c.dailyPercent},
        {key(F::KeyFraction), c.fraction},
        {key(F::RateDate), c.rateDate.isValid() ? QJsonValue(dayText(c.rateDate)) : QJsonValue()},
        {key(F::Moratorium), c.moratorium},
        {key(F::Arose), c.arose.isValid() ? QJsonValue(dayText(c.arose)) : QJsonValue()},
        {key(F::Payments), entries(c.payments)},
        {key(F::Increases), entries(c.increases)},
        {key(F::Charges), charges(c.charges)},
        {key(F::RateDay), nameOf(kRateDayNames, c.rateDay)},
        {key(F::DueDay), c.dueDay},
        {key(F::Shift), c.shift},
        {key(F::Moratorium2020), c.moratorium2020},
        {key(F::CourtOrder), c.courtOrder},
    };
    if (!c.basis.isEmpty()) o.insert(kBasisKey, c.basis);
    // A count's own terms, only when it has them: files without them open as before.
    if (c.contractFraction) o.insert(kContractFractionKey, c.contractFraction);
    if (!c.feeExemption) o.insert(key(F::FeeExemption), false);
    for (const auto &[field, text] :
         {std::pair{F::CapPercent, &c.capPercent}, std::pair{F::Cap, &c.capAmount},
          std::pair{F::Fulfilled, &c.fulfilled}})
        if (!text->isEmpty()) o.insert(key(field), *text);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

calc::PeriodInput decodeClaim(const QByteArray &bytes) {
    using F = calc::ClaimField;
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (doc.isNull())
        throw AppError(
            QStringLiteral("файл поврежден: это не файл расчета (%1)").arg(error.errorString()));
    if (!doc.isObject())
        throw AppError(QStringLiteral("файл поврежден: это не файл расчета (в нем список JSON, а "
                                      "не объект)"));
    const QJsonObject o = doc.object();
    if (o.value(kFormatKey).toString() != kFormat)
        throw AppError(QStringLiteral("файл поврежден: это не файл расчета Долгомера"));
    try {
        const QJsonValue v = value(o, kVersionKey);
        const double version = v.toDouble();
        if (!v.isDouble() || version != std::floor(version) || version < 1)
            throw Damaged{QStringLiteral("нет версии формата")};
        if (version > kClaimFormatVersion)
            throw AppError(QStringLiteral("файл сохранен более новой версией программы (формат "
                                          "%1, эта версия читает формат %2); обновите программу")
                               .arg(QString::number(version, 'g', 15)) // 1e308 stays short
                               .arg(kClaimFormatVersion));
        if (const QString twice = duplicateKey(bytes); !twice.isEmpty())
            throw Damaged{QStringLiteral("ключ \"%1\" записан дважды").arg(twice)};
        QStringList known = {kFormatKey, kVersionKey, kCountKey};
        if (version >= 2) known << kBasisKey << kContractFractionKey;
        for (const calc::FieldInfo &field : calc::claimFields())
            if (field.fileKey && (version >= 2 || field.field < F::Arose))
                known << QString::fromLatin1(field.fileKey); // format 1: no arose, no housing
        onlyKeys(o, known, QString());
        calc::PeriodInput c;
        c.debt = amount(o, key(F::Debt));
        c.start = day(o, key(F::From));
        c.end = day(o, key(F::To));
        c.court = named(kCourtNames, o, key(F::Court));
        c.filed = day(o, key(F::Filed));
        c.count = named(kCountNames, o, kCountKey);
        // A legal basis of its own, laid out as the count says.
        if (o.contains(kBasisKey)) {
            c.basis = text(o, kBasisKey);
            QString own;
            if (!calc::presetNamed(c.basis) || calc::countOfBasis(c.basis, own) != c.count ||
                own != c.basis)
                throw Damaged{
                    QStringLiteral("\"%1\": неизвестное значение \"%2\"").arg(kBasisKey, c.basis)};
        }
        c.dailyPercent = text(o, key(F::PenaltyDaily));
        calc::Decimal daily;
        if (c.count == calc::PeriodCount::Contractual && c.basis.isEmpty() &&
            !calc::readDecimal(c.dailyPercent, calc::kMaxRateDigits, daily))
            throw Damaged{QStringLiteral("\"%1\": \"%2\" — не процент в день")
                              .arg(key(F::PenaltyDaily), c.dailyPercent)};
        const calc::FieldInfo &fraction = calc::fieldInfo(F::KeyFraction);
        c.fraction = int(integer(o, key(F::KeyFraction), fraction.low, fraction.high));
        c.rateDate = day(o, key(F::RateDate), true);
        c.moratorium = yesNo(o, key(F::Moratorium));
        if (version >= 2) c.arose = day(o, key(F::Arose), true);
        c.payments = entries(o, key(F::Payments), version >= 2 ? QStringLiteral("month") : "");
        c.increases = entries(o, key(F::Increases), version >= 2 ? QStringLiteral("arose") : "");
        // The housing penalty's keys came later in format 2: a file without
        // them counts as before.
        const auto has = [&o](F f) { return o.contains(key(f)); };
        if (has(F::Charges)) c.charges = charges(o, key(F::Charges));
        if (has(F::RateDay)) c.rateDay = named(kRateDayNames, o, key(F::RateDay));
        if (has(F::DueDay)) c.dueDay = int(integer(o, key(F::DueDay), 0, 31));
        if (has(F::Shift)) c.shift = yesNo(o, key(F::Shift));
        if (has(F::Moratorium2020)) c.moratorium2020 = yesNo(o, key(F::Moratorium2020));
        if (has(F::CourtOrder)) c.courtOrder = yesNo(o, key(F::CourtOrder));
        if (has(F::FeeExemption)) c.feeExemption = yesNo(o, key(F::FeeExemption));
        if (has(F::CapPercent)) {
            c.capPercent = text(o, key(F::CapPercent));
            if (!calc::readDecimal(c.capPercent, calc::kMaxRateDigits, daily))
                throw Damaged{QStringLiteral("\"%1\": \"%2\" — не процент")
                                  .arg(key(F::CapPercent), c.capPercent)};
        }
        if (has(F::Cap)) c.capAmount = amount(o, key(F::Cap));
        if (has(F::Fulfilled)) c.fulfilled = amount(o, key(F::Fulfilled));
        if (o.contains(kContractFractionKey))
            c.contractFraction =
                int(integer(o, kContractFractionKey, calc::kMinFraction, calc::kWagesFraction - 1));
        if (const QString many =
                calc::entryCountProblem(c.payments.size() + c.increases.size() + c.charges.size(),
                                        QStringLiteral("оплат, увеличений долга и начислений"));
            !many.isEmpty())
            throw Damaged{many};
        return c;
    } catch (const Damaged &d) {
        throw AppError(QStringLiteral("файл поврежден: %1").arg(d.why));
    }
}

void saveClaim(const QString &path, const calc::PeriodInput &claim) {
    const QString failed = saveFile(path, encodeClaim(claim));
    if (!failed.isEmpty())
        throw AppError(QStringLiteral("Не удается сохранить расчет в файл \"%1\": %2")
                           .arg(QDir::toNativeSeparators(path), failed));
}

calc::PeriodInput loadClaim(const QString &path) {
    const QString name = QDir::toNativeSeparators(path);
    const FileBytes file = readRegularFile(path, kMaxClaimBytes);
    switch (file.status) {
    case FileBytes::Status::Read:
        break;
    case FileBytes::Status::TooLarge:
        throw AppError(QStringLiteral("Файл \"%1\" слишком велик для файла расчета").arg(name));
    case FileBytes::Status::CannotOpen:
    case FileBytes::Status::ReadFailed:
        throw AppError(QStringLiteral("Не удается открыть файл \"%1\": %2").arg(name, file.reason));
    }
    try {
        return decodeClaim(file.bytes);
    } catch (const AppError &e) {
        throw AppError(QStringLiteral("Файл расчета \"%1\": %2").arg(name, e.message()));
    }
}

} // namespace storage
