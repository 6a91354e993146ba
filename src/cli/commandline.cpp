#include "commandline.h"

#include "claimrequest.h"
#include "common/apperror.h"
#include "csvtable.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace cli {
namespace {

// An option's problem, said once on standard error.
struct UsageError {
    QString message;
};

void writeErr(const QString &text) {
    const QByteArray bytes = text.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

QString fieldMessage(const FieldError &e, const QString &name) {
    return QStringLiteral("%1: неверное значение \"%2\" — %3").arg(name, e.text, e.reason);
}

// The options that take a value, with the field each sets.
const QList<QPair<QString, QString>> &valueOptions() {
    static const QList<QPair<QString, QString>> options = {
        {"--debt", "debt"},       {"--from", "from"},
        {"--to", "to"},           {"--tax", "tax"},
        {"--court", "court"},     {"--rate", "rate"},
        {"--divisor", "divisor"}, {"--daily-rate", "daily_rate"},
        {"--payment", "payment"}, {"--batch", ""}};
    return options;
}

// What a batch adds to each row, in order, and how each value comes from the
// claim's result; an "error" column follows them.
struct ResultColumn {
    const char *name;
    QString (*value)(const ClaimResult &);
};

const ResultColumn kResultColumns[] = {
    {"days", [](const ClaimResult &r) { return QString::number(r.days); }},
    {"rate", [](const ClaimResult &r) { return r.rate; }},
    {"interest", [](const ClaimResult &r) { return r.interest; }},
    {"total", [](const ClaimResult &r) { return r.total; }},
    {"fee", [](const ClaimResult &r) { return r.fee; }},
};
constexpr qsizetype kResultColumnCount = std::size(kResultColumns);
const QString kErrorColumn = QStringLiteral("error");

QStringList resultColumnNames() {
    QStringList names;
    for (const ResultColumn &column : kResultColumns)
        names.append(QLatin1String(column.name));
    return names << kErrorColumn;
}

} // namespace

bool wantsCommandLine(int argc, char **argv) {
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], "--", 2) == 0) return true;
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
               "  dolgomer --help                 эта справка\n"
               "  dolgomer --version              версия программы\n"
               "\n"
               "Параметры расчета (по умолчанию — как в окне):\n"
               "  --debt СУММА          долг с налогом, например 100000,50 (по умолчанию 0,00)\n"
               "  --from дд.мм.гггг     начало периода просрочки (по умолчанию сегодня)\n"
               "  --to дд.мм.гггг       конец периода просрочки (по умолчанию сегодня)\n"
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
               "    --no-moratorium     не учитывать мораторий 01.04.2022–01.10.2022\n"
               "Числа пишутся с запятой или точкой; принимается только то, что принимает поле "
               "окна.\n"
               "\n"
               "CSV (UTF-8, через запятую, первая строка — названия столбцов; недостающие столбцы\n"
               "берутся по умолчанию): debt, from, to, tax, court, mode (statutory|contractual), "
               "rate,\n"
               "divisor, daily_rate, periods (yes|no), payments (дд.мм.гггг=СУММА;...).\n"
               "Вывод: те же столбцы, затем %1.\n"
               "Код выхода: 0 — все строки рассчитаны, 1 — есть строки с ошибкой, 2 — неверный "
               "параметр.\n")
        .arg(resultColumnNames().join(QStringLiteral(", ")));
}

int runBatch(const QByteArray &csv, QIODevice &out, const Defaults &defaults, QIODevice *progress) {
    QList<QStringList> rows;
    if (!readCsv(csv, rows)) throw AppError(QStringLiteral("--batch: файл не читается как CSV"));
    if (rows.isEmpty()) throw AppError(QStringLiteral("--batch: в файле нет строки заголовка"));
    const QStringList header = rows.takeFirst();
    QStringList columns; // the header's names without blanks
    for (const QString &name : header) {
        columns.append(name.trimmed());
        if (!fieldNames().contains(columns.last()))
            throw AppError(QStringLiteral("--batch: неизвестный столбец \"%1\"").arg(name));
    }
    const rates::RateLookup lookup(defaults.table);
    out.write(csvRow(header + resultColumnNames()));
    int failed = 0;
    QByteArray buffer;
    for (qsizetype n = 0; n < rows.size(); ++n) {
        // The row as read, padded to the header, then the results and the error.
        QStringList line = rows[n];
        const bool tooLong = line.size() > header.size();
        line.resize(std::max(line.size(), header.size()));
        line.reserve(line.size() + kResultColumnCount + 1);
        QString error;
        try {
            if (tooLong) throw AppError(QStringLiteral("в строке больше полей, чем столбцов"));
            ClaimRequest request;
            for (qsizetype i = 0; i < header.size(); ++i)
                request.set(columns[i], line[i]);
            const ClaimResult r = computeClaim(request, defaults, lookup);
            for (const ResultColumn &column : kResultColumns)
                line << column.value(r);
        } catch (const FieldError &e) {
            error = fieldMessage(e, e.field);
        } catch (const AppError &e) {
            error = e.message();
        }
        if (!error.isEmpty()) {
            ++failed;
            line.resize(line.size() + kResultColumnCount);
        }
        line << error;
        buffer += csvRow(line);
        if (buffer.size() > 1 << 16) {
            out.write(buffer);
            buffer.clear();
        }
        if (progress && (n + 1) % 1000 == 0)
            progress->write(
                QStringLiteral("\rСтрок: %1 из %2").arg(n + 1).arg(rows.size()).toUtf8());
    }
    out.write(buffer);
    if (progress && rows.size() >= 1000) progress->write("\n");
    return failed;
}

int runCommandLine(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Долгомер"));
    const QStringList args = QCoreApplication::arguments().mid(1);
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) return 2;
    try {
        bool report = false, help = false, version = false, batch = false;
        QString batchFile;
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
                if (value.trimmed().isEmpty())
                    throw UsageError{QStringLiteral("%1: пустое значение").arg(name)};
                try {
                    request.set(option->second, value);
                } catch (const FieldError &e) {
                    throw UsageError{fieldMessage(e, name)};
                }
                continue;
            }
            if (inlineValue)
                throw UsageError{QStringLiteral("%1: этот параметр без значения").arg(name)};
            if (name == QStringLiteral("--report"))
                report = true;
            else if (name == QStringLiteral("--help") || name == QStringLiteral("-h"))
                help = true;
            else if (name == QStringLiteral("--version"))
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
            out.write(helpText().toUtf8());
            return 0;
        }
        if (version) {
            out.write("Долгомер " + QByteArray(DOLGOMER_VERSION) + "\n");
            return 0;
        }
        if (report == batch)
            throw UsageError{QStringLiteral("нужен ровно один из параметров --report и --batch "
                                            "(см. --help)")};
        const Defaults defaults = Defaults::fromUserData();
        // As the window tells it in a box: the claims are then counted with
        // the table the window would use.
        if (!defaults.problem.isEmpty()) writeErr(QStringLiteral("dolgomer: ") + defaults.problem);
        if (report) {
            const ClaimResult r =
                computeClaim(request, defaults, rates::RateLookup(defaults.table));
            out.write((r.lines.join(u'\n') + u'\n').toUtf8());
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
        const int failed = runBatch(in.readAll(), out, defaults, terminal ? &err : nullptr);
        return failed == 0 ? 0 : 1;
    } catch (const UsageError &e) {
        out.flush();
        writeErr(QStringLiteral("dolgomer: ") + e.message);
        return 2;
    } catch (const AppError &e) {
        out.flush();
        writeErr(QStringLiteral("dolgomer: ") + e.message());
        return 2;
    }
}

} // namespace cli
