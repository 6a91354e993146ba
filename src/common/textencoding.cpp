// SPDX-License-Identifier: GPL-3.0-or-later
#include "textencoding.h"

TextEncoding detectEncoding(QByteArrayView bytes, bool partial) {
    if (bytes.startsWith(kUtf8Bom)) return TextEncoding::Utf8WithBom;
    // A start cut off inside a character loses up to three bytes of it.
    for (int cut = 0; partial && cut < 3 && !bytes.isValidUtf8() && bytes.size() > 1; ++cut)
        bytes.chop(1);
    return bytes.isValidUtf8() ? TextEncoding::Utf8 : TextEncoding::Cp1251;
}
