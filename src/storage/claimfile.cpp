// SPDX-License-Identifier: GPL-3.0-or-later
#include "claimfile.h"

#include "common/apperror.h"
#include "savedfile.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <iterator>
#include <utility>

namespace storage {
namespace {

const QString kFormat = QStringLiteral("dolgomer-claim");
// Far larger than any claim; a file past it is not one.
constexpr qint64 kMaxClaimBytes = 16 * 1024 * 1024;

struct Damaged {
    QString why;
};

QString dayText(QDate d) {
    return d.toString(Qt::ISODate);
}

QDate day(const QJsonObject &o, const QString &key, bool optional = false) {
    const QJsonValue v = o.value(key);
    if (optional && (v.isUndefined() || v.isNull())) return QDate();
    const QDate d = QDate::fromString(v.toString(), Qt::ISODate);
    if (!d.isValid()) throw Damaged{QStringLiteral("нет даты \"%1\"").arg(key)};
    return d;
}

QString text(const QJsonObject &o, const QString &key) {
    const QJsonValue v = o.value(key);
    if (!v.isString()) throw Damaged{QStringLiteral("нет поля \"%1\"").arg(key)};
    return v.toString();
}

QJsonArray entries(const QList<calc::Payment> &list) {
    QJsonArray out;
    for (const calc::Payment &p : list)
        out.append(QJsonObject{{QStringLiteral("date"), dayText(p.date)},
                               {QStringLiteral("amount"), p.amount}});
    return out;
}

QList<calc::Payment> entries(const QJsonObject &o, const QString &key) {
    QList<calc::Payment> out;
    for (const QJsonValue &v : o.value(key).toArray()) {
        const QJsonObject e = v.toObject();
        out.append({day(e, QStringLiteral("date")), text(e, QStringLiteral("amount"))});
    }
    return out;
}

// What is counted, as the file names it; one table both ways.
const std::pair<calc::PeriodCount, const char *> kCountNames[] = {
    {calc::PeriodCount::Statutory, "statutory"},
    {calc::PeriodCount::Contractual, "contractual"},
    {calc::PeriodCount::KeyFraction, "key_fraction"},
};

QString countName(calc::PeriodCount count) {
    for (const auto &[c, name] : kCountNames)
        if (c == count) return QString::fromLatin1(name);
    return QString::fromLatin1(kCountNames[0].second);
}

} // namespace

QByteArray encodeClaim(const calc::PeriodInput &c) {
    QJsonObject o{
        {QStringLiteral("format"), kFormat},
        {QStringLiteral("version"), kClaimFormatVersion},
        {QStringLiteral("debt"), c.debt},
        {QStringLiteral("start"), dayText(c.start)},
        {QStringLiteral("end"), dayText(c.end)},
        {QStringLiteral("court"), c.court == calc::Court::Arbitration
                                      ? QStringLiteral("arbitration")
                                      : QStringLiteral("general")},
        {QStringLiteral("filed"), dayText(c.filed)},
        {QStringLiteral("count"), countName(c.count)},
        {QStringLiteral("daily_percent"), c.dailyPercent},
        {QStringLiteral("key_fraction"), c.fraction},
        {QStringLiteral("rate_date"),
         c.rateDate.isValid() ? QJsonValue(dayText(c.rateDate)) : QJsonValue()},
        {QStringLiteral("moratorium"), c.moratorium},
        {QStringLiteral("payments"), entries(c.payments)},
        {QStringLiteral("increases"), entries(c.increases)},
    };
    return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

calc::PeriodInput decodeClaim(const QByteArray &bytes) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
    if (doc.isNull() || !doc.isObject())
        throw AppError(
            QStringLiteral("файл поврежден: это не файл расчета (%1)").arg(error.errorString()));
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("format")).toString() != kFormat)
        throw AppError(QStringLiteral("файл поврежден: это не файл расчета Долгомера"));
    const int version = o.value(QStringLiteral("version")).toInt(0);
    if (version > kClaimFormatVersion)
        throw AppError(QStringLiteral("файл сохранен более новой версией программы (формат %1, "
                                      "эта версия читает формат %2); обновите программу")
                           .arg(version)
                           .arg(kClaimFormatVersion));
    try {
        if (version < 1) throw Damaged{QStringLiteral("нет версии формата")};
        calc::PeriodInput c;
        c.debt = text(o, QStringLiteral("debt"));
        c.start = day(o, QStringLiteral("start"));
        c.end = day(o, QStringLiteral("end"));
        const QString court = text(o, QStringLiteral("court"));
        if (court != QStringLiteral("arbitration") && court != QStringLiteral("general"))
            throw Damaged{QStringLiteral("неизвестный суд \"%1\"").arg(court)};
        c.court = court == QStringLiteral("general") ? calc::Court::GeneralJurisdiction
                                                     : calc::Court::Arbitration;
        c.filed = day(o, QStringLiteral("filed"));
        const QString count = text(o, QStringLiteral("count"));
        const auto known =
            std::find_if(std::begin(kCountNames), std::end(kCountNames),
                         [&](const auto &n) { return count == QLatin1String(n.second); });
        if (known == std::end(kCountNames))
            throw Damaged{QStringLiteral("неизвестный вид расчета \"%1\"").arg(count)};
        c.count = known->first;
        c.dailyPercent = o.value(QStringLiteral("daily_percent")).toString();
        c.fraction = o.value(QStringLiteral("key_fraction")).toInt(300);
        c.rateDate = day(o, QStringLiteral("rate_date"), true);
        c.moratorium = o.value(QStringLiteral("moratorium")).toBool(true);
        c.payments = entries(o, QStringLiteral("payments"));
        c.increases = entries(o, QStringLiteral("increases"));
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
    QFile file(path);
    const QString name = QDir::toNativeSeparators(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(
            QStringLiteral("Не удается открыть файл \"%1\": %2").arg(name, file.errorString()));
    if (file.size() > kMaxClaimBytes)
        throw AppError(QStringLiteral("Файл \"%1\" слишком велик для файла расчета").arg(name));
    try {
        return decodeClaim(file.readAll());
    } catch (const AppError &e) {
        throw AppError(QStringLiteral("Файл расчета \"%1\": %2").arg(name, e.message()));
    }
}

} // namespace storage
