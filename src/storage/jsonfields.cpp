// SPDX-License-Identifier: GPL-3.0-or-later
#include "jsonfields.h"

#include "calc/money.h"

#include <QJsonArray>
#include <QSet>
#include <cmath>

namespace storage::json {
namespace {

QJsonArray list(const QJsonObject &o, const QString &name) {
    const QJsonValue v = value(o, name);
    if (!v.isArray()) throw Damaged{QStringLiteral("\"%1\" должен быть списком").arg(name)};
    return v.toArray();
}

} // namespace

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

QDate day(const QJsonObject &o, const QString &name, bool optional) {
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

QDate month(const QJsonObject &o, const QString &name) {
    const QString t = text(o, name);
    const QDate d = t.size() == 7 ? QDate::fromString(t, QStringLiteral("yyyy-MM")) : QDate();
    if (!d.isValid()) throw Damaged{QStringLiteral("\"%1\": \"%2\" — не месяц").arg(name, t)};
    return d;
}

QList<calc::Charge> readCharges(const QJsonObject &o, const QString &name) {
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

QList<calc::DaySpan> readSpans(const QJsonObject &o, const QString &name, qsizetype most) {
    QList<calc::DaySpan> out;
    const QString where = QStringLiteral(" в списке \"%1\"").arg(name);
    const QJsonArray spans = list(o, name);
    if (spans.size() > most)
        throw Damaged{QStringLiteral("в списке \"%1\" больше %2 записей").arg(name).arg(most)};
    for (const QJsonValue &v : spans) {
        if (!v.isObject()) throw Damaged{QStringLiteral("в списке \"%1\" не запись").arg(name)};
        const QJsonObject e = v.toObject();
        onlyKeys(e, {QStringLiteral("from"), QStringLiteral("to")}, where);
        out.append({day(e, QStringLiteral("from")), day(e, QStringLiteral("to"))});
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
QList<calc::Payment> readEntries(const QJsonObject &o, const QString &name, const QString &extra) {
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

} // namespace storage::json
