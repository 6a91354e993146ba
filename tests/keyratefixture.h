// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Key rate pages laid out as the bank's: a menu and a footer with stray
// numbers, a header row, then one row per working day with a date cell and a
// rate cell, newest first.
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

using KeyRateRow = QPair<QDate, QString>;

inline QByteArray keyRatePage(const QList<KeyRateRow> &rows) {
    QString html = QStringLiteral("<html><head><title>Банк России</title></head><body>"
                                  "<table><tr><td>Главная</td><td>2016</td><td>15</td></tr></table>"
                                  "<table class=\"data\"><tr><th>Дата</th><th>Ставка</th></tr>");
    for (const auto &[date, rate] : rows)
        html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
                    .arg(date.toString(QStringLiteral("dd.MM.yyyy")), rate);
    html += QStringLiteral("</table><table><tr><td>© 2000–2026</td><td>12,5</td></tr></table>"
                           "</body></html>");
    return html.toUtf8();
}

// The change points the long fixture is made of, oldest first.
inline QList<KeyRateRow> keyRateHistory() {
    return {{QDate(2016, 1, 1), QStringLiteral("11,00")},
            {QDate(2016, 6, 14), QStringLiteral("10,50")},
            {QDate(2016, 9, 19), QStringLiteral("10,00")},
            {QDate(2017, 3, 27), QStringLiteral("9,75")},
            {QDate(2017, 12, 18), QStringLiteral("7,75")},
            {QDate(2018, 9, 17), QStringLiteral("7,50")},
            {QDate(2019, 7, 29), QStringLiteral("7,25")},
            {QDate(2020, 7, 27), QStringLiteral("4,25")},
            {QDate(2021, 3, 22), QStringLiteral("4,50")},
            {QDate(2022, 2, 28), QStringLiteral("20,00")},
            {QDate(2022, 9, 19), QStringLiteral("7,50")},
            {QDate(2023, 8, 15), QStringLiteral("12,00")},
            {QDate(2024, 10, 28), QStringLiteral("21,00")},
            {QDate(2025, 6, 9), QStringLiteral("20,00")},
            {QDate(2026, 2, 16), QStringLiteral("15,50")}};
}

// Every working day from 11.01.2016 (the first after the new year's
// holidays) to `last`, newest first, each with the rate in force that day.
inline QList<KeyRateRow> keyRateDays(QDate last) {
    const QList<KeyRateRow> history = keyRateHistory();
    QList<KeyRateRow> rows;
    qsizetype change = 0;
    for (QDate d(2016, 1, 11); d <= last; d = d.addDays(1)) {
        if (d.dayOfWeek() > 5) continue;
        while (change + 1 < history.size() && history[change + 1].first <= d)
            ++change;
        rows.prepend({d, history[change].second});
    }
    return rows;
}
