// SPDX-License-Identifier: GPL-3.0-or-later
// Built into the test modules of another version: a constructor that leaves
// a mark when the module is loaded, which must never happen.
#include <cstdio>
#include <cstdlib>

namespace {

__attribute__((constructor)) void leaveMark() {
    if (const char *path = std::getenv("DOLGOMER_TEST_MODULE_MARK"))
        if (FILE *f = std::fopen(path, "w")) std::fclose(f);
}

} // namespace
