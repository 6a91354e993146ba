// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "batch.h"
#include "claimrequest.h"
#include "common/apperror.h"
#include "documents/claimdocument.h"
#include "storage/claimfile.h"
#include "updaterates.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace cli {
namespace {

// An option's problem, said once on standard error.
struct UsageError {
    QString message;
};

// The report in a file: the text for any claim, the table of a claim by
// periods in every format.
void writeDocument(const QString &path, const ClaimResult &r) {
    if (r.byPeriods) {
        documents::saveDocument(path, {r.periodInput, r.periodResult, QDate::currentDate()});
        return;
    }
    documents::Format format;
    documents::formatOf(path, format);
    if (format != documents::Format::Txt)
        throw UsageError{QStringLiteral("--output: таблица в .pdf, .odt и .xlsx — только для "
                                        "расчета по периодам (--periods или --claim)")};
    documents::writeFile(path, (r.lines.join(u'\n') + u'\n').toUtf8());
}

// The options that take a value, with the field each sets.
const QList<QPair<QString, QString>> &valueOptions() {
    static const QList<QPair<QString, QString>> options = {{"--debt", "debt"},
                                                           {"--from", "from"},
                                                           {"--to", "to"},
                                                           {"--tax", "tax"},
                                                           {"--court", "court"},
                                                           {"--rate", "rate"},
                                                           {"--divisor", "divisor"},
                                                           {"--daily-rate", "daily_rate"},
                                                           {"--payment", "payment"},
                                                           {"--filed", "filed"},
                                                           {"--increase", "increase"},
                                                           {"--penalty-daily", "penalty_daily"},
                                                           {"--key-fraction", "key_fraction"},
                                                           {"--rate-date", "rate_date"},
                                                           {"--batch", ""},
                                                           {"--claim", ""},
                                                           {"--output", ""}};
    return options;
}

} // namespace

bool wantsCommandLine(int argc, char **argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--", 2) == 0 || std::strcmp(argv[i], "-h") == 0 ||
            std::strcmp(argv[i], "-V") == 0)
            return true;
    return false;
}

