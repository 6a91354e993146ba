// SPDX-License-Identifier: GPL-3.0-or-later
// A paper's template: one line a paragraph; "> " starts a line of the block
// on the right (to whom, from whom), "# " a heading in the middle, "%" a
// note for whoever edits the template, left out of the paper; "{{name}}"
// stands for a value of the claim.
#include "paper.h"

#include "common/apperror.h"

#include <QDir>
#include <QRegularExpression>

namespace documents {
namespace {

[[noreturn]] void refuseLine(const QString &source, int number, const QString &why) {
    const QString shown = source.startsWith(u':') ? source : QDir::toNativeSeparators(source);
    throw AppError(QStringLiteral("Шаблон \"%1\", строка %2: %3").arg(shown).arg(number).arg(why));
}

// The line with its stand-ins replaced; `empty` tells whether it had some
// and all came out empty.
QString filledLine(const QString &line, const QString &source, int number,
                   const QHash<QString, QString> &values, bool &empty, QSet<QString> &used) {
    static const QRegularExpression standIn(QStringLiteral("\\{\\{\\s*([^{}]*?)\\s*\\}\\}"));
    QString out, plain; // plain: the line's own words, its stand-ins aside
    qsizetype from = 0;
    int standIns = 0, filled = 0;
    for (QRegularExpressionMatchIterator it = standIn.globalMatch(line); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        const QString name = m.captured(1);
        const auto value = values.constFind(name);
        if (value == values.cend())
            refuseLine(source, number,
                       QStringLiteral("неизвестная подстановка {{%1}}").arg(name.left(50)));
        plain += QStringView(line).sliced(from, m.capturedStart() - from);
        out += QStringView(line).sliced(from, m.capturedStart() - from);
        out += *value;
        used.insert(name);
        from = m.capturedEnd();
        ++standIns;
        filled += value->isEmpty() ? 0 : 1;
    }
    out += QStringView(line).sliced(from);
    plain += QStringView(line).sliced(from);
    if (plain.contains(QStringLiteral("{{")) || plain.contains(QStringLiteral("}}")))
        refuseLine(source, number, QStringLiteral("подстановка без пары скобок {{ }}"));
    empty = standIns > 0 && filled == 0;
    return out;
}

} // namespace

QList<PaperLine> fillTemplate(const QString &text, const QString &source,
                              const QHash<QString, QString> &values, QSet<QString> *used) {
    QList<PaperLine> paper;
    QSet<QString> named;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(u'\r')) line.chop(1);
        if (line.startsWith(u'%')) continue;
        PaperLine out;
        if (line.startsWith(u'>')) {
            out.place = PaperLine::Right;
            line = line.mid(1);
        } else if (line.startsWith(u'#')) {
            out.place = PaperLine::Center;
            out.bold = true;
            line = line.mid(1);
        }
        bool empty = false;
        out.text = filledLine(line, source, i + 1, values, empty, named).trimmed();
        if (empty) continue;
        paper.append(out);
    }
    while (!paper.isEmpty() && paper.last().text.isEmpty())
        paper.removeLast();
    if (used) *used = std::move(named);
    return paper;
}

} // namespace documents
