// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratetable.h"

#include "common/apperror.h"

#include <QSet>

namespace rates {

RateTable RateTable::builtIn() {
    RateTable t;
    t.lines_ = {
        QStringLiteral("с 28 декабря 2009 г.=8,75"),  QStringLiteral("с 25 ноября 2009 г. =9"),
        QStringLiteral("с 30 октября 2009 г.=9,5 "),  QStringLiteral("с 30 сентября 2009 г.=10  "),
        QStringLiteral("с 15 сентября 2009 г.=10,5"), QStringLiteral("с 10 августа 2009 г.=10,75"),
        QStringLiteral("с 13 июля 2009 г.=11  "),     QStringLiteral("с 5 июня 2009 г.=11,5"),
        QStringLiteral("с 14 мая 2009 г.=12  "),      QStringLiteral("с 24 апреля 2009 г.=12,5"),
        QStringLiteral("с 1 декабря 2008 г.=13  "),   QStringLiteral("с 12 ноября 2008 г.=12  "),
        QStringLiteral("с 14 июля 2008 г.=11,00"),    QStringLiteral("с 10 июня 2008 г.=10,75"),
        QStringLiteral("с 29 апреля 2008 г.=10,5"),   QStringLiteral("с 4 февраля 2008 г.=10,25"),
        QStringLiteral("с 19 июня 2007 г.=10"),       QStringLiteral("с 29 января 2007 г.=10,5"),
        QStringLiteral("с 23 октября 2006 г.=11,0"),  QStringLiteral("с 26 июня 2006 г.=11,5"),
        QStringLiteral("с 26 декабря 2005 г.=12"),    QStringLiteral("с 15 июня 2004 г.=13"),
        QStringLiteral("с 15 января 2004 г.=14"),     QStringLiteral("с 21 июня 2003 г.=16"),
        QStringLiteral("с 17 февраля 2003 г.=18"),    QStringLiteral("с 7 августа 2002 г.=21"),
        QStringLiteral("с 9 апреля 2002 г.=23"),      QStringLiteral("с 4 ноября 2000 г.=25"),
        QStringLiteral("с 10 июля 2000 г.=28"),       QStringLiteral("с 21 марта 2000 г.=33"),
        QStringLiteral("с 7 марта 2000 г.=38"),       QStringLiteral("с 24 января 2000 г.=45"),
        QStringLiteral("с 10 июня 1999 г.=55"),
    };
    return t;
}

QString RateTable::keyOf(const QString &line) {
    const qsizetype eq = line.indexOf(u'=');
    return eq < 0 ? line : line.left(eq);
}

QString RateTable::key(int i) const {
    return keyOf(lines_[i]);
}

QStringView RateTable::keyView(int i) const {
    const QString &l = lines_[i];
    const qsizetype eq = l.indexOf(u'=');
    return eq < 0 ? QStringView(l) : QStringView(l).first(eq);
}

QString RateTable::rate(int i) const {
    const QString &l = lines_[i];
    const qsizetype eq = l.indexOf(u'=');
    return eq < 0 ? QString() : l.mid(eq + 1);
}

int RateTable::find(const QString &key, int except) const {
    if (key.isEmpty()) return -1;
    for (int i = 0; i < count(); ++i) {
        if (i != except && keyOf(lines_[i]).compare(key, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

void RateTable::requireUnique(const QString &line, int except) const {
    const QString k = keyOf(line);
    if (find(k, except) >= 0)
        throw AppError(QStringLiteral("Запись с ключом \"%1\" уже есть в таблице").arg(k));
}

QStringList withoutRepeatedKeys(const QStringList &lines, QString *firstRepeat) {
    QStringList kept;
    kept.reserve(lines.size());
    QSet<QString> seen;
    seen.reserve(lines.size());
    QString repeat;
    for (const QString &line : lines) {
        const QString key = RateTable::keyOf(line);
        if (!key.isEmpty()) {
            const QString folded = key.toCaseFolded();
            if (seen.contains(folded)) {
                if (repeat.isNull()) repeat = key;
                continue;
            }
            seen.insert(folded);
        }
        kept.append(line);
    }
    if (firstRepeat) *firstRepeat = repeat;
    return kept;
}

void RateTable::setLines(const QStringList &lines) {
    QString repeat;
    withoutRepeatedKeys(lines, &repeat);
    if (!repeat.isNull())
        throw AppError(QStringLiteral("Запись с ключом \"%1\" уже есть в таблице").arg(repeat));
    lines_ = lines;
}

QString RateTable::setLinesDroppingRepeats(const QStringList &lines) {
    QString repeat;
    lines_ = withoutRepeatedKeys(lines, &repeat);
    return repeat;
}

void RateTable::insertTop(const QString &line) {
    if (!lines_.isEmpty() && lines_.first().isEmpty()) {
        replace(0, line);
        return;
    }
    requireUnique(line, -1);
    lines_.prepend(line);
}

void RateTable::replace(int i, const QString &line) {
    requireUnique(line, i);
    lines_[i] = line;
}

void RateTable::remove(int i) {
    lines_.removeAt(i);
}

void RateTable::setRate(int i, const QString &rate) {
    lines_[i] = key(i) + u'=' + rate;
}

} // namespace rates
