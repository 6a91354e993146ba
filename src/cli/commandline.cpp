// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "bulk/batch.h"
#include "bulk/claimrequest.h"
#include "bulk/output.h"
#include "common/apperror.h"
#include "common/numericlocale.h"
#include "documents/claimdocument.h"
#include "ledgercommand.h"
#include "storage/claimfile.h"
#include "storage/regularfile.h"
#include "storage/writeplace.h"
#include "telluser.h"
#include "updaterates.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <unistd.h>

namespace cli {

using bulk::ClaimRequest;
using bulk::ClaimResult;
using bulk::computeClaim;
using bulk::computeSavedClaim;
using bulk::Defaults;
using bulk::flushOutput;
using bulk::periodResult;
using bulk::resultColumnNames;
using bulk::runBatch;
using bulk::RunNotes;
using bulk::writeOutput;
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

// Where a report goes, judged before anything is read: by the writers' rule,
// and never over the saved claim it reads.
void refuseOutputPlace(const QString &output, const QString &claimFile) {
    storage::refuseOverInput(QStringLiteral("--output"), output, {claimFile});
    if (const storage::WritePlace place = storage::writePlace(output); !place.refused.isEmpty())
        throw UsageError{QStringLiteral("--output: \"%1\": %2").arg(output, place.refused)};
}

// The program's own options (not a claim's field); those that take a value
// are told by what they take.
struct ProgramOption {
    const char *name;
    const char *valueName; // null: a flag
    const char *help;
};
const ProgramOption kProgramOptions[] = {
    {"--report", nullptr, "напечатать расчет, как его показывает окно"},
    {"--batch", "ФАЙЛ.csv", "рассчитать каждую строку CSV (\"-\" — стандартный ввод)"},
    {"--claim", "ФАЙЛ.dolgomer", "с --report: расчет по периодам, сохраненный в окне"},
    {"--output", "ФАЙЛ",
     "с --report: расчет в файл .pdf, .odt, .xlsx (таблица расчета по "
     "периодам) или .txt; без него — на стандартный вывод; с --ledger — папка, куда "
     "пишется расчет каждого счета с долгом"},
    {"--ledger", "ФАЙЛ.csv",
     "пени за ЖКУ (или за энергоресурсы: --basis resources-...) по книге начислений: строки "
     "лицевой_счет;дата;вид;месяц;сумма (\"-\" — стандартный ввод), по строке результата на "
     "счет"},
    {"--details", "ФАЙЛ.csv", "с --ledger: начисления каждого счета с их пенями"},
    {"--jobs", "N", "с --ledger и --batch: считать на N ядрах (по умолчанию — на всех)"},
    {"--format", "pdf|odt|xlsx", "с --ledger и --output ПАПКА: формат приложений к иску"},
    {"--update-rates", nullptr, "обновить таблицу ставок с сайта Банка России"},
    {"--offline", nullptr,
     "с --update-rates: взять ставки, известные программе (ключевая ставка с 01.01.2016 на "
     "день выпуска), без Интернета"},
    {"--help", nullptr, "эта справка (или -h)"},
    {"--version", nullptr, "версия программы (или -V)"},
};

// What an option on the command line stands for.
struct Option {
    const ProgramOption *program = nullptr;
    const calc::FieldInfo *field = nullptr;
    const char *flagValue = nullptr; // a field's flag: the value it sets
    bool takesValue() const {
        return program ? program->valueName != nullptr : flagValue == nullptr;
    }
};

bool findOption(const QString &name, Option &found) {
    const QString n = name == QStringLiteral("-h")   ? QStringLiteral("--help")
                      : name == QStringLiteral("-V") ? QStringLiteral("--version")
                                                     : name;
    for (const ProgramOption &p : kProgramOptions)
        if (n == QLatin1String(p.name)) return found = {&p, nullptr, nullptr}, true;
    for (const calc::FieldInfo &f : calc::claimFields()) {
        if (f.option && n == QLatin1String(f.option)) return found = {nullptr, &f, nullptr}, true;
        for (const calc::FieldFlag &flag : f.flags)
            if (flag.option && n == QLatin1String(flag.option))
                return found = {nullptr, &f, flag.value}, true;
    }
    return false;
}

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

bool wantsCommandLine(int argc, char **argv) {
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] == '-') return true;
    return false;
}

