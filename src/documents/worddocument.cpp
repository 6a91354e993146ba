// SPDX-License-Identifier: GPL-3.0-or-later
// The word-processing module: a document as the editors of courts and
// lawyers open it (WordprocessingML in a ZIP, minizip): the paper's
// paragraphs, then on a page of its own the calculation's heading, its table
// with borders and a header row repeated on every page, the totals and the
// signature, "Страница N из M" at every page's foot. A module, so that a
// start does not map the zip library.
#include "claimdocument.h"

#include "common/apperror.h"
#include "common/module.h"

#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamWriter>
#include <zip.h>

namespace documents {
namespace {

const QString kMain =
    QStringLiteral("http://schemas.openxmlformats.org/wordprocessingml/2006/main");
const QString kRelations =
    QStringLiteral("http://schemas.openxmlformats.org/officeDocument/2006/relationships");
// The page: A4 in twentieths of a point, the PDF's margins.
constexpr int kPageWidth = 11906, kPageHeight = 16838;
constexpr int kLeft = 1134, kRight = 850, kTop = 850, kBottom = 850;
constexpr int kTextWidth = kPageWidth - kLeft - kRight;

struct Run {
    QString text;
    bool bold = false;
    const QFont *font = nullptr;
};

class DocumentXml {
public:
    explicit DocumentXml(QByteArray &out) : w_(&out) {}

    void start() {
        w_.writeStartDocument(QStringLiteral("1.0"), true);
        w_.writeNamespace(kMain, QStringLiteral("w"));
        w_.writeNamespace(kRelations, QStringLiteral("r"));
        w_.writeStartElement(kMain, QStringLiteral("document"));
        w_.writeStartElement(kMain, QStringLiteral("body"));
    }

    // A paragraph: its alignment ("left", "center", "right"), a left indent
    // in twips, whether a page break comes before it.
    void paragraph(const Run &run, const QString &align = {}, int indent = 0,
                   bool pageBreak = false) {
        el("p");
        el("pPr");
        if (pageBreak) empty("pageBreakBefore");
        el("spacing"), attr("after", 0), attr("before", 0), end();
        if (indent) el("ind"), attr("left", indent), end();
        if (!align.isEmpty()) el("jc"), attr("val", align), end();
        end(); // pPr
        if (!run.text.isEmpty()) this->run(run);
        end(); // p
    }

    void table(const ClaimDocument &doc, const QFont &font, const QFont &bold) {
        const TableLayout layout = tableLayout(doc.claim);
        QList<int> widths;
        for (qreal percent : layout.percent)
            widths << int(kTextWidth * percent / 100);
        el("tbl");
        el("tblPr");
        el("tblW"), attr("w", kTextWidth), attr("type", QStringLiteral("dxa")), end();
        el("tblBorders");
        for (const char *side : {"top", "left", "bottom", "right", "insideH", "insideV"})
            el(side), attr("val", QStringLiteral("single")), attr("sz", 4), attr("space", 0),
                attr("color", QStringLiteral("000000")), end();
        end(); // tblBorders
        el("tblLayout"), attr("type", QStringLiteral("fixed")), end();
        end(); // tblPr
        el("tblGrid");
        for (int width : widths)
            el("gridCol"), attr("w", width), end();
        end();
        QList<TableCell> titles;
        for (int c = 0; c < layout.titles.size(); ++c)
            titles.append({layout.titles[c], c, c});
        row(titles, layout, widths, bold, true);
        for (const calc::PeriodRow &r : doc.result.rows)
            row(tableCells(r, layout), layout, widths, font, false);
        end(); // tbl
    }

    void finish() {
        el("sectPr");
        el("footerReference"), w_.writeAttribute(kRelations, QStringLiteral("id"), "rIdFooter"),
            attr("type", QStringLiteral("default")), end();
        el("pgSz"), attr("w", kPageWidth), attr("h", kPageHeight), end();
        el("pgMar"), attr("top", kTop), attr("right", kRight), attr("bottom", kBottom),
            attr("left", kLeft), attr("header", 425), attr("footer", 425), attr("gutter", 0), end();
        end(); // sectPr
        end(); // body
        end(); // document
        w_.writeEndDocument();
    }

    void run(const Run &run) {
        el("r");
        el("rPr");
        if (run.font) {
            const QString family = run.font->family();
            el("rFonts"), attr("ascii", family), attr("hAnsi", family), attr("cs", family), end();
        }
        if (run.bold) empty("b");
        if (run.font) el("sz"), attr("val", int(run.font->pointSizeF() * 2)), end();
        end(); // rPr
        el("t");
        w_.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        w_.writeCharacters(run.text);
        end();
        end(); // r
    }

    QXmlStreamWriter &writer() { return w_; }

private:
    void row(const QList<TableCell> &cells, const TableLayout &layout, const QList<int> &widths,
             const QFont &font, bool header) {
        el("tr");
        el("trPr");
        empty("cantSplit");
        if (header) empty("tblHeader");
        end();
        for (const TableCell &cell : cells) {
            el("tc");
            el("tcPr");
            int width = 0;
            for (int c = cell.first; c <= cell.last; ++c)
                width += widths[c];
            el("tcW"), attr("w", width), attr("type", QStringLiteral("dxa")), end();
            if (cell.last > cell.first)
                el("gridSpan"), attr("val", cell.last - cell.first + 1), end();
            end(); // tcPr
            const bool number = !header && cell.first == cell.last && layout.isNumber(cell.first);
            paragraph({cell.text, header, &font}, number ? QStringLiteral("right") : QString());
            end(); // tc
        }
        end(); // tr
    }

