// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgercommand.h"

#include "bulk/batch.h"
#include "bulk/claimrequest.h"
#include "bulk/ledger.h"
#include "bulk/ledgerrows.h"
#include "bulk/output.h"
#include "calc/presets.h"
#include "common/apperror.h"
#include "documents/claimdocument.h"
#include "documents/paper.h"
#include "rates/userrates.h"
#include "storage/regularfile.h"
#include "storage/savedfile.h"
#include "storage/temporary.h"
#include "storage/writeplace.h"
#include "telluser.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSet>
#include <QTemporaryFile>
#include <QThread>
#include <cstdio>
#include <memory>
#include <optional>
#include <unistd.h>

namespace cli {

using bulk::checkLedgerHeader;
using bulk::ClaimRequest;
using bulk::CsvReader;
using bulk::Defaults;
using bulk::flushOutput;
using bulk::LedgerOptions;
using bulk::runLedger;
namespace {

[[noreturn]] void refuse(const QString &why) {
    throw AppError(why);
}

// Standard input copied to a file that can be read twice, once its first
// line has shown a ledger's header: a stream that is no ledger ("yes") is
// refused at once, not copied aside.
std::unique_ptr<QFile> spooledInput() {
    QFile in;
    if (!in.open(STDIN_FILENO, QIODevice::ReadOnly))
        refuse(QStringLiteral("--ledger: не удается прочитать стандартный ввод: %1")
                   .arg(in.errorString()));
    const QByteArray header = in.readLine(CsvReader::kMaxLine);
    checkLedgerHeader(header);
    auto copy = std::make_unique<QTemporaryFile>(storage::temporaryTemplate());
    if (!copy->open())
        refuse(QStringLiteral("--ledger: временный файл в папке \"%1\": %2")
                   .arg(storage::temporaryFolder(), copy->errorString()));
    // No stream is read without end: a ledger of a billion rows is far less.
    constexpr qint64 kMostBytes = qint64(64) << 30;
    QByteArray chunk = header;
    do {
        if (!storage::writeWhole(*copy, chunk))
            refuse(QStringLiteral("--ledger: временный файл: %1").arg(copy->errorString()));
        if (copy->size() > kMostBytes)
            refuse(QStringLiteral("--ledger: стандартный ввод больше 64 ГБ — это больше, чем "
                                  "может быть в книге начислений"));
    } while (!(chunk = in.read(1 << 20)).isEmpty());
    if (!copy->flush() || !copy->seek(0))
        refuse(QStringLiteral("--ledger: временный файл: %1").arg(copy->errorString()));
    return copy;
}

// An account as a file's name: no folders, no hidden files, no control
// characters, at most 200 bytes (a folder's names take 255), never cut
// inside a character.
QString fileNameOf(const QString &account) {
    QString name = account;
    for (QChar &c : name)
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control || c == u':') c = u'_';
    if (name.isEmpty() || name.startsWith(u'.')) name.prepend(u'_');
    qsizetype bytes = 0, end = 0;
    for (const char32_t c : name.toUcs4()) {
        const int size = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
        if (bytes + size > 200) break;
        bytes += size;
        end += c >= 0x10000 ? 2 : 1;
    }
    return name.left(end);
}

// The attachments a run could not write: each told as it fails, all
// summed up at the end; the accounts are counted and printed all the same.
struct Unwritten {
    int tried = 0, failed = 0;
    QString reason;      // the first failure's
    QStringList omitted; // accounts whose paper lacks the debtor's name or address
    QString leftOut;     // the party fields the papers' template does not name
    void fail(const QString &account, const QString &why, const QString &shortly) {
        ++failed;
        if (reason.isEmpty()) reason = shortly;
        tellUser(
            QStringLiteral("--output: приложение к счету «%1» не записано: %2").arg(account, why));
    }
    void summarize(bool papers) const {
        if (!leftOut.isEmpty()) tellUser(QStringLiteral("предупреждение: ") + leftOut);
        if (papers)
            tellUser(QStringLiteral("Документов записано: %1 из %2")
                         .arg(tried - failed - omitted.size())
                         .arg(tried));
        if (!omitted.isEmpty())
            tellUser(QStringLiteral("Без документа — нет имени или адреса должника (%1): %2")
                         .arg(omitted.size())
                         .arg(omitted.join(QStringLiteral(", "))));
        if (failed)
            tellUser(QStringLiteral("Приложения не записаны: %1 из %2 (%3)")
                         .arg(failed)
                         .arg(tried)
                         .arg(reason));
    }
};

// The account's paper, or its calculation alone when no paper is asked;
// false when the paper lacks the debtor's name or address.
bool accountDocument(const QString &account, calc::PeriodInput claim,
                     const std::optional<documents::PaperKind> &paper,
                     documents::ClaimDocument &doc) {
    if (!paper) {
        doc = documents::makeDocument(claim, QDate::currentDate());
    } else {
        if (claim.parties.ground.isEmpty())
            claim.parties.ground = QStringLiteral("лицевой счет № ") + account;
        if (!documents::missingParties(claim.parties, *paper).isEmpty()) return false;
        doc = documents::makePaper(claim, *paper, QDate::currentDate());
    }
    doc.account = account;
    return true;
}

// A court attachment or a paper for each account the run hands on, in
// `folder` by the writers' rule.
LedgerOptions::Attach attachments(const LedgerCommand &command, Unwritten &unwritten,
                                  const std::optional<documents::PaperKind> &paper) {
    documents::Format format;
    const QString extension = u'.' + command.format.toLower();
    if (!documents::formatOf(extension, format) || format == documents::Format::Txt ||
        (paper && format == documents::Format::Xlsx))
        refuse(paper ? QStringLiteral("--format: документ пишется в pdf, odt или docx")
                     : QStringLiteral("--format: нужно pdf, odt, docx или xlsx"));
    if (storage::isStandardOutput(command.outputDir) || !QDir().mkpath(command.outputDir))
        refuse(QStringLiteral("--output: не удается создать папку \"%1\"").arg(command.outputDir));
    const QDir dir(command.outputDir);
    // Two accounts whose names make one file's ("A/1", "A_1") each get their own.
    auto used = std::make_shared<QSet<QString>>();
    return [dir, extension, format, used, &unwritten, paper,
            input = command.file](const QString &account, const calc::PeriodInput &claim) {
        QString name = fileNameOf(account);
        for (int n = 2; used->contains(name.toCaseFolded()); ++n)
            name = fileNameOf(account) + u'-' + QString::number(n);
        used->insert(name.toCaseFolded());
        ++unwritten.tried;
        const QString path = dir.filePath(name + extension);
        try {
            storage::refuseOverInput(QStringLiteral("--output"), path, {input});
            documents::ClaimDocument doc;
            if (!accountDocument(account, claim, paper, doc)) {
                unwritten.omitted << account;
                return;
            }
            if (paper && unwritten.leftOut.isEmpty())
                unwritten.leftOut =
                    documents::partiesLeftOutNote(doc, *paper, documents::FieldNames::Options);
            if (const QString failed =
                    storage::saveFile(path, documents::render(doc, format), dir.path());
                !failed.isEmpty())
                unwritten.fail(account, QStringLiteral("\"%1\": %2").arg(path, failed), failed);
        } catch (const AppError &e) {
            unwritten.fail(account, e.message(), e.message());
        }
    };
}

// The paper asked for each account, checked before anything is read: the
// debtor comes from the ledger's columns, the claimant and the court from
// the options.
std::optional<documents::PaperKind> paperAsked(const LedgerCommand &command,
                                               const ClaimRequest &request,
                                               const calc::PeriodInput &base) {
    if (!command.paper) return {};
    const documents::PaperKind kind = *command.paper;
    using F = calc::ClaimField;
    for (F f : {F::Debtor, F::DebtorAddress, F::DebtorId, F::DebtorBorn})
        if (request.has(f))
            refuse(QStringLiteral("%1: с --ledger должник берется из столбцов книги (%2, %3)")
                       .arg(calc::fieldInfo(f).option,
                            QString::fromLatin1(calc::fieldInfo(f).column),
                            QString::fromUtf8(calc::fieldInfo(f).russian)));
    calc::Parties needed = base.parties;
    needed.debtor = needed.debtorAddress = QStringLiteral("из книги");
    if (const QList<calc::ClaimField> missing = documents::missingParties(needed, kind);
        !missing.isEmpty())
        refuse(documents::missingPartiesMessage(missing, kind));
    return kind;
}

// --details by the writers' rule, checked before anything is read.
void openDetails(const LedgerCommand &command, QSaveFile &details) {
    if (storage::isStandardOutput(command.details))
        refuse(QStringLiteral("--details: стандартный вывод занят итогами по счетам; укажите "
                              "файл"));
    storage::refuseOverInput(QStringLiteral("--details"), command.details, {command.file});
    const storage::WritePlace place = storage::writePlace(command.details);
    if (!place.refused.isEmpty()) refuse(QStringLiteral("--details: ") + place.refused);
    details.setFileName(place.path);
    if (!details.open(QIODevice::WriteOnly))
        refuse(QStringLiteral("--details: не удается создать файл \"%1\": %2")
                   .arg(command.details, details.errorString()));
}

// "Счета: N, строк: R (S в секунду), осталось ~T с" over the line before.
void tellProgress(qint64 accounts, qint64 rows, double share, qint64 elapsedMs) {
    const double seconds = double(std::max<qint64>(elapsedMs, 1)) / 1000;
    const qint64 left = share > 0.01 ? qint64(seconds / share - seconds) : -1;
    const QByteArray line =
        QStringLiteral("\rСчета: %1, строк: %2 (%3 в секунду)%4   ")
            .arg(accounts)
            .arg(rows)
            .arg(qint64(double(rows) / seconds))
            .arg(left >= 0 ? QStringLiteral(", осталось ~%1 с").arg(left) : QString())
            .toUtf8();
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

} // namespace

int runLedgerCommand(const LedgerCommand &command, const ClaimRequest &request,
                     const Defaults &defaults, QFile &out) {
    using calc::ClaimField;
    for (ClaimField f : {ClaimField::Charges, ClaimField::Payments})
        if (request.has(f))
            refuse(QStringLiteral("%1: с --ledger начисления и оплаты берутся из файла")
                       .arg(calc::fieldInfo(f).option));
    // The housing penalty, or a resource basis counted by the same monthly bills.
    const QString basis =
        request.has(ClaimField::Basis) ? request.value(ClaimField::Basis).text : QString();
    if (const calc::Preset *p = calc::presetNamed(basis);
        !basis.isEmpty() && (!p || !p->monthlyBills))
        refuse(
            QStringLiteral("--ledger: книга начислений считается по основаниям с начислениями "
                           "за месяц: %1")
                .arg(calc::basisNames([](const calc::Preset &each) { return each.monthlyBills; })));
    const ClaimRequest settings = request.without(ClaimField::Basis);
    settings.refuseMisplaced(true, calc::PeriodCount::Housing);
    LedgerOptions options;
    options.base.count = calc::PeriodCount::Housing;
    options.base.filed = defaults.today;
    options.base.rates = rates::ratePoints(defaults.table);
    settings.applyTo(options.base);
    if (basis != u"housing") options.base.basis = basis;
    if (!request.has(ClaimField::Court)) options.base.court = calc::courtFor(options.base);
    options.jobs = command.jobs > 0 ? command.jobs : std::max(1, QThread::idealThreadCount());

    QSaveFile details;
    if (!command.details.isEmpty()) {
        openDetails(command, details);
        options.details = &details;
    }
    Unwritten unwritten;
    const std::optional<documents::PaperKind> paper = paperAsked(command, settings, options.base);
    if (!command.outputDir.isEmpty()) options.attach = attachments(command, unwritten, paper);
    options.papers = paper.has_value();
    std::unique_ptr<QFile> in;
    if (command.file == u"-") {
        in = spooledInput();
    } else {
        in = std::make_unique<QFile>(command.file);
        if (const QString refused = storage::openRegularFile(*in); !refused.isEmpty())
            refuse(QStringLiteral("--ledger: не удается открыть файл \"%1\": %2")
                       .arg(command.file, refused));
    }
    QElapsedTimer clock;
    clock.start();
    if (isatty(STDERR_FILENO))
        options.progress = [&clock](qint64 accounts, qint64 rows, double share) {
            tellProgress(accounts, rows, share, clock.elapsed());
        };
    const int failed = runLedger(*in, out, options);
    if (options.progress) std::fputs("\n", stderr);
    flushOutput(out);
    unwritten.summarize(paper.has_value());
    if (options.details && !details.commit())
        refuse(QStringLiteral("--details: не удается записать файл \"%1\": %2")
                   .arg(command.details, details.errorString()));
    return failed == 0 && unwritten.failed == 0 ? 0 : 1;
}

} // namespace cli
