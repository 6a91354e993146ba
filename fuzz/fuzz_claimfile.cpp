// SPDX-License-Identifier: GPL-3.0-or-later
// A claim file of arbitrary bytes: it is refused with a message or read, and
// what is read is written back so that it reads back the same and counts
// (or refuses to count) the same way.
#include "calc/periodinterest.h"
#include "common/apperror.h"
#include "storage/claimfile.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    calc::PeriodInput claim;
    try {
        claim = storage::decodeClaim(bytes);
    } catch (const AppError &) {
        return 0;
    }
    const QByteArray again = storage::encodeClaim(claim);
    if (storage::encodeClaim(storage::decodeClaim(again)) != again) abort();
    // A claim over centuries costs the calculation minutes, not a failure.
    if (claim.start.daysTo(claim.end) > 40000) return 0;
    claim.rates = {{QDate(2000, 1, 1), QStringLiteral("8,75")}};
    try {
        calc::calculatePeriods(claim);
    } catch (const AppError &) {
    }
    return 0;
}
