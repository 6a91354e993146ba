// SPDX-License-Identifier: GPL-3.0-or-later
#include "output.h"

#include "common/apperror.h"
#include "storage/savedfile.h"

namespace bulk {

// A spreadsheet runs a field that starts with one of these as a formula; a
// leading apostrophe keeps it text.
// So does one that starts with a control character, and spreadsheets skip
// blanks before the formula's sign.
QString inert(const QString &text) {
    qsizetype i = 0; // every field of every row passes here
    while (i < text.size() && text[i] == u' ')
        ++i;
    if (i == text.size()) return text;
    switch (text[i].unicode()) {
    case u'\t':
    case u'\r':
    case u'\n':
        if (i > 0) return text;
        [[fallthrough]];
    case u'=':
    case u'+':
    case u'-':
    case u'@':
        return u'\'' + text;
    default:
        return text;
    }
}

namespace {

[[noreturn]] void outputFailed(const QIODevice &out) {
    throw AppError(QStringLiteral("не удается записать результат: %1").arg(out.errorString()));
}

} // namespace

void writeOutput(QIODevice &out, const QByteArray &bytes) {
    if (!storage::writeWhole(out, bytes)) outputFailed(out);
}

// A flush that stops part-way reports no reason, as a write does; flushing
// the rest then fails with the system's own.
void flushOutput(QFileDevice &out) {
    if (!out.flush() && !out.flush()) outputFailed(out);
}

} // namespace bulk
