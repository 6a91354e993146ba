// SPDX-License-Identifier: GPL-3.0-or-later
#include "courtorder.h"

#include "datedlines.h"

#include <QList>

namespace law {
namespace {

struct Limits {
    QDate from;
    qint64 general = 0, arbitration = 0;
};

// The table's lines, oldest first; empty when a line is not two sums.
QList<Limits> readLimits() {
    QList<DatedLine> lines;
    QString problem;
    QList<Limits> out;
    if (!readDatedLines(resourceText(QStringLiteral(":/law/court-order-limits.txt")), lines,
                        problem))
        return out;
    for (const DatedLine &line : lines) {
        const QStringList sums = line.value.split(u';');
        bool general = false, arbitration = false;
        Limits limits{line.day, sums.value(0).trimmed().toLongLong(&general),
                      sums.value(1).trimmed().toLongLong(&arbitration)};
        if (sums.size() != 2 || !general || !arbitration || limits.general <= 0 ||
            limits.arbitration <= 0 || (!out.isEmpty() && line.day <= out.last().from))
            return {};
        out.append(limits);
    }
    return out;
}

} // namespace

qint64 courtOrderLimit(bool arbitration, QDate filed) {
    static const QList<Limits> table = readLimits();
    qint64 limit = 0;
    for (const Limits &l : table)
        if (l.from <= filed) limit = arbitration ? l.arbitration : l.general;
    return limit;
}

} // namespace law
