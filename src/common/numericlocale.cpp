// SPDX-License-Identifier: GPL-3.0-or-later
#include "numericlocale.h"

#include <clocale>
#include <locale.h>

void keepNumbersInCForm() {
    std::setlocale(LC_NUMERIC, "C");
}

// The C locale whole: a locale of mixed categories gets a composite name,
// which the C library never frees. The writer's text is UTF-8 bytes, which
// no category changes.
NumbersInCForm::NumbersInCForm()
    : c_(newlocale(LC_ALL_MASK, "C", locale_t(nullptr))),
      before_(c_ ? uselocale(locale_t(c_)) : nullptr) {}

NumbersInCForm::~NumbersInCForm() {
    if (!c_) return;
    uselocale(locale_t(before_));
    freelocale(locale_t(c_));
}
