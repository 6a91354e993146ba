// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "apperror.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <memory>

// Parts of the program that are loaded when first used (the rate update, the
// printing, the spreadsheet writer), so that a start pays neither for them nor
// for the libraries they bring. A module and the program must come from one
// build: the objects they hand each other have no stable layout. So every
// module carries the version it was built as, as text in its file, and the
// loader reads it from the file before it loads anything: loading a library
// runs its constructors, and those of a module of another version must never
// run. DOLGOMER_MODULE_VERSION comes from the project's version.

#define DOLGOMER_MODULE_TEXT2(x) #x
#define DOLGOMER_MODULE_TEXT(x) DOLGOMER_MODULE_TEXT2(x)
// Put once into every module: "\ndolgomer-module-version=<version>\n" in its
// data, kept by the linker, read by the loader from the file.
#define DOLGOMER_EXPORT_MODULE_VERSION()                                                           \
    extern "C" Q_DECL_EXPORT __attribute__((used)) const char dolgomerModuleVersion[] =            \
        "\ndolgomer-module-version=" DOLGOMER_MODULE_TEXT(DOLGOMER_MODULE_VERSION) "\n";

// The version a module's file says it was built as; -1 when it says none.
// Nothing of the module runs.
int moduleFileVersion(const QString &path);

// Where modules are looked for: beside the program, then where they are
// installed as seen from the program's folder (the build lays them out the
// same way).
QStringList moduleFolders();

// The entry point `symbol` of the module "lib<module>.so" in the first of
// `folders` that has it; the module stays loaded for the objects it makes.
// Raises AppError naming the module when it is missing, is of another version
// (then it is never loaded), cannot be loaded or lacks the entry point.
QFunctionPointer moduleEntry(const QStringList &folders, const char *module, const char *symbol);

// The same in moduleFolders(), typed.
template <class Function> Function *moduleEntry(const char *module, const char *symbol) {
    return reinterpret_cast<Function *>(moduleEntry(moduleFolders(), module, symbol));
}

// What the user is told when a module's entry point made nothing.
QString moduleMadeNothing(const char *module);

// An object made by a module's entry point `symbol` (a function without
// arguments returning a new Object), looked up in `folders`. Null only where
// `nothingMeans` allows it (no default printer); otherwise a module that
// makes nothing is broken, and AppError says so.
enum class Nothing { IsBroken, IsAnAnswer };
template <class Object>
std::unique_ptr<Object> makeInModule(const QStringList &folders, const char *module,
                                     const char *symbol, Nothing nothingMeans) {
    using Make = Object *();
    Object *made = reinterpret_cast<Make *>(moduleEntry(folders, module, symbol))();
    if (!made && nothingMeans == Nothing::IsBroken) throw AppError(moduleMadeNothing(module));
    return std::unique_ptr<Object>(made);
}
template <class Object>
std::unique_ptr<Object> makeInModule(const char *module, const char *symbol,
                                     Nothing nothingMeans = Nothing::IsBroken) {
    return makeInModule<Object>(moduleFolders(), module, symbol, nothingMeans);
}
