// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a number and writing it back in every form.
#include "calc/numtext.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    long double v = 0;
    if (calc::tryReadNumber(text, v)) {
        const QString general = calc::generalForm(v);
        long double back = 0;
        // The general form is itself a number text.
        if (!calc::tryReadNumber(general, back)) abort();
        (void)calc::generalForm(v, 4);
        (void)calc::amountForm(v);
    }
    return 0;
}
