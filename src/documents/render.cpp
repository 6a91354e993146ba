// SPDX-License-Identifier: GPL-3.0-or-later
// A document's bytes in the format its file's name asks for, and its writing.
#include "claimdocument.h"

#include "common/apperror.h"
#include "common/module.h"
#include "storage/savedfile.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextDocument>
#include <QTextDocumentWriter>

namespace documents {

void setUpPages(QPdfWriter &pdf) {
    // Text and rules need no more: the layout at 1200 dpi took ten times as long.
    pdf.setResolution(300);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(20, 15, 15, 15), QPageLayout::Millimeter);
}

namespace {

// A paper's title: its headings, one line.
QString paperTitleOf(const ClaimDocument &doc) {
    QStringList title;
    for (const PaperLine &line : doc.paper)
        if (line.place == PaperLine::Center)
            title << line.text;
        else if (!title.isEmpty())
            break;
    return title.join(u' ');
}

} // namespace

bool formatOf(const QString &path, Format &format) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QStringLiteral("pdf"))
        format = Format::Pdf;
    else if (suffix == QStringLiteral("odt"))
        format = Format::Odt;
    else if (suffix == QStringLiteral("xlsx"))
        format = Format::Xlsx;
    else if (suffix == QStringLiteral("txt"))
        format = Format::Txt;
    else if (suffix == QStringLiteral("docx"))
        format = Format::Docx;
    else
        return false;
    return true;
}

namespace {

// A writer module's entry point: the bytes, or AppError with its reason.
using ModuleWriter = bool(const ClaimDocument *, QByteArray *, QString *);
QByteArray writtenBy(ModuleWriter *write, const ClaimDocument &doc) {
    QByteArray bytes;
    QString error;
    if (!write(&doc, &bytes, &error)) throw AppError(error);
    return bytes;
}

} // namespace

QByteArray spreadsheet(const ClaimDocument &doc) {
    static ModuleWriter *const write =
        moduleEntry<ModuleWriter>("dolgomer-xlsx", "dolgomerWriteSpreadsheet");
    return writtenBy(write, doc);
}

QByteArray wordDocument(const ClaimDocument &doc) {
    static ModuleWriter *const write =
        moduleEntry<ModuleWriter>("dolgomer-docx", "dolgomerWriteWordDocument");
    return writtenBy(write, doc);
}

QByteArray render(const ClaimDocument &doc, Format format) {
    if (format == Format::Txt) {
        QStringList lines;
        for (const PaperLine &line : doc.paper)
            lines << line.text;
        if (!lines.isEmpty()) lines << QString() << QString();
        return ((lines + doc.result.lines).join(u'\n') + u'\n').toUtf8();
    }
    if (format == Format::Xlsx) {
        if (!doc.paper.isEmpty())
            throw AppError(QStringLiteral("документ пишется в .pdf, .odt, .docx или .txt, а не "
                                          "в таблицу .xlsx"));
        return spreadsheet(doc);
    }
    if (format == Format::Docx) return wordDocument(doc);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (format == Format::Odt) {
        QTextDocumentWriter writer(&buffer, "odf");
        if (!writer.write(tableDocument(doc).get()))
            throw AppError(QStringLiteral("не удается составить документ OpenDocument"));
    } else {
        QPdfWriter pdf(&buffer);
        setUpPages(pdf);
        pdf.setTitle(doc.paper.isEmpty() ? headingLines(doc).front() : paperTitleOf(doc));
        if (!drawTablePages(pdf, doc)) throw AppError(QStringLiteral("не удается составить PDF"));
    }
    buffer.close();
    return buffer.data();
}

void saveDocument(const QString &path, const ClaimDocument &doc, const QString &within) {
    Format format;
    if (!formatOf(path, format))
        throw AppError(QStringLiteral("Файл \"%1\": нужно расширение .pdf, .odt, .docx, .xlsx "
                                      "или .txt")
                           .arg(QDir::toNativeSeparators(path)));
    writeFile(path, render(doc, format), within);
}

void writeFile(const QString &path, const QByteArray &bytes, const QString &within) {
    const QString failed = storage::saveFile(path, bytes, within);
    if (!failed.isEmpty())
        throw AppError(QStringLiteral("Не удается записать файл \"%1\": %2")
                           .arg(QDir::toNativeSeparators(path), failed));
}

} // namespace documents
