// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringView>

// The law's tables as the program ships them and a user may extend them: a
// text of "ДД.ММ.ГГГГ;значение" lines, "#" starting a comment line, blank
// lines passed over. One reader for them all, so each names a bad line alike.
namespace law {

struct DatedLine {
    QDate day;
    QString value;  // trimmed
    int number = 0; // the line's number in the text, from 1
};

// The text's lines in order; false with "строка N: «…»" (and why) in
// `problem` when a line is no date, or has no value after ";".
bool readDatedLines(QStringView text, QList<DatedLine> &out, QString &problem);

// What is told of line `line` (number `number`) that cannot be taken.
QString lineProblem(int number, QStringView line, const QString &why = {});

// A resource's text (":/law/…"); empty when the build lacks it.
QString resourceText(const QString &path);

} // namespace law
