// Reading a number and writing it back in every form.
#include "calc/numtext.h"

#include <QString>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    long double v = 0;
    if (calc::TryReadNumber(text, v)) {
        const QString general = calc::GeneralForm(v);
        long double back = 0;
        // The general form is itself a number text.
        if (!calc::TryReadNumber(general, back)) abort();
        (void)calc::GeneralForm(v, 4);
        (void)calc::AmountForm(v);
    }
    return 0;
}
