// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch.h"

#include "claimrequest.h"
#include "common/apperror.h"
#include "csvtable.h"
#include "orderedwork.h"
#include "output.h"
#include "storage/savedfile.h"

#include <QBuffer>
#include <cstdio>
#include <utility>

namespace bulk {
namespace {

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

// The field a header name stands for (null for a column the program does
// not know): letter case and blanks do not count, Russian names as well.
const calc::FieldInfo *knownColumn(const QString &name) {
    QString key = name.toCaseFolded();
    key.removeIf([](QChar c) { return c.isSpace(); });
    for (const calc::FieldInfo &field : calc::claimFields())
        if (key == QLatin1String(field.column) || key == QString::fromUtf8(field.russian))
            return &field;
    return nullptr;
}

} // namespace

QStringList resultColumnNames() {
    QStringList names;
    for (const ResultColumn &column : kResultColumns)
        names.append(QLatin1String(column.name));
    return names << QStringLiteral("error");
}

namespace {

// The header row read: what each column sets (null for one kept as it is)
// and how its errors name it.
struct BatchHeader {
    QStringList header, names;
    QList<const calc::FieldInfo *> columns;
    CsvFormat format;
    bool has(calc::ClaimField f) const { return columns.contains(&calc::fieldInfo(f)); }
};

BatchHeader readHeader(CsvReader &reader, RunNotes *notes) {
    BatchHeader h;
    if (const QString problem = headerProblem(reader.next(h.header)); !problem.isEmpty())
        throw AppError(QStringLiteral("--batch: ") + problem);
    h.format = reader.format();
    for (const QString &name : std::as_const(h.header)) {
        h.names.append(name.trimmed());
        const calc::FieldInfo *column = knownColumn(name);
        if (column && h.columns.contains(column))
            throw AppError(QStringLiteral("--batch: столбец \"%1\" указан дважды").arg(name));
        // Kept in the output as it is; the notes name it.
        if (!column && !name.trimmed().isEmpty() && notes)
            notes->unknownColumns.append(name.trimmed());
        h.columns.append(column);
    }
    return h;
}

// The options are every row's defaults. Unless a column can change what a
// row counts (periods, mode, basis, the penalty), an option that does not
// apply to the options' own kind applies to no row: refused before any row
// is read. Otherwise each row takes those that apply to what it counts.
ClaimRequest rowDefaultsFor(const BatchHeader &h, const ClaimRequest *options) {
    if (!options) return {};
    using F = calc::ClaimField;
    if (h.has(F::Periods) || h.has(F::Mode) || h.has(F::Basis) || h.has(F::PenaltyDaily) ||
        h.has(F::KeyFraction))
        return options->asDefaults();
    options->refuseMisplaced(options->periods());
    return *options;
}

void writeHeaderRow(QIODevice &out, const BatchHeader &h) {
    if (h.format.encoding == TextEncoding::Utf8WithBom) writeOutput(out, kUtf8Bom.toByteArray());
    QStringList first;
    for (const QString &name : h.header)
        first.append(inert(name));
    writeOutput(out, csvRow(first + resultColumnNames(), h.format, true));
}

// A row as read, counted on any thread: its output line, whether it failed,
// and what the run tells of it.
struct Row {
    CsvReader::Status status;
    QStringList fields;
    qint64 n = 0;
};
struct Counted {
    QByteArray line;
    int failed = 0;
    RunNotes notes;
    qint64 rows = 0;
};

// Why a row as read cannot be counted at all.
void checkRow(const Row &row, const QStringList &header) {
    if (row.status == CsvReader::Status::TooLong)
        throw AppError(QStringLiteral("строка длиннее 1 МБ"));
    if (row.status == CsvReader::Status::OpenQuote)
        throw AppError(QStringLiteral("кавычка, открытая в этой строке, не закрыта; "
                                      "следующие строки прочитаны отдельно"));
    if (row.status == CsvReader::Status::NotUtf8)
        throw AppError(QStringLiteral("строка не в кодировке UTF-8, как начало файла"));
    if (row.fields.size() > header.size())
        throw AppError(QStringLiteral("в строке больше полей, чем столбцов"));
    if (row.fields.size() < header.size())
        throw AppError(QStringLiteral("в строке нет поля \"%1\"").arg(header[row.fields.size()]));
}

// Counts rows with what every row shares.
struct RowCounter {
    const BatchHeader &h;
    const ClaimRequest &rowDefaults;
    const Defaults &defaults;
    const rates::RateLookup &lookup;
    bool wantNotes;

