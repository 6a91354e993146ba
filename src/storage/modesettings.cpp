// SPDX-License-Identifier: GPL-3.0-or-later
#include "modesettings.h"

#include "calc/numtext.h"
#include "common/apperror.h"
#include "settings.h"

namespace storage {
namespace {

const QString kDivisorSetting = QStringLiteral("k_stav");
const QString kDailyRateSetting = QStringLiteral("dogovor");

// A stored setting that cannot be read counts as missing.
QString storedSetting(const QString &name) {
    try {
        return readSetting(kSettingsKey, false, name);
    } catch (const AppError &) {
        return QString();
    }
}

// A whole decimal number: optional leading blanks, a sign, digits.
bool readInteger(const QString &text, int &value) {
    QStringView rest(text);
    while (!rest.isEmpty() && rest.front() == u' ')
        rest = rest.sliced(1);
    if (rest.isEmpty()) return false;
    for (qsizetype k = 0; k < rest.size(); ++k) {
        const char16_t c = rest[k].unicode();
        const bool sign = k == 0 && (c == u'+' || c == u'-');
        if (!sign && (c < u'0' || c > u'9')) return false;
    }
    bool ok = false;
    value = rest.toInt(&ok);
    return ok;
}

} // namespace

int storedDivisor() {
    int v = 0;
    const bool ok = readInteger(storedSetting(kDivisorSetting), v);
    return ok && v > 0 && v < 370 ? v : kDefaultDivisor;
}

QString storedDailyRate() {
    long double x = 0;
    const bool ok = calc::tryReadNumber(storedSetting(kDailyRateSetting), x);
    return ok && x > 0 && x < 500 ? calc::decimalForm(x, 4) : kDefaultDailyRate;
}

void storeModeValues(const QString &divisor, const QString &dailyRate) {
    writeSetting(kSettingsKey, true, kDivisorSetting, divisor);
    writeSetting(kSettingsKey, true, kDailyRateSetting, dailyRate);
}

} // namespace storage
