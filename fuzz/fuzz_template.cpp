// SPDX-License-Identifier: GPL-3.0-or-later
// A paper's template of arbitrary bytes: it is refused with a message naming
// its line, or filled in, and then no stand-in is left in the paper (the
// values hold no braces, so any "{{" or "}}" would be one that slipped by).
#include "common/apperror.h"
#include "documents/paper.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    static const QHash<QString, QString> values = [] {
        QHash<QString, QString> v;
        for (const auto &[name, what] : documents::templateStandIns())
            v.insert(name, name.size() % 3 ? QStringLiteral("значение") : QString());
        return v;
    }();
    QList<documents::PaperLine> paper;
    try {
        paper = documents::fillTemplate(text, QStringLiteral("шаблон.txt"), values);
    } catch (const AppError &e) {
        if (!e.message().contains(QStringLiteral("строка "))) abort();
        return 0;
    }
    for (const documents::PaperLine &line : paper)
        if (line.text.contains(QStringLiteral("{{")) || line.text.contains(QStringLiteral("}}")))
            abort();
    return 0;
}
