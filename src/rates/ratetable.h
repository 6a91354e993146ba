#pragma once

#include "calc/periodinterest.h"

#include <QDate>
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

    // The 33 rates the program ships with, blanks exactly as they have always been.
    static RateTable builtIn();

    int count() const { return int(lines_.size()); }
    const QStringList &lines() const { return lines_; }
    const QString &line(int i) const { return lines_[i]; }
    QString key(int i) const;
    QStringView keyView(int i) const;
    QString rate(int i) const;

    // Replaces all lines; a repeated key raises AppError and leaves the table as it was.
    void setLines(const QStringList &lines);
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

// What the rate lookup for an end date does, worked out without touching the
// window: first select `lastRow` (0 also stands for the empty row of an empty
// table); then, when `chosen` >= 0, put `rateText` into the rate field and
// select `chosen`. A non-empty `error` means a key did not convert: the lookup
// ends after the first selection with that error.
struct RateLookupPlan {
    int lastRow = 0;
    int chosen = -1;
    QString rateText;
    QString error;
};

RateLookupPlan planRateLookup(const RateTable &table, QDate endDate);

// The same with the key dates read beforehand (`keyDates`: one per entry, a
// null date where the key names none), for many lookups in one table.
QList<QDate> keyDates(const RateTable &table);
RateLookupPlan planRateLookup(const RateTable &table, const QList<QDate> &keyDates, QDate endDate);

// Selecting a row makes its rate the current one: the rate text trimmed and
// with "." turned into ",", checked to be a number, and the key's date.
struct RowSelection {
    enum Outcome {
        Nothing, // an empty rate: nothing happens
        BadRate, // not a number: the error path, nothing written
        BadDate, // rate normalised and to be saved, then the error path
        Ok,
    };
    Outcome outcome = Nothing;
    QString rate; // the normalised rate
    QDate date;   // the key's date (Ok only)
};

RowSelection normaliseRow(const QString &key, const QString &rateCell);

// The table as the calculation by periods reads it: every entry whose key
// names a date and whose rate reads as a number, with its normalised rate.
QList<calc::RatePoint> ratePoints(const RateTable &table);

} // namespace rates
