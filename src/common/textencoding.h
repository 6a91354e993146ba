// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>

// Text files people hand the program: UTF-8, what editors on Linux save (with
// or without a byte order mark), or code page 1251, what the program itself
// and Windows spreadsheets write. Code page 1251 Cyrillic is never valid
// UTF-8 (its letters would have to follow each other as lead and continuation
// bytes), so the program's own files always read as code page 1251.
enum class TextEncoding { Utf8, Utf8WithBom, Cp1251 };

// The encoding of a text that starts with `bytes`. With `partial` the bytes
// are only the start of a longer text and may end inside a character.
TextEncoding detectEncoding(QByteArrayView bytes, bool partial = false);

inline constexpr QByteArrayView kUtf8Bom{"\xEF\xBB\xBF", 3};
