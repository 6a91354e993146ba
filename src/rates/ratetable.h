// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace rates {

// The table of refinancing rates: lines "key=rate", newest first, never
// sorted. Keys are unique with letter case ignored; empty keys (blank lines of
// a hand-edited file) are exempt. The key is the text before the first "=",
// the whole line when it has none.
class RateTable {
public:
    RateTable() = default;

    // The 33 rates the program ships with, stray blanks included: the first
    // run writes them byte for byte, so files made by every version agree.
    static RateTable builtIn();

    int count() const { return int(lines_.size()); }
    const QStringList &lines() const { return lines_; }
    const QString &line(int i) const { return lines_[i]; }
    QString key(int i) const;
    QStringView keyView(int i) const;
    QString rate(int i) const;

    // Replaces all lines; a repeated key raises AppError and leaves the table as it was.
    void setLines(const QStringList &lines);
    // Replaces all lines with every later repeat of a key left out (a file's
    // lines); returns the first key that repeated, a null text when none did.
    QString setLinesDroppingRepeats(const QStringList &lines);
    // Adds a line at the top, or over an empty first line. Raises AppError when
    // another line has the same key.
    void insertTop(const QString &line);
    // Replaces line i (it may keep its own key). Raises AppError on a repeated key.
    void replace(int i, const QString &line);
    void remove(int i);
    // Line i becomes key "=" rate.
    void setRate(int i, const QString &rate);

    // The index of the line whose key equals `key` with case ignored, or -1.
    int find(const QString &key, int except = -1) const;

    static QString keyOf(const QString &line);

private:
    void requireUnique(const QString &line, int except) const;
    QStringList lines_;
};

// The lines with every later repeat of a key left out (letter case ignored;
// empty keys never repeat). `firstRepeat`, when given, gets the first key that
// repeated (a null text when none did).
QStringList withoutRepeatedKeys(const QStringList &lines, QString *firstRepeat = nullptr);

} // namespace rates