QString helpText() {
    QString text =
        QStringLiteral(
            "Долгомер: расчет процентов, неустойки и госпошлины по просроченному долгу.\n"
            "\n"
            "Без параметров открывается окно программы; dolgomer ФАЙЛ%1 открывает\n"
            "в нем сохраненный расчет. С параметрами:\n")
            .arg(storage::kClaimExtension);
    for (const ProgramOption &p : kProgramOptions)
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
                "по умолчанию; прочие столбцы (должник, договор...) переписываются как есть.\n"
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
                     resultColumnNames().join(QStringLiteral(", ")));
    text += QStringLiteral(
        "\nПримеры:\n"
        "  dolgomer --report --basis 395 --debt 100000 --from 01.01.2025 --to 31.03.2025\n"
        "  dolgomer --report --basis housing --charge 01.2025=3000 --payment 2025-03-20=3000\n"
        "      --filed 01.12.2025 --court general\n"
        "  dolgomer --batch должники.csv --court general > результат.csv\n"
        "  dolgomer --ledger книга.csv --filed 01.12.2025 --details счета.csv --output папка\n");
    return text;
}

int runCommandLine(int argc, char **argv) {
    // A file size limit makes a write fail, as a full disk does, rather
    // than end the run: what could not be written is told.
    std::signal(SIGXFSZ, SIG_IGN);
    // A document (--output) is laid out with fonts, which take the GUI
    // library; it draws offscreen, so no display is needed all the same.
    bool document = false;
    for (int i = 1; i < argc; ++i)
        document = document || std::strncmp(argv[i], "--output", 8) == 0;
    if (document && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The GUI library wants a private runtime folder and warns on standard
    // error when a session gave none (a cron job, a container): a fresh one
    // of the run's own stands in, removed at its end.
    std::optional<QTemporaryDir> runtime;
    if (document && qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtime.emplace();
        if (runtime->isValid()) qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
    }
    const std::unique_ptr<QCoreApplication> app(document ? new QGuiApplication(argc, argv)
                                                         : new QCoreApplication(argc, argv));
    keepNumbersInCForm();
    QCoreApplication::setApplicationName(QStringLiteral("Долгомер"));
    const QStringList args = QCoreApplication::arguments().mid(1);
    QFile out;
    if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly)) return 2;
    try {
        bool report = false, help = false, version = false, batch = false, update = false,
             ledger = false, formatGiven = false, offline = false;
        QString batchFile, claimFile, outputFile;
        LedgerCommand ledgerCommand;
        ClaimRequest request;
        for (qsizetype i = 0; i < args.size(); ++i) {
            QString name = args[i], value;
            if (!name.startsWith(u'-') || name == QStringLiteral("-"))
                throw UsageError{QStringLiteral("лишний аргумент \"%1\" (см. --help)").arg(name)};
            const qsizetype eq = name.indexOf(u'=');
            const bool inlineValue = name.startsWith(QStringLiteral("--")) && eq > 0;
            if (inlineValue) {
                value = name.mid(eq + 1);
                name = name.left(eq);
            }
            Option option;
            if (!findOption(name, option))
                throw UsageError{
                    QStringLiteral("неизвестный параметр \"%1\" (см. --help)").arg(name)};
            if (!option.takesValue()) {
                if (inlineValue)
                    throw UsageError{QStringLiteral("%1: этот параметр без значения").arg(name)};
                value = QString::fromLatin1(option.flagValue ? option.flagValue : "");
            } else if (!inlineValue) {
                if (i + 1 >= args.size())
                    throw UsageError{QStringLiteral("%1: не указано значение").arg(name)};
                value = args[++i];
            }
            if (option.takesValue() && value.trimmed().isEmpty())
                throw UsageError{QStringLiteral("%1: пустое значение").arg(name)};
            if (option.field) {
                try {
                    request.set(option.field->field, value, name, true);
                } catch (const calc::FieldError &e) {
                    throw UsageError{e.message()};
                }
                continue;
            }
            const QLatin1String program(option.program->name);
            if (program == QLatin1String("--report"))
                report = true;
            else if (program == QLatin1String("--update-rates"))
                update = true;
            else if (program == QLatin1String("--help"))
                help = true;
            else if (program == QLatin1String("--version"))
                version = true;
            else if (program == QLatin1String("--batch"))
                batch = true, batchFile = value;
            else if (program == QLatin1String("--claim"))
                claimFile = value;
            else if (program == QLatin1String("--output"))
                outputFile = value;
            else if (program == QLatin1String("--offline"))
                offline = true;
            else if (program == QLatin1String("--ledger"))
                ledger = true, ledgerCommand.file = value;
            else if (program == QLatin1String("--details"))
                ledgerCommand.details = value;
            else if (program == QLatin1String("--format"))
                formatGiven = true, ledgerCommand.format = value;
            else if (program == QLatin1String("--jobs")) {
                bool ok = false;
                ledgerCommand.jobs = value.toInt(&ok);
                if (!ok || ledgerCommand.jobs < 1 || ledgerCommand.jobs > 64)
                    throw UsageError{QStringLiteral("--jobs: нужно целое число от 1 до 64")};
            }
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
        if (int(report) + int(batch) + int(update) + int(ledger) != 1)
            throw UsageError{QStringLiteral("нужен ровно один из параметров --report, --batch, "
                                            "--ledger и --update-rates (см. --help)")};
        if ((!ledgerCommand.details.isEmpty() || formatGiven) && !ledger)
            throw UsageError{QStringLiteral("--details и --format: только вместе с --ledger")};
        if (ledgerCommand.jobs > 0 && !ledger && !batch)
            throw UsageError{QStringLiteral("--jobs: только вместе с --ledger или --batch")};
        if (offline && !update)
            throw UsageError{QStringLiteral("--offline: только вместе с --update-rates")};
        if (update) return updateRates(out, offline);
        const Defaults defaults = Defaults::fromUserData();
        // As the window tells it in a box: the claims are then counted with
        // the table the window would use.
        if (!defaults.problem.isEmpty()) tellUser(defaults.problem);
        if (!claimFile.isEmpty() && !report)
            throw UsageError{QStringLiteral("--claim: только вместе с --report")};
        if (ledger) {
            ledgerCommand.outputDir = outputFile;
            return runLedgerCommand(ledgerCommand, request, defaults, out);
        }
        if (!outputFile.isEmpty() && !report)
            throw UsageError{QStringLiteral("--output: только вместе с --report или --ledger")};
        // Standard output by name is written in place, as with no --output.
        if (storage::isStandardOutput(outputFile)) outputFile.clear();
        if (!outputFile.isEmpty()) refuseOutputPlace(outputFile, claimFile);
        documents::Format format;
        if (!outputFile.isEmpty() && !documents::formatOf(outputFile, format))
            throw UsageError{QStringLiteral("--output: нужен файл .pdf, .odt, .xlsx или .txt")};
        if (report) {
            const ClaimResult r =
                claimFile.isEmpty()
                    ? computeClaim(request, defaults, rates::RateLookup(defaults.table))
                    : computeSavedClaim(storage::loadClaim(claimFile), request, defaults);
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
        // A named file is read only when it is one; "-" is standard input,
        // whatever it is.
        in.setFileName(batchFile);
        const QString refused =
            batchFile == QStringLiteral("-")
                ? (in.open(STDIN_FILENO, QIODevice::ReadOnly) ? QString() : in.errorString())
                : storage::openRegularFile(in);
        if (!refused.isEmpty())
            throw UsageError{QStringLiteral("--batch: не удается открыть файл \"%1\": %2")
                                 .arg(batchFile, refused)};
        QFile err;
        const bool terminal = isatty(STDERR_FILENO) && err.open(stderr, QIODevice::WriteOnly);
        RunNotes notes;
        const int failed =
            runBatch(in, out, defaults, &request, terminal ? &err : nullptr, &notes,
                     ledgerCommand.jobs > 0 ? ledgerCommand.jobs : QThread::idealThreadCount());
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
