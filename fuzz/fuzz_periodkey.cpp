// SPDX-License-Identifier: GPL-3.0-or-later
// Period keys and date texts of any shape.
#include "common/apperror.h"
#include "common/dates.h"
#include "rates/periodkey.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QDate viaText;
    bool converted = false;
    try {
        const QString once = rates::convertPeriodKey(text);
        converted = parseDateText(once, viaText);
        (void)rates::convertPeriodKey(once);
    } catch (const AppError &) {
    }
    // The lookup's shortcut must agree with converting and reading the date text.
    QDate direct;
    const bool ok = rates::keyDate(text, direct);
    if (ok != converted || (ok && direct != viaText)) abort();
    return 0;
}
