// SPDX-License-Identifier: GPL-3.0-or-later
#include "options.h"

#include "calc/claimfields.h"
#include "documents/paper.h"

namespace cli {
namespace {

const ProgramOption kProgramOptions[] = {
    {ProgramWord::Report, "--report", nullptr, "напечатать расчет, как его показывает окно"},
    {ProgramWord::Batch, "--batch", "ФАЙЛ.csv",
     "рассчитать каждую строку CSV (\"-\" — стандартный ввод)"},
    {ProgramWord::Claim, "--claim", "ФАЙЛ.dolgomer",
     "с --report: расчет по периодам, сохраненный в окне"},
    {ProgramWord::Output, "--output", "ФАЙЛ",
     "с --report: расчет в файл .pdf, .odt, .docx, .xlsx (таблица расчета по "
     "периодам) или .txt; без него — на стандартный вывод; с --ledger — папка, куда "
     "пишется расчет каждого счета с долгом"},
    {ProgramWord::Ledger, "--ledger", "ФАЙЛ.csv",
     "пени за ЖКУ (или за энергоресурсы: --basis resources-...) по книге начислений: строки "
     "лицевой_счет;дата;вид;месяц;сумма (\"-\" — стандартный ввод), по строке результата на "
     "счет"},
    {ProgramWord::Details, "--details", "ФАЙЛ.csv",
     "с --ledger: начисления каждого счета с их пенями"},
    {ProgramWord::Jobs, "--jobs", "N",
     "с --ledger и --batch: считать на N ядрах (по умолчанию — на всех)"},
    {ProgramWord::Format, "--format", "pdf|odt|docx|xlsx",
     "с --ledger и --output ПАПКА: формат приложений к иску"},
    {ProgramWord::Document, "--document", "claim-letter|court-order|statement",
     "с --report и --output ФАЙЛ (.pdf, .odt, .docx): претензия, заявление о выдаче судебного "
     "приказа или исковое заявление с расчетом в приложении; с --ledger и --output ПАПКА — "
     "документ на каждый счет с долгом или пенями (должник и адрес — из столбцов книги)"},
    {ProgramWord::UpdateRates, "--update-rates", nullptr,
     "обновить таблицу ставок с сайта Банка России"},
    {ProgramWord::Offline, "--offline", nullptr,
     "с --update-rates: взять ставки, известные программе (ключевая ставка с 01.01.2016 на "
     "день выпуска), без Интернета"},
    {ProgramWord::Help, "--help", nullptr, "эта справка (или -h)"},
    {ProgramWord::Version, "--version", nullptr, "версия программы (или -V)"},
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

int jobsFrom(const QString &value) {
    bool ok = false;
    const int jobs = value.toInt(&ok);
    if (!ok || jobs < 1 || jobs > 64)
        throw UsageError{QStringLiteral("--jobs: нужно целое число от 1 до 64")};
    return jobs;
}

void chooseTask(Invocation &call, Task task) {
    // Help and the version answer whatever else is asked; of the rest,
    // exactly one is (checked once all are read).
    if (task == Task::Help || task == Task::Version) {
        if (call.task != Task::Help) call.task = task;
        return;
    }
    ++call.tasks;
    if (call.task != Task::Help && call.task != Task::Version) call.task = task;
}

void takeProgramOption(Invocation &call, ProgramWord word, const QString &value) {
    switch (word) {
    case ProgramWord::Report:
        return chooseTask(call, Task::Report);
    case ProgramWord::UpdateRates:
        return chooseTask(call, Task::UpdateRates);
    case ProgramWord::Help:
        return chooseTask(call, Task::Help);
    case ProgramWord::Version:
        return chooseTask(call, Task::Version);
    case ProgramWord::Batch:
        call.batchFile = value;
        return chooseTask(call, Task::Batch);
    case ProgramWord::Ledger:
        call.ledger.file = value;
        return chooseTask(call, Task::Ledger);
    case ProgramWord::Claim:
        call.claimFile = value;
        return;
    case ProgramWord::Output:
        call.outputFile = value;
        return;
    case ProgramWord::Offline:
        call.offline = true;
        return;
    case ProgramWord::Details:
        call.ledger.details = value;
        return;
    case ProgramWord::Format:
        call.formatGiven = true, call.ledger.format = value;
        return;
    case ProgramWord::Document:
        if (documents::PaperKind kind; documents::paperNamed(value, kind))
            call.ledger.paper = kind;
        else
            throw UsageError{QStringLiteral("--document: нужно claim-letter, court-order или "
                                            "statement")};
        return;
    case ProgramWord::Jobs:
        call.ledger.jobs = jobsFrom(value);
        return;
    }
}

// An option as given: what it stands for, its name and its value.
struct Given {
    Option option;
    QString name, value;
};

// The option at `args[i]` with its value, inline ("--debt=100") or the next
// argument (then `i` moves on to it).
Given optionAt(const QStringList &args, qsizetype &i) {
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
        throw UsageError{QStringLiteral("неизвестный параметр \"%1\" (см. --help)").arg(name)};
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
    return {option, name, value};
}

// The options that make sense only beside another, checked before the
// user's data is read.
void checkTogether(const Invocation &call) {
    if (call.task == Task::Help || call.task == Task::Version) return;
    if (call.tasks != 1)
        throw UsageError{QStringLiteral("нужен ровно один из параметров --report, --batch, "
                                        "--ledger и --update-rates (см. --help)")};
    if ((!call.ledger.details.isEmpty() || call.formatGiven) && call.task != Task::Ledger)
        throw UsageError{QStringLiteral("--details и --format: только вместе с --ledger")};
    if (call.ledger.jobs > 0 && call.task != Task::Ledger && call.task != Task::Batch)
        throw UsageError{QStringLiteral("--jobs: только вместе с --ledger или --batch")};
    if (call.ledger.paper) {
        if (call.task != Task::Report && call.task != Task::Ledger)
            throw UsageError{QStringLiteral("--document: только вместе с --report или --ledger")};
        if (call.outputFile.isEmpty())
            throw UsageError{QStringLiteral("--document: укажите, куда его записать: --output")};
    }
    for (const calc::FieldInfo &info : calc::claimFields())
        if (calc::isPartyField(info.field) && call.request.has(info.field) && !call.ledger.paper)
            throw UsageError{QStringLiteral("%1: только вместе с --document (стороны и суд "
                                            "пишутся в документ)")
                                 .arg(QString::fromLatin1(info.option))};
    if (call.offline && call.task != Task::UpdateRates)
        throw UsageError{QStringLiteral("--offline: только вместе с --update-rates")};
}

} // namespace

std::span<const ProgramOption> programOptions() {
    return kProgramOptions;
}

Invocation readArguments(const QStringList &args) {
    Invocation call;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const Given given = optionAt(args, i);
        if (given.option.program) {
            takeProgramOption(call, given.option.program->word, given.value);
            continue;
        }
        try {
            call.request.set(given.option.field->field, given.value, given.name, true);
        } catch (const calc::FieldError &e) {
            throw UsageError{e.message()};
        }
    }
    checkTogether(call);
    return call;
}

} // namespace cli
