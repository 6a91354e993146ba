// SPDX-License-Identifier: GPL-3.0-or-later
// The table drawn page by page: the header row on every page, a row never
// split, the totals and the signature after the last row, "Страница N из M"
// at the foot of each page. Drawn directly, it takes milliseconds where a text
// document's table layout takes a second.
#include "claimdocument.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace documents {

namespace {

// The table's pages, laid out twice: once to count them, then drawn with
// "N из M" at each foot.
class TablePages {
public:
    TablePages(QPagedPaintDevice &device, QPainter &painter, const ClaimDocument &doc)
        : device_(device), p_(painter), doc_(doc),
          page_(device.pageLayout().paintRectPixels(device.logicalDpiX())), font_(tableFont()),
          bold_(font_), pad_(device.logicalDpiX() / 50.0), // half a millimetre
          layout_(tableLayout(doc.claim)) {
        bold_.setBold(true);
        x_.append(0);
        for (qsizetype c = 0; c < layout_.columns.size(); ++c) {
            x_.append(x_.last() + page_.width() * layout_.percent[c] / 100);
            header_.append({layout_.titles[c], int(c), int(c)});
        }
        // The foot of each page keeps a line for its number.
        footer_ = textHeight(font_, QStringLiteral("Страница"), page_.width()) + 2 * pad_;
    }

    int pages() {
        lay();
        return pageNo_;
    }

    void draw() {
        lay();
        pages_ = pageNo_;
        drawing_ = true;
        p_.setPen(QPen(Qt::black, device_.logicalDpiX() / 150.0));
        lay();
    }

private:
    qreal bottom() const { return page_.height() - footer_; }
    qreal textHeight(const QFont &f, const QString &text, qreal width) const {
        return QFontMetricsF(f, &device_)
            .boundingRect(QRectF(0, 0, width, 1e9), Qt::TextWordWrap, text)
            .height();
    }

    void lay() {
        pageNo_ = 1;
        y_ = 0;
        if (!doc_.paper.isEmpty()) {
            for (const PaperLine &l : doc_.paper)
                paperLine(l);
            newPage();
        }
        for (int i = 0; i < heading_.size(); ++i)
            line(heading_[i], i == 0 ? bold_ : font_);
        y_ += pad_ * 2;
        row(header_, true);
        for (const calc::PeriodRow &r : doc_.result.rows) {
            const QList<TableCell> cells = tableCells(r, layout_);
            if (y_ + rowHeight(cells, font_) > bottom()) {
                newPage();
                row(header_, true);
            }
            row(cells, false);
        }
        y_ += pad_ * 2;
        for (const QString &total : totalLines(doc_))
            line(total, font_);
        line(QString(), font_);
        line(signatureLine(doc_), font_);
        footLine();
    }

    void footLine() {
        if (!drawing_) return;
        p_.setFont(font_);
        p_.drawText(QRectF(0, page_.height() - footer_ + pad_, page_.width(), footer_ - pad_),
                    Qt::AlignRight | Qt::AlignBottom,
                    QStringLiteral("Страница %1 из %2").arg(pageNo_).arg(pages_));
    }

    void newPage() {
        footLine();
        if (drawing_) device_.newPage();
        ++pageNo_;
        y_ = 0;
    }

    void line(const QString &text, const QFont &f) {
        const qreal h = textHeight(f, text, page_.width());
        if (y_ + h > bottom()) newPage();
        if (drawing_) {
            p_.setFont(f);
            p_.drawText(QRectF(0, y_, page_.width(), h), Qt::TextWordWrap, text);
        }
        y_ += h;
    }

    // The paper's line: the block on the right starts at 45 % of the width.
    void paperLine(const PaperLine &l) {
        const QFont &f = l.bold ? paperBold_ : paperFont_;
        const qreal left =
            l.place == PaperLine::Right ? page_.width() * PaperLine::kRightBlockShare : 0;
        const QString text = l.text.isEmpty() ? QStringLiteral(" ") : l.text;
        const qreal h = textHeight(f, text, page_.width() - left);
        if (y_ + h > bottom()) newPage();
        if (drawing_) {
            p_.setFont(f);
            p_.drawText(QRectF(left, y_, page_.width() - left, h),
                        Qt::TextWordWrap |
                            (l.place == PaperLine::Center ? Qt::AlignHCenter : Qt::AlignLeft),
                        text);
        }
        y_ += h;
    }

    qreal rowHeight(const QList<TableCell> &cells, const QFont &f) const {
        qreal h = 0;
        for (const TableCell &c : cells)
            h = std::max(h, textHeight(f, c.text, x_[c.last + 1] - x_[c.first] - 2 * pad_));
        return h + 2 * pad_;
    }

    // A row of cells; the titles' row is bold, and only other rows align
    // their numbers right.
    void row(const QList<TableCell> &cells, bool titles) {
        const QFont &f = titles ? bold_ : font_;
        const qreal h = rowHeight(cells, f);
        if (drawing_) {
            p_.setFont(f);
            for (const TableCell &c : cells) {
                const QRectF box(x_[c.first], y_, x_[c.last + 1] - x_[c.first], h);
                p_.drawRect(box);
                const bool number = !titles && c.last == c.first && layout_.isNumber(c.first);
                p_.drawText(box.adjusted(pad_, pad_, -pad_, -pad_),
                            Qt::TextWordWrap | (number ? Qt::AlignRight : Qt::AlignLeft), c.text);
            }
        }
        y_ += h;
    }

    QPagedPaintDevice &device_;
    QPainter &p_;
    const ClaimDocument &doc_;
    const QRectF page_;
    const QFont font_;
    QFont bold_;
    const QFont paperFont_ = paperFont();
    QFont paperBold_ = [this] {
        QFont f = paperFont_;
        f.setBold(true);
        return f;
    }();
    const qreal pad_;
    const TableLayout layout_;
    const QStringList heading_ = headingLines(doc_);
    QList<qreal> x_;          // the columns' left edges, then the right one
    QList<TableCell> header_; // the titles' row
    qreal footer_ = 0;
    int pages_ = 1, pageNo_ = 1;
    bool drawing_ = false;
    qreal y_ = 0;
};

} // namespace

int calculationPages(const ClaimDocument &doc) {
    QBuffer nowhere;
    nowhere.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&nowhere);
    setUpPages(pdf);
    ClaimDocument alone = doc;
    alone.paper.clear();
    QPainter unused;
    return TablePages(pdf, unused, alone).pages();
}

bool drawTablePages(QPagedPaintDevice &device, const ClaimDocument &doc) {
    QPainter p;
    if (!p.begin(&device)) return false;
    TablePages(device, p, doc).draw();
    return p.end();
}

} // namespace documents
