// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "bulk/batch.h"
#include "bulk/claimrequest.h"
#include "bulk/output.h"
#include "common/apperror.h"
#include "common/numericlocale.h"
#include "documents/claimdocument.h"
#include "documents/paper.h"
#include "ledgercommand.h"
#include "options.h"
#include "storage/claimfile.h"
#include "storage/regularfile.h"
#include "storage/writeplace.h"
#include "telluser.h"
#include "updaterates.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <cstring>
#include <memory>
#include <optional>
#include <unistd.h>

namespace cli {

using bulk::ClaimResult;
using bulk::Defaults;
using bulk::flushOutput;
using bulk::RunNotes;
using bulk::writeOutput;

namespace {

// The report in a file: the text for any claim, the table of a claim by
// periods in every format.
void writeDocument(const QString &path, const ClaimResult &r,
                   const std::optional<documents::PaperKind> &paper) {
    if (paper) {
        if (!r.byPeriods)
            throw UsageError{QStringLiteral("--document: только для расчета по периодам "
                                            "(--periods, --basis или --claim)")};
        const documents::PaperKind kind = *paper;
        const documents::ClaimDocument doc =
            documents::makePaper(r.periodInput, kind, QDate::currentDate());
        documents::saveDocument(path, doc);
        if (const QString note =
                documents::partiesLeftOutNote(doc, kind, documents::FieldNames::Options);
            !note.isEmpty())
            tellUser(QStringLiteral("предупреждение: ") + note);
        return;
    }
    if (r.byPeriods) {
        documents::saveDocument(path, {{}, r.periodInput, r.periodResult, QDate::currentDate()});
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
// and never over the saved claim it reads. Standard output by name is
// written in place, as with no --output.
void checkOutputPlace(Invocation &call) {
    if (!call.outputFile.isEmpty() && call.task != Task::Report)
        throw UsageError{QStringLiteral("--output: только вместе с --report или --ledger")};
    if (storage::isStandardOutput(call.outputFile) && call.ledger.paper)
        throw UsageError{QStringLiteral("--document: документ пишется в файл .pdf, .odt, .docx "
                                        "или .txt, а не на стандартный вывод")};
    if (storage::isStandardOutput(call.outputFile)) call.outputFile.clear();
    if (call.outputFile.isEmpty()) return;
    storage::refuseOverInput(QStringLiteral("--output"), call.outputFile, {call.claimFile});
    if (const storage::WritePlace place = storage::writePlace(call.outputFile);
        !place.refused.isEmpty())
        throw UsageError{
            QStringLiteral("--output: \"%1\": %2").arg(call.outputFile, place.refused)};
    documents::Format format;
    if (!documents::formatOf(call.outputFile, format))
        throw UsageError{QStringLiteral("--output: нужен файл .pdf, .odt, .docx, .xlsx или .txt")};
}

void tellNotes(const RunNotes &notes, const Defaults &defaults) {
    for (const QString &line : notes.lines(defaults.table))
        tellUser(line);
}

int runReport(const Invocation &call, const Defaults &defaults, QFile &out) {
    const ClaimResult r =
        call.claimFile.isEmpty()
            ? bulk::computeClaim(call.request, defaults, rates::RateLookup(defaults.table))
            : bulk::computeSavedClaim(storage::loadClaim(call.claimFile), call.request, defaults);
    if (call.outputFile.isEmpty()) {
        writeOutput(out, (r.lines.join(u'\n') + u'\n').toUtf8());
        flushOutput(out);
    } else {
        writeDocument(call.outputFile, r, call.ledger.paper);
    }
    RunNotes notes;
    notes.add(r);
    tellNotes(notes, defaults);
    return 0;
}

// A named file is read only when it is one; "-" is standard input,
// whatever it is.
int runBatchFile(const Invocation &call, const Defaults &defaults, QFile &out) {
    QFile in(call.batchFile);
    const QString refused =
        call.batchFile == QStringLiteral("-")
            ? (in.open(STDIN_FILENO, QIODevice::ReadOnly) ? QString() : in.errorString())
            : storage::openRegularFile(in);
    if (!refused.isEmpty())
        throw UsageError{QStringLiteral("--batch: не удается открыть файл \"%1\": %2")
                             .arg(call.batchFile, refused)};
    QFile err;
    const bool terminal = isatty(STDERR_FILENO) && err.open(stderr, QIODevice::WriteOnly);
    RunNotes notes;
    const int jobs = call.ledger.jobs > 0 ? call.ledger.jobs : QThread::idealThreadCount();
    const int failed =
        bulk::runBatch(in, out, defaults, &call.request, terminal ? &err : nullptr, &notes, jobs);
    flushOutput(out);
    tellNotes(notes, defaults);
    return failed == 0 ? 0 : 1;
}

int runTask(Invocation &call, QFile &out) {
    if (call.task == Task::Help || call.task == Task::Version) {
        writeOutput(out, call.task == Task::Help
                             ? helpText().toUtf8()
                             : "Долгомер " + QByteArray(DOLGOMER_VERSION) + "\n");
        flushOutput(out);
        return 0;
    }
    if (call.task == Task::UpdateRates) return updateRates(out, call.offline);
    const Defaults defaults = Defaults::fromUserData();
    // As the window tells it in a box: the claims are then counted with
    // the table the window would use.
    if (!defaults.problem.isEmpty()) tellUser(defaults.problem);
    if (!call.claimFile.isEmpty() && call.task != Task::Report)
        throw UsageError{QStringLiteral("--claim: только вместе с --report")};
    if (call.task == Task::Ledger) {
        call.ledger.outputDir = call.outputFile;
        return runLedgerCommand(call.ledger, call.request, defaults, out);
    }
    checkOutputPlace(call);
    return call.task == Task::Report ? runReport(call, defaults, out)
                                     : runBatchFile(call, defaults, out);
}

// The application the run needs: a document (--output) is laid out with
// fonts, which take the GUI library, drawn offscreen, so no display is
// needed all the same. The GUI library wants a private runtime folder and
// warns on standard error when a session gave none (a cron job, a
// container): `runtime` stands in, removed at the run's end.
std::unique_ptr<QCoreApplication> startApplication(int &argc, char **argv,
                                                   std::optional<QTemporaryDir> &runtime) {
    bool document = false;
    for (int i = 1; i < argc; ++i)
        document = document || std::strncmp(argv[i], "--output", 8) == 0;
    if (document && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (document && qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        runtime.emplace();
        if (runtime->isValid()) qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime->path()));
    }
    std::unique_ptr<QCoreApplication> app(document ? new QGuiApplication(argc, argv)
                                                   : new QCoreApplication(argc, argv));
    keepNumbersInCForm();
    QCoreApplication::setApplicationName(QStringLiteral("Долгомер"));
    return app;
}

} // namespace

bool wantsCommandLine(int argc, char **argv) {
    for (int i = 1; i < argc; ++i)
        if (argv[i][0] == '-') return true;
    return false;
}

int runCommandLine(int argc, char **argv) {
    // A file size limit makes a write fail, as a full disk does, rather
    // than end the run: what could not be written is told.
    std::signal(SIGXFSZ, SIG_IGN);
    std::optional<QTemporaryDir> runtime;
    const std::unique_ptr<QCoreApplication> app = startApplication(argc, argv, runtime);
    QFile out;
    if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly)) return 2;
    try {
        Invocation call = readArguments(QCoreApplication::arguments().mid(1));
        return runTask(call, out);
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
