// SPDX-License-Identifier: GPL-3.0-or-later
// Arbitrary bytes from the network through the page parser, the pair reader
// and the key rate reader.
#include "rates/periodkey.h"
#include "rates/ratetable.h"
#include "update/htmldoc.h"
#include "update/keyratepage.h"
#include "update/ratepage.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // The first byte picks the charset the server would have announced.
    static const char *const charsets[] = {"", "utf-8", "windows-1251", "koi8-r", "x-bogus"};
    const QString charset = size > 0 ? QString::fromLatin1(charsets[data[0] % 5]) : QString();
    const update::HtmlDocument doc = update::HtmlDocument::parse(bytes, charset);
    (void)update::isRatePage(doc);
    const QStringList lines = update::readRatePairs(update::ratePageCells(doc));
    rates::RateTable table;
    table.setLines(lines); // raises on a repeated key: the reader must never give one
    for (int i = 0; i < table.count(); ++i) {
        QDate d;
        if (!rates::keyDate(table.keyView(i), d))
            abort(); // every key it writes is one the lookup reads
    }
    // The key rate reader on the same page: its changes come sorted, one a
    // day, and make a table the lookup reads.
    const QList<rates::RateChange> changes = update::readKeyRateChanges(doc);
    for (qsizetype i = 1; i < changes.size(); ++i)
        if (!(changes[i - 1].date < changes[i].date)) abort();
    rates::RateTable keyTable;
    keyTable.setLines(rates::keyRateTable(changes, lines));
    return 0;
}
