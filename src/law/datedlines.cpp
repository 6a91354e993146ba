// SPDX-License-Identifier: GPL-3.0-or-later
#include "datedlines.h"

#include "common/dates.h"

#include <QFile>

namespace law {

QString lineProblem(int number, QStringView line, const QString &why) {
    QString text = QStringLiteral("строка %1: «%2»").arg(number).arg(line);
    if (!why.isEmpty()) text += QStringLiteral(" — ") + why;
    return text;
}

bool readDatedLines(QStringView text, QList<DatedLine> &out, QString &problem) {
    out.clear();
    int number = 0;
    for (QStringView line : text.split(u'\n')) {
        ++number;
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const qsizetype at = line.indexOf(u';');
        DatedLine read{{}, {}, number};
        if (at < 0 || !parseDateText(line.first(at).trimmed(), read.day)) {
            problem = lineProblem(number, line, QStringLiteral("нужна дата ДД.ММ.ГГГГ и «;»"));
            return false;
        }
        read.value = line.sliced(at + 1).trimmed().toString();
        if (read.value.isEmpty()) {
            problem = lineProblem(number, line, QStringLiteral("после «;» ничего нет"));
            return false;
        }
        out.append(std::move(read));
    }
    return true;
}

QString resourceText(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

} // namespace law
