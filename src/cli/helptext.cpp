// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "bulk/batch.h"
#include "calc/claimfields.h"
#include "options.h"
#include "storage/claimfile.h"

namespace cli {
namespace {

// "  --name VALUE" and its help from column `kIndent` on, wrapped at words
// to lines of at most 80 characters.
QString helpLine(const QString &option, const QString &help, qsizetype kIndent = 28) {
    constexpr qsizetype kWidth = 80;
    QString out = QStringLiteral("  ") + option;
    qsizetype column = out.size();
    if (column >= kIndent && !option.isEmpty()) {
        out += u'\n';
        column = 0;
    }
    for (const QString &word : help.split(u' ')) {
        if (column > kIndent && column + 1 + word.size() > kWidth) {
            out += u'\n';
            column = 0;
        }
        if (column < kIndent) {
            out += QString(kIndent - column, u' ');
            column = kIndent;
        } else if (column > kIndent) {
            out += u' ';
            ++column;
        }
        out += word;
        column += word.size();
    }
    return out + u'\n';
}

} // namespace

QString helpText() {
    QString text =
        QStringLiteral(
            "Долгомер: расчет процентов, неустойки и госпошлины по просроченному долгу.\n"
            "\n"
            "Без параметров открывается окно программы; dolgomer ФАЙЛ%1 открывает\n"
            "в нем сохраненный расчет. С параметрами:\n")
            .arg(storage::kClaimExtension);
    for (const ProgramOption &p : programOptions())
        text += helpLine(QLatin1String(p.name) +
                             (p.valueName ? u' ' + QString::fromUtf8(p.valueName) : QString()),
                         QString::fromUtf8(p.help));
    text += QStringLiteral("\nПараметры расчета (по умолчанию — как в окне; с --batch — для "
                           "каждой строки,\nсо --claim — вместо сохраненных в файле):\n");
    QStringList columns;
    for (const calc::FieldInfo &f : calc::claimFields()) {
        if (f.option)
            text += helpLine(QLatin1String(f.option) + u' ' + QString::fromUtf8(f.valueName),
                             calc::fieldHelp(f.help, f));
        for (const calc::FieldFlag &flag : f.flags)
            if (flag.option)
                text += helpLine(QLatin1String(flag.option), calc::fieldHelp(flag.help, f));
        columns << QStringLiteral("%1 (%2)").arg(QLatin1String(f.column),
                                                 QString::fromUtf8(f.russian));
    }
    text += QStringLiteral(
                "Числа пишутся с запятой или точкой, в суммах можно отделять разряды пробелом;\n"
                "принимается только то, что принимает поле окна. Параметр, который к расчету не\n"
                "относится (--rate в расчете по периодам), — ошибка.\n"
                "\n"
                "CSV: первая строка — названия столбцов; поля разделяются запятой, точкой с\n"
                "запятой или табуляцией (как в строке названий), текст в UTF-8 (с меткой BOM или\n"
                "без) или в кодировке Windows-1251. Столбцы (регистр и пробелы не важны):\n"
                "%1"
                "Значения — как у параметров: yes|no, дд.мм.гггг=СУММА;... для оплат и\n"
                "увеличений. Недостающие столбцы и пустые поля берутся из параметров, а без них —\n"
                "по умолчанию; столбцы сторон (должник...) и прочие (договор...) переписываются\n"
                "как есть.\n"
                "Строка, где полей меньше или больше, чем столбцов, или длиннее 1 МБ, — ошибка\n"
                "этой строки.\n"
                "Вывод: те же столбцы, с тем же разделителем и в той же кодировке, затем\n"
                "%2.\n"
                "Поле, начинающееся с табуляции, возврата каретки или перевода строки либо\n"
                "с =, +, -, @ (после пробелов тоже), выводится с апострофом впереди, чтобы\n"
                "таблица не приняла его за формулу.\n"
                "Код выхода: 0 — все строки рассчитаны, 1 — есть строки с ошибкой, 2 — неверный\n"
                "параметр.\n"
                "--update-rates: 0 — таблица обновлена и сохранена, 1 — не обновлена (страница не\n"
                "прочитана или файл не записан; таблица не изменилась).\n")
                .arg(helpLine(QString(), columns.join(QStringLiteral(", ")) + u'.', 2),
                     bulk::resultColumnNames().join(QStringLiteral(", ")));
    text += QStringLiteral(
        "\nПримеры:\n"
        "  dolgomer --report --basis 395 --debt 100000 --from 01.01.2025 --to 31.03.2025\n"
        "  dolgomer --report --basis housing --charge 01.2025=3000 --payment 2025-03-20=3000\n"
        "      --filed 01.12.2025 --court general\n"
        "  dolgomer --batch должники.csv --court general > результат.csv\n"
        "  dolgomer --ledger книга.csv --filed 01.12.2025 --details счета.csv --output папка\n");
    return text;
}

} // namespace cli