QString helpText() {
    return QStringLiteral(
               "Долгомер: расчет процентов, неустойки и госпошлины по просроченному долгу.\n"
               "\n"
               "Без параметров открывается окно программы. С параметрами:\n"
               "  dolgomer --report [параметры]   напечатать расчет, как его показывает окно\n"
               "  dolgomer --batch ФАЙЛ.csv       рассчитать каждую строку CSV (\"-\" — "
               "стандартный "
               "ввод)\n"
               "  dolgomer --report --claim ФАЙЛ.dolgomer   расчет по периодам, сохраненный в "
               "окне\n"
               "  --output ФАЙЛ.pdf|.odt|.xlsx|.txt   с --report: расчет в файл (таблица — для\n"
               "                        расчета по периодам); без него — на стандартный вывод\n"
               "  dolgomer --update-rates         обновить таблицу ставок с сайта Банка России\n"
               "  dolgomer --help, -h             эта справка\n"
               "  dolgomer --version, -V          версия программы\n"
               "\n"
               "Параметры расчета (по умолчанию — как в окне):\n"
               "  --debt СУММА          долг с налогом, например 100000,50 (по умолчанию 0,00)\n"
               "  --from дд.мм.гггг     начало периода просрочки (по умолчанию сегодня)\n"
               "  --to дд.мм.гггг       конец периода просрочки (по умолчанию сегодня)\n"
               "  --filed дд.мм.гггг    дата подачи иска: по ней выбирается шкала госпошлины\n"
               "                        (по умолчанию сегодня)\n"
               "  --tax N               ставка налога, 0–35 (по умолчанию 18)\n"
               "  --court arbitration|general   арбитражный суд или суд общей юрисдикции\n"
               "  --statutory           законная пеня: ставка рефинансирования / делитель (по "
               "умолчанию)\n"
               "    --rate СТАВКА       ставка, % годовых (по умолчанию — из таблицы ставок на "
               "--to)\n"
               "    --divisor N         делитель, 1–365 (по умолчанию — сохраненный в окне)\n"
               "  --contractual         договорная пеня\n"
               "    --daily-rate СТАВКА пеня, % в день (по умолчанию — сохраненная в окне)\n"
               "  --periods             расчет по периодам (ст. 395 ГК РФ) по таблице ставок\n"
               "    --payment дд.мм.гггг=СУММА   оплата; можно повторять\n"
               "    --increase дд.мм.гггг=СУММА  увеличение долга (счет, просроченный с этого\n"
               "                        дня); можно повторять\n"
               "    --penalty-daily P   вместо процентов — неустойка P% в день\n"
               "    --key-fraction N    вместо процентов — пени 1/N ключевой ставки (N 1–1000)\n"
               "      --rate-date дд.мм.гггг   по ставке этого дня (по умолчанию — по ставке\n"
               "                        каждого периода)\n"
               "    --no-moratorium     не учитывать мораторий 01.04.2022–01.10.2022\n"
               "Числа пишутся с запятой или точкой, в суммах можно отделять разряды пробелом;\n"
               "принимается только то, что принимает поле окна.\n"
               "\n"
               "CSV: первая строка — названия столбцов; поля разделяются запятой, точкой с\n"
               "запятой или табуляцией (как в строке названий), текст в UTF-8 (с меткой BOM или\n"
               "без) или в кодировке Windows-1251. Столбцы (регистр и пробелы не важны):\n"
               "  debt (долг), from (начало), to (конец), tax (налог), court (суд),\n"
               "  mode (режим: statutory|contractual), rate (ставка), divisor (делитель),\n"
               "  daily_rate (ставка_в_день), periods (по_периодам: yes|no),\n"
               "  payments (оплаты: дд.мм.гггг=СУММА;...), filed (дата_подачи),\n"
               "  increases (увеличения: дд.мм.гггг=СУММА;...), penalty_daily (неустойка_в_день),\n"
               "  key_fraction (доля_ключевой), rate_date (дата_ставки).\n"
               "Недостающие столбцы берутся по умолчанию, пустое поле — тоже; прочие столбцы\n"
               "(должник, договор...) переписываются как есть. Строка, где полей меньше или\n"
               "больше, чем столбцов, или длиннее 1 МБ, — ошибка этой строки.\n"
               "Вывод: те же столбцы, с тем же разделителем и в той же кодировке, затем %1.\n"
               "Поле, начинающееся с =, +, -, @, табуляции или перевода строки, выводится с\n"
               "апострофом впереди, чтобы таблица не приняла его за формулу.\n"
               "Код выхода: 0 — все строки рассчитаны, 1 — есть строки с ошибкой, 2 — неверный "
               "параметр.\n"
               "--update-rates: 0 — таблица обновлена и сохранена, 1 — не обновлена (страница не\n"
               "прочитана или файл не записан; таблица не изменилась).\n")
        .arg(resultColumnNames().join(QStringLiteral(", ")));
}