    // The row as read, then the results, or empty results and the error.
    Counted count(const Row &row) const {
        Counted c;
        QStringList line;
        line.reserve(std::max(row.fields.size(), h.header.size()) + kResultColumnCount + 1);
        if (row.status == CsvReader::Status::Row || row.status == CsvReader::Status::NotUtf8)
            for (const QString &field : row.fields)
                line.append(inert(field));
        QString error;
        try {
            checkRow(row, h.header);
            const ClaimResult r = computeClaim(requestOf(row), defaults, lookup);
            if (wantNotes) c.notes.add(r);
            for (const ResultColumn &column : kResultColumns)
                line.append(column.value(r));
        } catch (const calc::FieldError &e) {
            error = e.message();
        } catch (const AppError &e) {
            error = e.message();
        } catch (const std::exception &e) { // out of memory: the row's, not the run's
            error = QString::fromLocal8Bit(e.what());
        }
        if (!error.isEmpty()) {
            c.failed = 1;
            line.resize(std::max(line.size(), h.header.size()) + kResultColumnCount);
        }
        line.append(inert(error));
        c.line = csvRow(line, h.format);
        return c;
    }
    // The options are every row's defaults; a field left empty keeps them.
    ClaimRequest requestOf(const Row &row) const {
        ClaimRequest request = rowDefaults;
        for (qsizetype i = 0; i < h.header.size(); ++i)
            if (h.columns[i] && !QStringView(row.fields[i]).trimmed().isEmpty())
                request.set(h.columns[i]->field, row.fields[i], h.names[i]);
        return request;
    }
    // Rows go to the threads a few hundred at a time: one hand-over a row
    // would cost more than many rows' counting.
    Counted countAll(QList<Row> &rows) const {
        Counted all;
        for (const Row &row : rows) {
            Counted c = count(row);
            all.line += c.line;
            all.failed += c.failed;
            all.notes.merge(c.notes);
            all.rows += 1;
        }
        return all;
    }
};

// What the run has written: rows failed and counted, the progress line.
struct Written {
    QIODevice &out;
    QIODevice *progress;
    RunNotes *notes;
    int failed = 0;
    qint64 n = 0;
    void take(Counted &c) {
        failed += c.failed;
        if (notes) notes->merge(c.notes);
        writeOutput(out, c.line);
        const qint64 before = n;
        n += c.rows;
        if (progress && n / 1000 > before / 1000)
            progress->write(QStringLiteral("\rСтрок: %1").arg(n / 1000 * 1000).toUtf8());
    }
};

using Rows = QList<Row>;

// Reads every row and hands them to `work` in bundles.
void feedRows(CsvReader &reader, QIODevice &out, OrderedWork<Rows, Counted> &work) {
    Rows pending;
    const auto hand = [&] {
        if (!pending.isEmpty()) work.add(std::exchange(pending, Rows()));
    };
    // Rows fed through a pipe are answered as they come: before the reader
    // waits for more, what is owed so far is counted and written out.
    if (auto *file = qobject_cast<QFileDevice *>(&out))
        reader.onWait([file, &work, &hand] {
            hand();
            work.finish();
            flushOutput(*file);
        });
    qint64 read = 0;
    QStringList fields;
    for (CsvReader::Status status; (status = reader.next(fields)) != CsvReader::Status::End;) {
        if (status == CsvReader::Status::Broken)
            throw AppError(
                QStringLiteral("--batch: файл не читается как CSV после строки %1").arg(read + 1));
        pending.append({status, std::move(fields), ++read});
        fields = QStringList();
        if (pending.size() == 256) hand();
    }
    hand();
    work.finish();
    reader.onWait({});
}

} // namespace

int runBatch(QIODevice &in, QIODevice &out, const Defaults &defaults, const ClaimRequest *options,
             QIODevice *progress, RunNotes *notes, int jobs) {
    CsvReader reader(in);
    if (auto *file = qobject_cast<QFileDevice *>(&out))
        reader.onWait([file] { flushOutput(*file); });
    const BatchHeader header = readHeader(reader, notes);
    const ClaimRequest rowDefaults = rowDefaultsFor(header, options);
    writeHeaderRow(out, header);
    const rates::RateLookup lookup(defaults.table);
    const RowCounter counter{header, rowDefaults, defaults, lookup, notes != nullptr};
    Written written{out, progress, notes};
    OrderedWork<Rows, Counted> work(
        std::max(jobs, 1), [&counter](Rows &rows) { return counter.countAll(rows); },
        [&written](Counted &c) { written.take(c); });
    feedRows(reader, out, work);
    if (progress && written.n >= 1000) progress->write("\n");
    return written.failed;
}

int runBatch(const QByteArray &csv, QIODevice &out, const Defaults &defaults,
             const ClaimRequest *options, QIODevice *progress, RunNotes *notes, int jobs) {
    QBuffer in;
    in.setData(csv);
    in.open(QIODevice::ReadOnly);
    return runBatch(in, out, defaults, options, progress, notes, jobs);
}

} // namespace bulk
