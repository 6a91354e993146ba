// SPDX-License-Identifier: GPL-3.0-or-later
#include "claimfile.h"

#include "calc/claimfields.h"
#include "calc/presets.h"
#include "calc/userwindows.h"
#include "common/apperror.h"
#include "jsonfields.h"
#include "regularfile.h"
#include "savedfile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cmath>
#include <utility>

namespace storage {
namespace {

using namespace storage::json;

const QString kFormat = QStringLiteral("dolgomer-claim");
// A claim of the most payments and increases the program takes is about
// 0.7 MB; a file far past that is not one, and parsing it whole would cost
// tens of times its size in memory.
constexpr qint64 kMaxClaimBytes = 4 * 1024 * 1024;

QString dayText(QDate d) {
    return d.toString(Qt::ISODate);
}

QString key(calc::ClaimField field) {
    return QString::fromLatin1(calc::fieldInfo(field).fileKey);
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

QJsonArray spans(const QList<calc::DaySpan> &list) {
    QJsonArray out;
    for (const calc::DaySpan &s : list)
        out.append(QJsonObject{{QStringLiteral("from"), dayText(s.from)},
                               {QStringLiteral("to"), dayText(s.to)}});
    return out;
}

QJsonArray charges(const QList<calc::Charge> &list) {
    QJsonArray out;
    for (const calc::Charge &c : list)
        out.append(QJsonObject{{QStringLiteral("month"), monthKey(c.month)},
                               {QStringLiteral("amount"), c.amount}});
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
        // What is counted, by the name the command line and a batch give it.
        {kBasisKey, c.basis.isEmpty() ? calc::countName(c.count) : c.basis},
        {key(F::Debt), c.debt},
        {key(F::From), dayText(c.start)},
        {key(F::To), dayText(c.end)},
        {key(F::Court), nameOf(kCourtNames, c.court)},
        {key(F::Filed), dayText(c.filed)},
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
    // A count's own terms, only when it has them: files without them open as before.
    if (c.contractFraction) o.insert(kContractFractionKey, c.contractFraction);
    if (!c.feeExemption) o.insert(key(F::FeeExemption), false);
    if (!c.continuing) o.insert(key(F::Continuing), false);
    if (c.claimBase) o.insert(key(F::ClaimBase), *c.claimBase);
    if (!c.windows.isEmpty()) o.insert(key(F::Windows), spans(c.windows));
    for (const auto &[field, text] :
         {std::pair{F::CapPercent, &c.capPercent}, std::pair{F::Cap, &c.capAmount},
          std::pair{F::Fulfilled, &c.fulfilled}, std::pair{F::InsuredSum, &c.insuredSum}})
        if (!text->isEmpty()) o.insert(key(field), *text);
    for (const calc::FieldInfo &field : calc::claimFields())
        if (const QString *party = calc::partyText(c.parties, field.field);
            party && !party->isEmpty())
            o.insert(key(field.field), *party);
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

namespace {

using F = calc::ClaimField;

QJsonObject claimObject(const QByteArray &bytes) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (doc.isNull())
        throw AppError(
            QStringLiteral("файл поврежден: это не файл расчета (%1)").arg(error.errorString()));
    if (!doc.isObject())
        throw AppError(QStringLiteral("файл поврежден: это не файл расчета (в нем список JSON, а "
                                      "не объект)"));
    QJsonObject o = doc.object();
    if (o.value(kFormatKey).toString() != kFormat)
        throw AppError(QStringLiteral("файл поврежден: это не файл расчета Долгомера"));
    return o;
}

// The format's version, one this program reads, and the file's keys all
// known to it, each once.
int formatVersion(const QJsonObject &o, const QByteArray &bytes) {
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
    QStringList known = {kFormatKey, kVersionKey};
    if (version <= 2) known << kCountKey; // format 3 names what is counted by its basis alone
    if (version >= 2) known << kBasisKey << kContractFractionKey;
    for (const calc::FieldInfo &field : calc::claimFields())
        if (field.fileKey && (version >= 2 || field.field < F::Arose) &&
            (version >= 3 || field.field < F::Windows) &&
            (version >= 4 || field.field < F::Claimant))
            known << QString::fromLatin1(field.fileKey); // format 1: no arose, no housing;
                                                         // 4 added the parties
    onlyKeys(o, known, QString());
    return int(version);
}

// Formats 1 and 2: what is counted by its count's name, a basis of its own
// beside it, laid out as the count says.
void readOlderCount(const QJsonObject &o, calc::PeriodInput &c) {
    c.count = named(kCountNames, o, kCountKey);
    if (o.contains(kBasisKey)) {
        c.basis = text(o, kBasisKey);
        QString own;
        if (!calc::presetNamed(c.basis) || calc::countOfBasis(c.basis, own) != c.count ||
            own != c.basis)
            throw Damaged{
                QStringLiteral("\"%1\": неизвестное значение \"%2\"").arg(kBasisKey, c.basis)};
    }
}

// The keys every format has (format 2 added the arose days and what
// payments and increases name).
void readFirstKeys(const QJsonObject &o, int version, calc::PeriodInput &c) {
    c.debt = amount(o, key(F::Debt));
    c.start = day(o, key(F::From));
    c.end = day(o, key(F::To));
    c.court = named(kCourtNames, o, key(F::Court));
    c.filed = day(o, key(F::Filed));
    if (version >= 3) {
        // Every count is a basis of the table, by its name.
        const QString name = text(o, kBasisKey);
        if (!calc::presetNamed(name))
            throw Damaged{
                QStringLiteral("\"%1\": неизвестное значение \"%2\"").arg(kBasisKey, name)};
        c.count = calc::countOfBasis(name, c.basis);
    } else {
        readOlderCount(o, c);
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
    c.payments = readEntries(o, key(F::Payments), version >= 2 ? QStringLiteral("month") : "");
    c.increases = readEntries(o, key(F::Increases), version >= 2 ? QStringLiteral("arose") : "");
}

// The keys that came later in format 2 (the housing penalty's, the caps,
// the fee's): a file without them counts as before.
void readLaterKeys(const QJsonObject &o, calc::PeriodInput &c) {
    const auto has = [&o](F f) { return o.contains(key(f)); };
    if (has(F::Charges)) c.charges = readCharges(o, key(F::Charges));
    if (has(F::RateDay)) c.rateDay = named(kRateDayNames, o, key(F::RateDay));
    if (has(F::DueDay)) c.dueDay = int(integer(o, key(F::DueDay), 0, 31));
    if (has(F::Shift)) c.shift = yesNo(o, key(F::Shift));
    if (has(F::Moratorium2020)) c.moratorium2020 = yesNo(o, key(F::Moratorium2020));
    if (has(F::CourtOrder)) c.courtOrder = yesNo(o, key(F::CourtOrder));
    if (has(F::FeeExemption)) c.feeExemption = yesNo(o, key(F::FeeExemption));
    if (has(F::CapPercent)) {
        c.capPercent = text(o, key(F::CapPercent));
        calc::Decimal percent;
        if (!calc::readDecimal(c.capPercent, calc::kMaxRateDigits, percent))
            throw Damaged{QStringLiteral("\"%1\": \"%2\" — не процент")
                              .arg(key(F::CapPercent), c.capPercent)};
    }
    if (has(F::Cap)) c.capAmount = amount(o, key(F::Cap));
    if (has(F::Fulfilled)) c.fulfilled = amount(o, key(F::Fulfilled));
    if (has(F::InsuredSum)) c.insuredSum = amount(o, key(F::InsuredSum));
    if (has(F::Continuing)) c.continuing = yesNo(o, key(F::Continuing));
    if (has(F::ClaimBase)) c.claimBase = yesNo(o, key(F::ClaimBase));
    if (has(F::Windows)) c.windows = readSpans(o, key(F::Windows), calc::kMaxUserWindows);
    for (const calc::FieldInfo &field : calc::claimFields())
        if (QString *party = calc::partyText(c.parties, field.field); party && has(field.field)) {
            *party = text(o, key(field.field));
            if (const QString wrong = calc::partyTextProblem(*party); !wrong.isEmpty())
                throw Damaged{QStringLiteral("\"%1\": %2").arg(key(field.field), wrong)};
        }
    if (o.contains(kContractFractionKey))
        c.contractFraction =
            int(integer(o, kContractFractionKey, calc::kMinFraction, calc::kWagesFraction - 1));
}

} // namespace

calc::PeriodInput decodeClaim(const QByteArray &bytes) {
    const QJsonObject o = claimObject(bytes);
    try {
        calc::PeriodInput c;
        readFirstKeys(o, formatVersion(o, bytes), c);
        readLaterKeys(o, c);
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
