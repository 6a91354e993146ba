// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <memory>

// Parts of the program that are loaded when first used (the rate update, the
// printing), so that a start pays neither for them nor for the libraries
// they bring. A module and the program must come from one build: the objects
// they hand each other have no stable layout. So every module exports the
// version it was built as, and the loader calls nothing in a module of
// another version. DOLGOMER_MODULE_VERSION comes from the project's version.

// Put once into every module: its version, the first thing the loader asks.
#define DOLGOMER_EXPORT_MODULE_VERSION()                                                           \
    extern "C" Q_DECL_EXPORT int dolgomerModuleVersion() {                                         \
        return DOLGOMER_MODULE_VERSION;                                                            \
    }

// Where modules are looked for: beside the program, then where they are
// installed as seen from the program's folder (the build lays them out the
// same way).
QStringList moduleFolders();

// The entry point `symbol` of the module "lib<module>.so" in the first of
// `folders` that has it; the module stays loaded for the objects it makes.
// Raises AppError naming the module when it is missing, cannot be loaded,
// lacks the entry point or is of another version.
QFunctionPointer moduleEntry(const QStringList &folders, const char *module, const char *symbol);

// The same in moduleFolders(), typed.
template <class Function> Function *moduleEntry(const char *module, const char *symbol) {
    return reinterpret_cast<Function *>(moduleEntry(moduleFolders(), module, symbol));
}

// An object made by a module's entry point `symbol` (a function without
// arguments returning a new Object, or null); the entry point is looked up
// on the first call.
template <class Object>
std::unique_ptr<Object> makeInModule(const char *module, const char *symbol) {
    using Make = Object *();
    static Make *const make = moduleEntry<Make>(module, symbol);
    return std::unique_ptr<Object>(make());
}