    void el(const char *name) { w_.writeStartElement(kMain, QLatin1String(name)); }
    void empty(const char *name) { w_.writeEmptyElement(kMain, QLatin1String(name)); }
    void end() { w_.writeEndElement(); }
    void attr(const char *name, const QString &value) {
        w_.writeAttribute(kMain, QLatin1String(name), value);
    }
    void attr(const char *name, int value) { attr(name, QString::number(value)); }

    QXmlStreamWriter w_;
};

QByteArray documentXml(const ClaimDocument &doc) {
    QByteArray out;
    DocumentXml x(out);
    x.start();
    const QFont paper = paperFont(), table = tableFont();
    QFont tableBold = table;
    tableBold.setBold(true);
    for (const PaperLine &l : doc.paper)
        x.paragraph({l.text, l.bold, &paper},
                    l.place == PaperLine::Center ? QStringLiteral("center") : QString(),
                    l.place == PaperLine::Right ? int(kTextWidth * PaperLine::kRightBlockShare)
                                                : 0);
    const QStringList heading = headingLines(doc);
    for (int i = 0; i < heading.size(); ++i)
        x.paragraph({heading[i], i == 0, &table}, {}, 0, i == 0 && !doc.paper.isEmpty());
    x.table(doc, table, tableBold);
    for (const QString &line : totalLines(doc))
        x.paragraph({line, false, &table});
    x.paragraph({});
    x.paragraph({signatureLine(doc), false, &table});
    x.finish();
    return out;
}

QByteArray footerXml() {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument(QStringLiteral("1.0"), true);
    w.writeNamespace(kMain, QStringLiteral("w"));
    w.writeStartElement(kMain, QStringLiteral("ftr"));
    w.writeStartElement(kMain, QStringLiteral("p"));
    w.writeStartElement(kMain, QStringLiteral("pPr"));
    w.writeEmptyElement(kMain, QStringLiteral("jc"));
    w.writeAttribute(kMain, QStringLiteral("val"), QStringLiteral("right"));
    w.writeEndElement();
    const auto text = [&](const QString &t) {
        w.writeStartElement(kMain, QStringLiteral("r"));
        w.writeStartElement(kMain, QStringLiteral("t"));
        w.writeAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        w.writeCharacters(t);
        w.writeEndElement();
        w.writeEndElement();
    };
    const auto field = [&](const QString &instruction) {
        w.writeStartElement(kMain, QStringLiteral("fldSimple"));
        w.writeAttribute(kMain, QStringLiteral("instr"), instruction);
        text(QStringLiteral("1"));
        w.writeEndElement();
    };
    text(QStringLiteral("Страница "));
    field(QStringLiteral(" PAGE "));
    text(QStringLiteral(" из "));
    field(QStringLiteral(" NUMPAGES "));
    w.writeEndDocument();
    return out;
}

const char kContentTypes[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/><Override PartName="/word/footer1.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml"/></Types>)";
const char kPackageRelations[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/></Relationships>)";
const char kDocumentRelations[] =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rIdFooter" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/footer" Target="footer1.xml"/></Relationships>)";

// The parts zipped into a temporary file and read back.
QByteArray zipped(const QList<std::pair<const char *, QByteArray>> &parts) {
    QTemporaryDir dir;
    if (!dir.isValid())
        throw AppError(QStringLiteral("нет временной папки: %1").arg(dir.errorString()));
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("document.docx")));
    zipFile zip = zipOpen64(path.constData(), APPEND_STATUS_CREATE);
    if (!zip) throw AppError(QStringLiteral("не удается создать архив документа .docx"));
    bool ok = true;
    for (const auto &[name, bytes] : parts) {
        zip_fileinfo info{};
        info.tmz_date.tm_year = 1980; // the format's first day: the parts carry no time
        info.tmz_date.tm_mday = 1;
        ok = ok &&
             zipOpenNewFileInZip64(zip, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                   Z_DEFAULT_COMPRESSION, 0) == ZIP_OK &&
             zipWriteInFileInZip(zip, bytes.constData(), unsigned(bytes.size())) == ZIP_OK &&
             zipCloseFileInZip(zip) == ZIP_OK;
    }
    if (zipClose(zip, nullptr) != ZIP_OK || !ok)
        throw AppError(QStringLiteral("не удается записать архив документа .docx"));
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("не удается прочитать архив документа .docx: %1")
                           .arg(file.errorString()));
    return file.readAll();
}

} // namespace
} // namespace documents

DOLGOMER_EXPORT_MODULE_VERSION()

// The document's bytes into `bytes`; false with the reason in `error`.
// Nothing is thrown across the module's edge.
extern "C" Q_DECL_EXPORT bool dolgomerWriteWordDocument(const documents::ClaimDocument *doc,
                                                        QByteArray *bytes, QString *error) {
    using namespace documents;
    try {
        *bytes = zipped({{"[Content_Types].xml", QByteArray(kContentTypes)},
                         {"_rels/.rels", QByteArray(kPackageRelations)},
                         {"word/_rels/document.xml.rels", QByteArray(kDocumentRelations)},
                         {"word/document.xml", documentXml(*doc)},
                         {"word/footer1.xml", footerXml()}});
        return true;
    } catch (const AppError &e) {
        *error = e.message();
    } catch (const std::exception &e) {
        *error = QString::fromUtf8(e.what());
    }
    return false;
}
