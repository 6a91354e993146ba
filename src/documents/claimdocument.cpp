// SPDX-License-Identifier: GPL-3.0-or-later
#include "claimdocument.h"

#include "calc/claimfields.h"
#include "calc/housing.h"
#include "calc/numtext.h"
#include "calc/presets.h"
#include "calc/userwindows.h"
#include "common/dates.h"

#include <QRegularExpression>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace documents {
namespace {

QString what(const calc::PeriodInput &c) {
    if (const calc::Preset *own = c.basis.isEmpty() ? nullptr : calc::presetNamed(c.basis)) {
        // Its own title, and the terms it took.
        QString title = QString::fromUtf8(own->title);
        title[0] = title[0].toLower();
        if (c.contractFraction)
            title += QStringLiteral(", 1/%1 ключевой ставки по договору").arg(c.contractFraction);
        if (!c.fulfilled.isEmpty()) title += QStringLiteral(", исполнено %1 руб.").arg(c.fulfilled);
        return title;
    }
    switch (c.count) {
    case calc::PeriodCount::Contractual:
        return QStringLiteral("неустойка %1% в день").arg(c.dailyPercent) +
               (!c.capPercent.isEmpty() ? QStringLiteral(", не более %1% долга").arg(c.capPercent)
                : !c.capAmount.isEmpty() ? QStringLiteral(", не более %1 руб.").arg(c.capAmount)
                                         : QString());
    case calc::PeriodCount::KeyFraction:
        return c.rateDate.isValid() ? QStringLiteral("пени 1/%1 ключевой ставки на %2")
                                          .arg(c.fraction)
                                          .arg(dateText(c.rateDate))
                                    : QStringLiteral("пени 1/%1 ключевой ставки").arg(c.fraction);
    case calc::PeriodCount::Housing:
        return QStringLiteral("пени за ЖКУ (ч. 14 ст. 155 ЖК РФ)");
    case calc::PeriodCount::Statutory:
        break;
    }
    return QStringLiteral("проценты по ст. 395 ГК РФ");
}

// Housing: the months charged and the calculation date, in place of one
// debt's period.
QString housingSpan(const ClaimDocument &doc) {
    const QList<calc::HousingBill> &bills = doc.result.housing->bills;
    const QString months = bills.isEmpty() ? QStringLiteral("нет")
                                           : calc::monthText(bills.first().month) + u'–' +
                                                 calc::monthText(bills.last().month);
    return QStringLiteral("Начислено: %1 руб. за %2; расчет на %3")
        .arg(groupedKopecks(doc.result.housing->charged), months, dateText(doc.claim.filed));
}

} // namespace

ClaimDocument makeDocument(const calc::PeriodInput &claim, QDate madeOn) {
    return {{}, claim, calc::calculatePeriods(claim), madeOn};
}

QString groupedAmounts(QString line) {
    static const QRegularExpression amount(
        QStringLiteral("(?<![\\d,.])(\\d{4,})(?=,\\d\\d(?!\\d))"));
    for (qsizetype from = 0;;) {
        const QRegularExpressionMatch m = amount.match(line, from);
        if (!m.hasMatch()) return line;
        QString digits = m.captured(1);
        for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
            digits.insert(at, QChar(0x00a0));
        line.replace(m.capturedStart(1), m.capturedLength(1), digits);
        from = m.capturedStart(1) + digits.size();
    }
}

namespace {

QStringList withDigitGroups(QStringList lines) {
    for (QString &line : lines)
        line = groupedAmounts(line);
    return lines;
}

} // namespace

QStringList headingLines(const ClaimDocument &doc) {
    const calc::PeriodInput &c = doc.claim;
    const bool housing = c.count == calc::PeriodCount::Housing;
    // A base that is no debt is named as what it is: "Цена договора".
    const calc::PresetObligation *unclaimed = calc::unclaimedBase(c);
    const QString base = unclaimed ? QString::fromUtf8(unclaimed->base) : QStringLiteral("Долг");
    QStringList lines = {QStringLiteral("Расчет по периодам: %1").arg(what(c)),
                         housing ? housingSpan(doc)
                                 : QStringLiteral("%1: %2 руб.; период просрочки с %3 по %4 "
                                                  "(%5 дн.)")
                                       .arg(base, c.debt, dateText(c.start), dateText(c.end))
                                       .arg(doc.result.days),
                         QStringLiteral("Суд: %1; дата подачи: %2")
                                 .arg(c.court == calc::Court::Arbitration
                                          ? QStringLiteral("арбитражный")
                                          : QStringLiteral("общей юрисдикции"),
                                      dateText(c.filed)) +
                             (c.courtOrder ? QStringLiteral("; заявление о выдаче судебного "
                                                            "приказа (госпошлина — половина)")
                                           : QString())};
    if (!doc.account.isEmpty()) lines.insert(1, QStringLiteral("Лицевой счет: ") + doc.account);
    // What the table lacks is the user's to mend, told by the window and the
    // terminal: a paper for the court holds the calculation alone.
    if (doc.result.tableStart.isValid())
        lines << calc::tableStartNote(doc.result.tableStart) + u'.';
    return withDigitGroups(lines);
}

