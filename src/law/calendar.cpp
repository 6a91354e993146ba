// SPDX-License-Identifier: GPL-3.0-or-later
#include "calendar.h"

#include "common/dates.h"
#include "datedlines.h"

#include <atomic>
#include <list>
#include <mutex>

namespace law {
namespace {

// The fixed non-working holidays of art. 112 of the Labour Code (as amended
// by Federal Law 35-FZ of 23.04.2012): month and day.
constexpr std::pair<int, int> kFixedHolidays[] = {
    {1, 1}, {1, 2},  {1, 3}, {1, 4}, {1, 5}, {1, 6},  {1, 7},
    {1, 8}, {2, 23}, {3, 8}, {5, 1}, {5, 9}, {6, 12}, {11, 4},
};

bool fixedDayOff(QDate d) {
    if (d.dayOfWeek() >= 6) return true;
    for (const auto &[month, day] : kFixedHolidays)
        if (d.month() == month && d.day() == day) return true;
    return false;
}

bool kindOf(QStringView word, DayKind &kind) {
    static constexpr std::pair<const char16_t *, DayKind> kKinds[] = {
        {u"holiday", DayKind::Holiday},
        {u"transfer", DayKind::Transfer},
        {u"working", DayKind::Working},
        {u"decree", DayKind::Decree},
    };
    for (const auto &[name, k] : kKinds)
        if (word == QStringView(name)) {
            kind = k;
            return true;
        }
    return false;
}

// Every calendar made stays: a count on another thread may still read one.
std::mutex keptLock;
std::list<Calendar> kept;
std::atomic<const Calendar *> inUse{nullptr};

} // namespace

bool readCalendar(QStringView text, Calendar &out, QString &problem) {
    out = {};
    QList<DatedLine> lines;
    if (!readDatedLines(text, lines, problem)) return false;
    for (const DatedLine &line : lines) {
        DayKind kind{};
        const QString shown = dateText(line.day) + u';' + line.value;
        if (!kindOf(line.value, kind)) {
            problem =
                lineProblem(line.number, shown,
                            QStringLiteral("вид дня — holiday, transfer, working или decree"));
            return false;
        }
        if (!out.days.emplace(line.day, kind).second) {
            problem = lineProblem(line.number, shown, QStringLiteral("этот день уже указан"));
            return false;
        }
        const int year = line.day.year();
        out.firstYear = out.firstYear ? std::min(out.firstYear, year) : year;
        out.lastYear = std::max(out.lastYear, year);
    }
    return true;
}

const Calendar &builtInCalendar() {
    static const Calendar calendar = [] {
        Calendar c;
        QString problem;
        if (!readCalendar(resourceText(QStringLiteral(":/law/calendar-ru.txt")), c, problem))
            return Calendar();
        return c;
    }();
    return calendar;
}

Calendar mergeCalendars(const Calendar &program, const Calendar &user) {
    Calendar out = program;
    for (const auto &[day, kind] : user.days)
        out.days[day] = kind;
    if (user.firstYear) {
        out.firstYear = out.firstYear ? std::min(out.firstYear, user.firstYear) : user.firstYear;
        out.lastYear = std::max(out.lastYear, user.lastYear);
    }
    return out;
}

void useCalendar(Calendar calendar) {
    const std::lock_guard lock(keptLock);
    kept.push_back(std::move(calendar));
    inUse.store(&kept.back(), std::memory_order_release);
}

const Calendar &calendarInUse() {
    const Calendar *c = inUse.load(std::memory_order_acquire);
    return c ? *c : builtInCalendar();
}

bool movesDeadline(QDate day) {
    const Calendar &c = calendarInUse();
    if (!c.covers(day.year())) return fixedDayOff(day);
    const auto it = c.days.find(day);
    if (it == c.days.end()) return day.dayOfWeek() >= 6;
    return it->second == DayKind::Holiday || it->second == DayKind::Transfer;
}

QDate deadlineFrom(QDate day) {
    while (movesDeadline(day))
        day = day.addDays(1);
    return day;
}

QString calendarEndsNote() {
    const Calendar &c = calendarInUse();
    if (!c.firstYear)
        return QStringLiteral("Производственный календарь программе неизвестен: сроки оплаты "
                              "перенесены только с выходных и праздничных дней ст. 112 ТК РФ");
    return QStringLiteral("Производственный календарь известен программе за %1–%2 гг.: сроки "
                          "оплаты вне этих лет перенесены только с выходных и праздничных дней "
                          "ст. 112 ТК РФ")
        .arg(c.firstYear)
        .arg(c.lastYear);
}

} // namespace law
