// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QString>
#include <QStringView>
#include <map>

// The production calendar: which days a deadline falling on them moves past
// (art. 193 of the Civil Code: to the next working day). The program carries
// the government's decrees for the years its file lists; a user may add
// years (or mend a day) in a file of the same form beside the rate file.
// Outside the years known, weekends and the fixed holidays of art. 112 of
// the Labour Code alone.
namespace law {

enum class DayKind {
    Holiday,  // a holiday of art. 112 on a weekday
    Transfer, // a day off moved onto a weekday by a government decree
    Working,  // a Saturday or Sunday made a working day by such a move
    Decree,   // a non-working day by a presidential decree (2020, 2021): a
              // deadline on it does not move (the Supreme Court's reviews
              // No. 1 of 21.04.2020, question 5, and No. 2 of 30.04.2020)
};

struct Calendar {
    std::map<QDate, DayKind> days;
    int firstYear = 0, lastYear = 0; // the years it lists; 0: none
    bool covers(int year) const { return firstYear && year >= firstYear && year <= lastYear; }
};

// The name of the user's file, beside the rate file.
inline constexpr char16_t kUserCalendarName[] = u"kalendar.txt";

// Reads a calendar's text ("ДД.ММ.ГГГГ;вид" a line, вид one of holiday,
// transfer, working, decree); false with the line named in `problem`.
bool readCalendar(QStringView text, Calendar &out, QString &problem);
// The program's own, from its resources.
const Calendar &builtInCalendar();
// `program` with `user`'s days over it (the user's win) and its years added.
Calendar mergeCalendars(const Calendar &program, const Calendar &user);
// Makes `calendar` the one every count uses; called before any count runs
// (the front ends do it as they open the user's rates).
void useCalendar(Calendar calendar);
const Calendar &calendarInUse();

// Whether a deadline falling on `day` moves to the next working day.
bool movesDeadline(QDate day);
// `day`, or the next day a deadline does not move past.
QDate deadlineFrom(QDate day);
// What a report says of a deadline in a year the calendar does not list.
QString calendarEndsNote();

} // namespace law