int runCommandLine(int argc, char **argv) {
    // A document (--output) is laid out with fonts, which take the GUI
    // library; it draws offscreen, so no display is needed all the same.
    bool document = false;
    for (int i = 1; i < argc; ++i)
        document = document || std::strncmp(argv[i], "--output", 8) == 0;
    if (document && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const std::unique_ptr<QCoreApplication> app(document ? new QGuiApplication(argc, argv)
                                                         : new QCoreApplication(argc, argv));
    QCoreApplication::setApplicationName(QStringLiteral("Долгомер"));
    const QStringList args = QCoreApplication::arguments().mid(1);
    QFile out;
    if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly)) return 2;
    try {
        bool report = false, help = false, version = false, batch = false, update = false;
        QString batchFile, claimFile, outputFile;
        ClaimRequest request;
        for (qsizetype i = 0; i < args.size(); ++i) {
            QString name = args[i], value;
            const qsizetype eq = name.indexOf(u'=');
            const bool inlineValue = name.startsWith(QStringLiteral("--")) && eq > 0;
            if (inlineValue) {
                value = name.mid(eq + 1);
                name = name.left(eq);
            }
            const auto option = std::find_if(valueOptions().begin(), valueOptions().end(),
                                             [&](const auto &o) { return o.first == name; });
            if (option != valueOptions().end()) {
                if (!inlineValue) {
                    if (i + 1 >= args.size())
                        throw UsageError{QStringLiteral("%1: не указано значение").arg(name)};
                    value = args[++i];
                }
                if (name == QStringLiteral("--batch")) {
                    batch = true;
                    batchFile = value;
                    continue;
                }
                if (name == QStringLiteral("--claim")) {
                    claimFile = value;
                    continue;
                }
                if (name == QStringLiteral("--output")) {
                    outputFile = value;
                    continue;
                }
                if (value.trimmed().isEmpty())
                    throw UsageError{QStringLiteral("%1: пустое значение").arg(name)};
                try {
                    request.set(option->second, value);
                } catch (const FieldError &e) {
                    throw UsageError{e.message(name)};
                }
                continue;
            }
            if (inlineValue)
                throw UsageError{QStringLiteral("%1: этот параметр без значения").arg(name)};
            if (name == QStringLiteral("--report"))
                report = true;
            else if (name == QStringLiteral("--update-rates"))
                update = true;
            else if (name == QStringLiteral("--help") || name == QStringLiteral("-h"))
                help = true;
            else if (name == QStringLiteral("--version") || name == QStringLiteral("-V"))
                version = true;
            else if (name == QStringLiteral("--statutory"))
                request.statutory = true;
            else if (name == QStringLiteral("--contractual"))
                request.statutory = false;
            else if (name == QStringLiteral("--periods"))
                request.periods = true;
            else if (name == QStringLiteral("--no-moratorium"))
                request.moratorium = false;
            else
                throw UsageError{
                    QStringLiteral("неизвестный параметр \"%1\" (см. --help)").arg(name)};
        }
        if (help) {
            writeOutput(out, helpText().toUtf8());
            flushOutput(out);
            return 0;
        }
        if (version) {
            writeOutput(out, "Долгомер " + QByteArray(DOLGOMER_VERSION) + "\n");
            flushOutput(out);
            return 0;
        }
        if (int(report) + int(batch) + int(update) != 1)
            throw UsageError{QStringLiteral("нужен ровно один из параметров --report, --batch и "
                                            "--update-rates (см. --help)")};
        if (update) return updateRates(out);
        const Defaults defaults = Defaults::fromUserData();
        // As the window tells it in a box: the claims are then counted with
        // the table the window would use.
        if (!defaults.problem.isEmpty()) tellUser(defaults.problem);
        if (!claimFile.isEmpty() && !report)
            throw UsageError{QStringLiteral("--claim: только вместе с --report")};
        if (!outputFile.isEmpty() && !report)
            throw UsageError{QStringLiteral("--output: только вместе с --report")};
        documents::Format format;
        if (!outputFile.isEmpty() && !documents::formatOf(outputFile, format))
            throw UsageError{QStringLiteral("--output: нужен файл .pdf, .odt, .xlsx или .txt")};
        if (report) {
            const ClaimResult r =
                claimFile.isEmpty()
                    ? computeClaim(request, defaults, rates::RateLookup(defaults.table))
                    : computeSavedClaim(storage::loadClaim(claimFile), defaults);
            if (outputFile.isEmpty()) {
                writeOutput(out, (r.lines.join(u'\n') + u'\n').toUtf8());
                flushOutput(out);
            } else {
                writeDocument(outputFile, r);
            }
            RunNotes notes;
            notes.add(r);
            for (const QString &line : notes.lines(defaults.table))
                tellUser(line);
            return 0;
        }
        QFile in;
        const bool opened = batchFile == QStringLiteral("-")
                                ? in.open(stdin, QIODevice::ReadOnly)
                                : (in.setFileName(batchFile), in.open(QIODevice::ReadOnly));
        if (!opened)
            throw UsageError{
                QStringLiteral("--batch: не удается открыть файл \"%1\"").arg(batchFile)};
        QFile err;
        const bool terminal = isatty(STDERR_FILENO) && err.open(stderr, QIODevice::WriteOnly);
        RunNotes notes;
        const int failed = runBatch(in, out, defaults, terminal ? &err : nullptr, &notes);
        flushOutput(out);
        for (const QString &line : notes.lines(defaults.table))
            tellUser(line);
        return failed == 0 ? 0 : 1;
    } catch (const UsageError &e) {
        out.flush();
        tellUser(e.message);
        return 2;
    } catch (const AppError &e) {
        out.flush();
        tellUser(e.message());
        return 2;
    }
}

} // namespace cli
