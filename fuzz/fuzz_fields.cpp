// SPDX-License-Identifier: GPL-3.0-or-later
// The typed-field rules: whatever arrives, the kept text reads as a number.
#include "calc/inputfield.h"
#include "calc/numtext.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString kept = calc::longestNumberPrefix(text);
    long double v = 0;
    if (!kept.isEmpty() && !calc::tryReadNumber(kept, v)) abort();
    if (!text.startsWith(kept)) abort();
    const QString cleaned = calc::normalisedNumber(kept, QStringLiteral("0"));
    if (!calc::tryReadNumber(cleaned, v)) abort();
    (void)calc::normalisedAmount(kept);
    for (QChar c : text)
        (void)calc::filterTypedKey(c);
    return 0;
}
