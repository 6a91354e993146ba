// SPDX-License-Identifier: GPL-3.0-or-later
#include "numericlocale.h"

#include <clocale>
#include <locale.h>

void keepNumbersInCForm() {
    std::setlocale(LC_NUMERIC, "C");
}

NumbersInCForm::NumbersInCForm() {
    // The process's locale with the C form of numbers: text stays as it was.
    const locale_t base = duplocale(LC_GLOBAL_LOCALE);
    const locale_t c = base ? newlocale(LC_NUMERIC_MASK, "C", base) : locale_t(nullptr);
    if (!c && base) freelocale(base); // kept by newlocale only when it succeeds
    c_ = c;
    before_ = c ? uselocale(c) : nullptr;
}

NumbersInCForm::~NumbersInCForm() {
    if (!c_) return;
    uselocale(locale_t(before_));
    freelocale(locale_t(c_));
}
