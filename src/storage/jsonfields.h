// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "calc/periodinterest.h"

#include <QByteArray>
#include <QDate>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
#include <QStringList>
#include <utility>

// A saved claim's fields as JSON gives them: each reader takes a value of
// its one JSON type, or says which key is wrong.
namespace storage::json {

// What is wrong with a file, as its reader finds it.
struct Damaged {
    QString why;
};

// The first key written twice in one object, which a JSON reader would
// otherwise take silently as its last value (empty: none).
QString duplicateKey(const QByteArray &json);

QJsonValue value(const QJsonObject &o, const QString &name);
QString text(const QJsonObject &o, const QString &name);
QString amount(const QJsonObject &o, const QString &name); // roubles, as text
QDate day(const QJsonObject &o, const QString &name, bool optional = false);
QDate month(const QJsonObject &o, const QString &name);
bool yesNo(const QJsonObject &o, const QString &name);
// A whole number from `low` to `high`, written as a JSON number.
qint64 integer(const QJsonObject &o, const QString &name, qint64 low, qint64 high);
// Raises Damaged for a key not in `known`, named with `where`.
void onlyKeys(const QJsonObject &o, const QStringList &known, const QString &where);
QList<calc::Charge> readCharges(const QJsonObject &o, const QString &name);
// Spans of days {"from", "to"}, at most `most` of them.
QList<calc::DaySpan> readSpans(const QJsonObject &o, const QString &name, qsizetype most);
// The dated amounts of a list, each with at most one more key (`extra`).
QList<calc::Payment> readEntries(const QJsonObject &o, const QString &name, const QString &extra);

// A value of `names` (a table of values and their names) by its name.
template <typename T, size_t N>
T named(const std::pair<T, const char *> (&names)[N], const QJsonObject &o, const QString &name) {
    const QString t = text(o, name);
    for (const auto &[v, n] : names)
        if (t == QLatin1String(n)) return v;
    throw Damaged{QStringLiteral("\"%1\": неизвестное значение \"%2\"").arg(name, t)};
}

} // namespace storage::json
