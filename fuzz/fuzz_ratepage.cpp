// Arbitrary bytes from the network through the page parser and the pair reader.
#include "rates/htmldoc.h"
#include "rates/periodkey.h"
#include "rates/ratepage.h"
#include "rates/ratetable.h"

#include <QByteArray>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    // The first byte picks the charset the server would have announced.
    static const char *const charsets[] = {"", "utf-8", "windows-1251", "koi8-r", "x-bogus"};
    const QString charset = size > 0 ? QString::fromLatin1(charsets[data[0] % 5]) : QString();
    const rates::HtmlDocument doc = rates::HtmlDocument::parse(bytes, charset);
    (void)rates::isRatePage(doc);
    const QStringList lines = rates::readRatePairs(rates::ratePageCells(doc));
    rates::RateTable table;
    table.setLines(lines); // raises on a repeated key: the reader must never give one
    for (int i = 0; i < table.count(); ++i) {
        QDate d;
        if (!rates::keyDate(table.keyView(i), d))
            abort(); // every key it writes is one the lookup reads
    }
    return 0;
}
