// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a rate file of arbitrary bytes, then running the lookup over it.
#include "common/apperror.h"
#include "rates/ratelookup.h"
#include "rates/userrates.h"
#include "storage/ratefile.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/stavki.txt");
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) abort();
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    }
    rates::RateTable table;
    try {
        rates::loadRateFile(path, table);
    } catch (const AppError &) {
    }
    // Keys stay unique whatever the file held.
    try {
        rates::RateTable copy;
        copy.setLines(table.lines());
    } catch (const AppError &) {
        abort();
    }
    (void)rates::planRateLookup(table, QDate(2010, 1, 1));
    for (int i = 0; i < table.count() && i < 50; ++i)
        (void)rates::normaliseRow(table.key(i), table.rate(i));
    (void)storage::decodeRateFile(storage::encodeRateFile(table.lines()));
    return 0;
}
