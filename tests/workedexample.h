// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The first worked example: 100 000,00 owed from 01.01.2010 to 30.01.2010 at
// 8,75 % a year over 360 days, tax 18 %, in a court of general jurisdiction,
// filed on 01.02.2010. The calculation, the window and the command line all
// give exactly this report.
#include <QDate>
#include <QStringList>

inline const QDate kWorkedExamplesFiled{2010, 2, 1};

inline const QStringList kWorkedExample = {
    QStringLiteral("Период просрочки: c 01.01.2010 по 30.01.2010 = 30 дн."),
    QStringLiteral("Ставка рефинансирования: 8,75%"),
    QStringLiteral("Cумма долга: 100000,00 руб., в том числе налог 18%: 15254,24 руб."),
    QStringLiteral("Сумма процентов: 100000,00 * 30 * 8,75 / 36000 = 729,17 руб."),
    QStringLiteral("ИТОГО: 100000,00 + 729,17 = 100729,17 руб."),
    QStringLiteral("Государственная пошлина: 3214,58 руб."),
};
