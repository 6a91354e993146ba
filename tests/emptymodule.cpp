// SPDX-License-Identifier: GPL-3.0-or-later
// A module of this version whose entry point makes nothing.
#include "common/module.h"

DOLGOMER_EXPORT_MODULE_VERSION()

extern "C" Q_DECL_EXPORT void *dolgomerMakeRateSource() {
    return nullptr;
}
