// SPDX-License-Identifier: GPL-3.0-or-later
#include "numericlocale.h"

#include <clocale>

void keepNumbersInCForm() {
    std::setlocale(LC_NUMERIC, "C");
}
