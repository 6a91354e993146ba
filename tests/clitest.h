// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Claims given as the command line and a batch give them, counted with fixed
// defaults.
#include "bulk/batch.h"
#include "bulk/claimrequest.h"
#include "bulk/csvtable.h"

#include <QBuffer>
#include <QStringList>

namespace {

using namespace bulk;

// Defaults fixed here: the built-in table, the window's own stored values.
inline Defaults fixedDefaults() {
    Defaults d;
    d.today = QDate(2010, 1, 30);
    d.table = rates::RateTable::builtIn();
    return d;
}

// `options` as given on the command line ("--name=value", or a flag), read
// by the field table as the command line reads them.
ClaimRequest request(const QStringList &options) {
    ClaimRequest given;
    for (const QString &o : options)
        for (const calc::FieldInfo &f : calc::claimFields()) {
            if (f.option && o.section(u'=', 0, 0) == QLatin1String(f.option))
                given.set(f.field, o.section(u'=', 1), f.option, true);
            for (const calc::FieldFlag &flag : f.flags)
                if (flag.option && o == QLatin1String(flag.option))
                    given.set(f.field, flag.value, o);
        }
    return given;
}

// The options are every row's defaults.
QList<QStringList> batch(const QByteArray &csv, int *failed = nullptr,
                         const QStringList &options = {}) {
    const ClaimRequest given = request(options);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    const int f = runBatch(csv, out, fixedDefaults(), &given);
    if (failed) *failed = f;
    QList<QStringList> rows;
    readCsv(out.data(), rows);
    return rows;
}

} // namespace
