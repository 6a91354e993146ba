// Period keys and date texts of any shape.
#include "calc/apperror.h"
#include "rates/periodkey.h"

#include <QString>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    QDate d;
    (void)rates::ParseDateText(text, d);
    try {
        const QString once = rates::PeriodKeyConvert(text);
        (void)rates::PeriodKeyConvert(once);
    } catch (const AppError &) {
    }
    (void)rates::KeyDate(text, d);
    return 0;
}