TableLayout tableLayout(const calc::PeriodInput &claim) {
    using C = Column;
    const calc::PeriodCount count = claim.count;
    const QString noun = calc::chargeNoun(claim);
    // The interest's share is of a year's days, a penalty's of the key rate.
    if (count != calc::PeriodCount::Contractual)
        return {count,
                noun,
                {C::Debt, C::From, C::To, C::Days, C::Rate, C::Share, C::Amount},
                {QStringLiteral("Задолженность, руб."), QStringLiteral("с"), QStringLiteral("по"),
                 QStringLiteral("Дней"), QStringLiteral("Ставка"),
                 count == calc::PeriodCount::Statutory ? QStringLiteral("Дней в году")
                                                       : QStringLiteral("Доля"),
                 QStringLiteral("Сумма, руб.")},
                {19, 13, 13, 7, 15, 15, 18}};
    // A percent a day has no share of a year or of a rate: no such column.
    return {count,
            noun,
            {C::Debt, C::From, C::To, C::Days, C::Rate, C::Amount},
            {QStringLiteral("Задолженность, руб."), QStringLiteral("с"), QStringLiteral("по"),
             QStringLiteral("Дней"), QStringLiteral("Ставка, % в день"),
             QStringLiteral("Сумма, руб.")},
            {22, 15, 15, 8, 18, 22}};
}

int TableLayout::indexOf(Column column) const {
    return int(columns.indexOf(column));
}

bool TableLayout::isNumber(int index) const {
    const Column c = columns.value(index);
    return c == Column::Debt || c == Column::Days || c == Column::Share || c == Column::Amount;
}

QString claimFileName(const calc::PeriodInput &c) {
    const QString basis = c.basis.isEmpty() ? calc::countName(c.count) : c.basis;
    qint64 debt = 0, k = 0;
    if (c.count == calc::PeriodCount::Housing) {
        for (const calc::Charge &charge : c.charges)
            if (calc::readKopecks(charge.amount, k)) debt += k;
    } else if (calc::readKopecks(c.debt, k)) {
        debt = k;
    }
    QString amount = calc::kopecksText(debt);
    if (amount.endsWith(QStringLiteral(",00"))) amount.chop(3);
    return QStringLiteral("Расчет %1 %2 %3").arg(basis, amount, dateText(c.filed));
}

QString groupedKopecks(qint64 kopecks) {
    QString text = calc::kopecksText(kopecks);
    const qsizetype sign = text.startsWith(u'-') ? 1 : 0;
    for (qsizetype at = text.size() - 6; at > sign; at -= 3)
        text.insert(at, QChar(0x00a0)); // never broken across lines
    return text;
}

QList<TableCell> tableCells(const calc::PeriodRow &row, const TableLayout &layout) {
    const int last = int(layout.columns.size()) - 1;
    const TableCell debt{groupedKopecks(row.debt), 0, 0};
    switch (row.kind) {
    case calc::PeriodRow::Payment:
        return {
            debt,
            {QStringLiteral("оплата %1: %2 руб.%3")
                 .arg(dateText(row.from), groupedKopecks(row.amount), calc::overpaidPhrase(row)),
             1, last}};
    case calc::PeriodRow::Increase:
        return {
            debt,
            {QStringLiteral("увеличение долга %1: %2 руб.%3")
                 .arg(dateText(row.from), groupedKopecks(row.amount), calc::overpaidPhrase(row)),
             1, last}};
    case calc::PeriodRow::Bill:
    case calc::PeriodRow::Advance:
    case calc::PeriodRow::BillTotal:
        return {debt, {calc::billPhrase(row, groupedKopecks), 1, last}};
    case calc::PeriodRow::Moratorium:
    case calc::PeriodRow::Piece:
        break;
    }
    QList<TableCell> out{debt};
    for (int c = 1; c <= last; ++c) {
        QString text;
        switch (layout.columns[c]) {
        case Column::From:
            text = dateText(row.from);
            break;
        case Column::To:
            text = dateText(row.to);
            break;
        case Column::Days:
            text = QString::number(row.days);
            break;
        case Column::Rate:
            if (row.kind == calc::PeriodRow::Moratorium) {
                // The moratorium's words over the rate and what follows it.
                out.append({calc::windowPhrase(row, layout.noun), c, last});
                return out;
            }
            text = row.rate + u'%';
            break;
        case Column::Share:
            text = layout.count == calc::PeriodCount::Statutory
                       ? QString::number(row.divisor)
                       : QStringLiteral("1/%1").arg(row.divisor);
            break;
        case Column::Amount:
            text = groupedKopecks(row.amount);
            break;
        case Column::Debt:
            break;
        }
        out.append({text, c, c});
    }
    return out;
}

QStringList rowCells(const calc::PeriodRow &row, const TableLayout &layout) {
    QStringList cells(layout.columns.size());
    for (const TableCell &cell : tableCells(row, layout))
        cells[cell.first] = cell.text;
    return cells;
}

