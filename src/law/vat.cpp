// SPDX-License-Identifier: GPL-3.0-or-later
#include "vat.h"

#include "datedlines.h"

#include <QList>
#include <utility>

namespace law {
namespace {

using VatChanges = QList<std::pair<QDate, int>>; // oldest first

VatChanges readVat() {
    QList<DatedLine> lines;
    QString problem;
    VatChanges out;
    if (!readDatedLines(resourceText(QStringLiteral(":/law/vat.txt")), lines, problem)) return out;
    for (const DatedLine &line : lines) {
        bool ok = false;
        const int percent = line.value.toInt(&ok);
        if (!ok || percent < 0 || percent > 100 || (!out.isEmpty() && line.day <= out.last().first))
            return {};
        out.append({line.day, percent});
    }
    return out;
}

} // namespace

int vatPercentOn(QDate day) {
    static const VatChanges changes = readVat();
    if (changes.isEmpty()) return 0;
    int percent = changes.first().second;
    for (const auto &[from, rate] : changes)
        if (from <= day) percent = rate;
    return percent;
}

} // namespace law