QFont tableFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(9.5);
    return font;
}

QFont paperFont() {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPointSizeF(12);
    return font;
}

QStringList totalLines(const ClaimDocument &doc) {
    // Housing: what was left out and what was charged and paid come first.
    const calc::HousingResult *housing = doc.result.housing.get();
    const qsizetype count =
        (housing ? housing->leftOut.size() + calc::housingNotes(*housing).size() + 4
                 : qsizetype(doc.result.consumerFine ? 4 : 3)) +
        (doc.result.continuing.isEmpty() ? 0 : 1);
    return withDigitGroups(doc.result.lines.mid(doc.result.lines.size() - count));
}

QString signatureLine(const ClaimDocument &doc) {
    return QStringLiteral("Расчет составлен %1  ____________ / ____________ /")
        .arg(dateText(doc.madeOn));
}

namespace {

// An OpenDocument text's width, in points: A4 between an editor's usual
// margins (170 mm), which its table and the paper's right block go by.
constexpr qreal kOdtTextWidth = 170 * 72 / 25.4;

// The paper's lines at the cursor, in the paper's font; false for none.
bool writePaper(QTextCursor &cursor, const QList<PaperLine> &paper) {
    QTextCharFormat plain;
    plain.setFont(paperFont());
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    for (qsizetype i = 0; i < paper.size(); ++i) {
        if (i > 0) cursor.insertBlock();
        QTextBlockFormat block;
        if (paper[i].place == PaperLine::Right)
            block.setLeftMargin(kOdtTextWidth * PaperLine::kRightBlockShare);
        if (paper[i].place == PaperLine::Center) block.setAlignment(Qt::AlignHCenter);
        cursor.setBlockFormat(block);
        cursor.insertText(paper[i].text, paper[i].bold ? bold : plain);
    }
    return !paper.isEmpty();
}

// The table written into `text`, heading and totals around it.
void writeTable(QTextDocument &text, const ClaimDocument &doc) {
    QTextCursor cursor(&text);
    // One edit: a document on screen is laid out once, not at every cell.
    cursor.beginEditBlock();
    // The font in every piece of text: an editor opening the file knows no
    // document's default.
    QTextCharFormat plain;
    plain.setFont(tableFont());
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    const bool paper = writePaper(cursor, doc.paper);
    const QStringList heading = headingLines(doc);
    if (paper) {
        // The calculation starts on a page of its own.
        cursor.insertBlock();
        QTextBlockFormat newPage;
        newPage.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        cursor.setBlockFormat(newPage);
    }
    cursor.insertText(heading.front(), bold);
    for (const QString &line : heading.mid(1)) {
        cursor.insertBlock(QTextBlockFormat()); // no page break before each
        cursor.insertText(line, plain);
    }
    cursor.insertBlock();
    const QList<calc::PeriodRow> &rows = doc.result.rows;
    QTextTableFormat format;
    format.setHeaderRowCount(1); // repeated on every printed page
    format.setCellPadding(2);
    format.setCellSpacing(0);
    format.setBorder(1);
    format.setBorderBrush(QBrush(Qt::black));
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    // In points: the OpenDocument writer takes a percent for points ("100pt"),
    // and an editor then squeezes the table into a strip.
    const qreal width = kOdtTextWidth;
    format.setWidth(QTextLength(QTextLength::FixedLength, width));
    const TableLayout layout = tableLayout(doc.claim);
    QList<QTextLength> widths;
    for (qreal percent : layout.percent)
        widths.append(QTextLength(QTextLength::FixedLength, width * percent / 100));
    format.setColumnWidthConstraints(widths);
    const int columns = int(layout.columns.size());
    QTextTable *table = cursor.insertTable(int(rows.size()) + 1, columns, format);
    for (int c = 0; c < columns; ++c)
        table->cellAt(0, c).firstCursorPosition().insertText(layout.titles[c], bold);
    QTextBlockFormat right;
    right.setAlignment(Qt::AlignRight);
    for (int r = 0; r < rows.size(); ++r)
        for (const TableCell &cell : tableCells(rows[r], layout)) {
            if (cell.last > cell.first)
                table->mergeCells(r + 1, cell.first, 1, cell.last - cell.first + 1);
            if (cell.text.isEmpty()) continue;
            QTextCursor at = table->cellAt(r + 1, cell.first).firstCursorPosition();
            if (cell.last == cell.first && layout.isNumber(cell.first)) at.setBlockFormat(right);
            at.insertText(cell.text, plain);
        }
    cursor.movePosition(QTextCursor::End);
    for (const QString &line : totalLines(doc)) {
        cursor.insertBlock();
        cursor.insertText(line, plain);
    }
    cursor.insertBlock();
    cursor.insertBlock();
    cursor.insertText(signatureLine(doc), plain);
    cursor.endEditBlock();
}

} // namespace

std::unique_ptr<QTextDocument> tableDocument(const ClaimDocument &doc) {
    auto text = std::make_unique<QTextDocument>();
    text->setDefaultFont(tableFont());
    writeTable(*text, doc);
    return text;
}

} // namespace documents
