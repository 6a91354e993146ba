// SPDX-License-Identifier: GPL-3.0-or-later
#include "ledgeraccount.h"

#include "calc/claimfields.h"
#include "calc/housing.h"
#include "common/apperror.h"
#include "common/dates.h"
#include "output.h"
#include "plainrow.h"

#include <new>

namespace bulk {
namespace {

// A header name as it is compared: letter case, blanks and underscores aside.
QString columnKey(const QString &name) {
    QString key = name.toCaseFolded();
    key.removeIf([](QChar c) { return c.isSpace() || c == u'_'; });
    key.replace(u'ё', u'е');
    return key;
}

struct ColumnName {
    int LedgerColumns::*column;
    const char *english, *russian;
};
const ColumnName kColumns[] = {
    {&LedgerColumns::account, "account", "лицевойсчет"},
    {&LedgerColumns::date, "date", "дата"},
    {&LedgerColumns::kind, "kind", "вид"},
    {&LedgerColumns::month, "month", "месяц"},
    {&LedgerColumns::amount, "amount", "сумма"},
};

// The debtor's columns, named as a batch names them.
struct PartyColumn {
    int LedgerColumns::*column;
    calc::ClaimField field;
};
const PartyColumn kPartyColumns[] = {
    {&LedgerColumns::debtor, calc::ClaimField::Debtor},
    {&LedgerColumns::debtorAddress, calc::ClaimField::DebtorAddress},
    {&LedgerColumns::debtorId, calc::ClaimField::DebtorId},
    {&LedgerColumns::debtorBorn, calc::ClaimField::DebtorBorn},
};

// Every column a ledger may have, by its names as they are compared.
struct ColumnKeys {
    int LedgerColumns::*column;
    QString english, russian;
};
QList<ColumnKeys> columnKeys() {
    QList<ColumnKeys> keys;
    for (const ColumnName &name : kColumns)
        keys.append({name.column, columnKey(QLatin1String(name.english)),
                     columnKey(QString::fromUtf8(name.russian))});
    for (const PartyColumn &party : kPartyColumns) {
        const calc::FieldInfo &info = calc::fieldInfo(party.field);
        keys.append({party.column, columnKey(QLatin1String(info.column)),
                     columnKey(QString::fromUtf8(info.russian))});
    }
    return keys;
}

} // namespace

QString findLedgerColumns(const QStringList &header, LedgerColumns &c) {
    c = {};
    int russian = 0, english = 0;
    static const QList<ColumnKeys> names = columnKeys();
    for (int i = 0; i < int(header.size()); ++i) {
        const QString key = columnKey(header[i]);
        for (const ColumnKeys &name : names) {
            const bool en = key == name.english;
            if (!en && key != name.russian) continue;
            if (c.*name.column >= 0)
                return QStringLiteral("столбец \"%1\" указан дважды").arg(header[i].trimmed());
            c.*name.column = i;
            ++(en ? english : russian);
        }
    }
    for (const ColumnName &name : kColumns)
        if (c.*name.column < 0 && name.column != &LedgerColumns::month)
            return QStringLiteral("нет столбца \"%1\" (или \"%2\"); нужны account;date;kind;month;"
                                  "amount или лицевой_счет;дата;вид;месяц;сумма")
                .arg(QLatin1String(name.english), name.column == &LedgerColumns::account
                                                      ? QStringLiteral("лицевой_счет")
                                                      : QString::fromUtf8(name.russian));
    c.russian = russian > english;
    return {};
}

QString ledgerAccountOf(const QStringList &fields, const LedgerColumns &c) {
    return c.account < fields.size() ? fields[c.account].trimmed() : QString();
}

namespace {

// What is wrong with a row the reader could not give whole (empty: nothing).
QString rowProblem(CsvReader::Status status, qint64 line) {
    switch (status) {
    case CsvReader::Status::TooLong:
        return QStringLiteral("строка %1: длиннее 1 МБ").arg(line);
    case CsvReader::Status::OpenQuote:
        return QStringLiteral("строка %1: кавычка не закрыта; следующие строки прочитаны "
                              "отдельно")
            .arg(line);
    case CsvReader::Status::NotUtf8:
        return QStringLiteral("строка %1: не в кодировке UTF-8, как начало файла").arg(line);
    default:
        return {};
    }
}

// An account's charges and payments, or the first row that cannot be read.
struct Entries {
    QList<calc::Charge> charges;
    QList<calc::Payment> payments;
    QString error;
};

void addRow(Entries &a, const QStringList &fields, const LedgerColumns &c, qint64 line) {
    const auto field = [&](int i) {
        return i >= 0 && i < fields.size() ? QStringView(fields[i]).trimmed() : QStringView();
    };
    const auto refuse = [&](const QString &why) {
        a.error = QStringLiteral("строка %1: %2").arg(line).arg(why);
    };
    const QStringView kind = field(c.kind);
    const bool charge = kind.compare(u"начислено", Qt::CaseInsensitive) == 0 ||
                        kind.compare(u"charge", Qt::CaseInsensitive) == 0;
    if (!charge && kind.compare(u"оплачено", Qt::CaseInsensitive) != 0 &&
        kind.compare(u"payment", Qt::CaseInsensitive) != 0)
        return refuse(QStringLiteral("вид \"%1\" — нужно начислено (charge) или оплачено "
                                     "(payment)")
                          .arg(kind));
    // Read as the debt's field reads it (digit groups too), or told what is wrong.
    QString amount;
    try {
        amount = calc::readField(calc::fieldInfo(calc::ClaimField::Debt),
                                 field(c.amount).toString(), QStringLiteral("сумма"))
                     .text;
    } catch (const calc::FieldError &e) {
        return refuse(e.message());
    }
    const QStringView monthText = field(c.month);
    const QDate month = readLedgerMonth(monthText.toLatin1());
    if (!monthText.isEmpty() && !month.isValid())
        return refuse(QStringLiteral("месяц \"%1\" — нужно мм.гггг или гггг-мм").arg(monthText));
    if (charge) {
        if (!month.isValid()) return refuse(QStringLiteral("у начисления нет месяца"));
        a.charges.append({month, amount});
        return;
    }
    const QDate day = readLedgerDay(field(c.date).toLatin1());
    if (!day.isValid())
        return refuse(QStringLiteral("дата оплаты \"%1\" — нужно дд.мм.гггг или гггг-мм-дд")
                          .arg(field(c.date)));
    calc::Payment paid{day, amount};
    paid.month = month;
    a.payments.append(paid);
}

// The account's name, from its first row, when it has one to tell.
void nameAccount(LedgerAccount &a, const LedgerColumns &columns, const CsvFormat &format) {
    bool notUtf8 = false;
    if (!a.numbers.isEmpty())
        a.name = ledgerAccountOf(
            splitPlainLine(QByteArrayView(a.lines).first(a.lines.indexOf('\n')), format, notUtf8),
            columns);
    else if (!a.rows.isEmpty() && (a.rows.front().status == qint8(CsvReader::Status::Row) ||
                                   a.rows.front().status == qint8(CsvReader::Status::NotUtf8)))
        a.name = ledgerAccountOf(a.rows.front().fields, columns);
}

// The account's charges and payments: its plain lines read from their
// bytes where they are simple, as text otherwise, then the rows the CSV
// reader gave; the first problem is the account's.
Entries entriesOf(const LedgerAccount &a, const LedgerColumns &columns, const CsvFormat &format) {
    Entries e;
    if (a.name.isEmpty()) {
        e.error = rowProblem(CsvReader::Status(a.rows.value(0).status), a.firstLine);
        if (e.error.isEmpty())
            e.error = QStringLiteral("строка %1: нет лицевого счета").arg(a.firstLine);
        return e;
    }
    qsizetype from = 0;
    for (qint64 number : a.numbers) {
        const qsizetype end = a.lines.indexOf('\n', from);
        const QByteArrayView line = QByteArrayView(a.lines).sliced(from, end - from);
        from = end + 1;
        if (readSimpleRow(line, columns, format, e.charges, e.payments)) continue;
        bool notUtf8 = false;
        const QStringList fields = splitPlainLine(line, format, notUtf8);
        e.error = rowProblem(notUtf8 ? CsvReader::Status::NotUtf8 : CsvReader::Status::Row, number);
        if (e.error.isEmpty()) addRow(e, fields, columns, number);
        if (!e.error.isEmpty()) return e;
    }
    for (const LedgerRow &row : a.rows) {
        e.error = rowProblem(CsvReader::Status(row.status), row.line);
        if (e.error.isEmpty()) addRow(e, row.fields, columns, row.line);
        if (!e.error.isEmpty()) return e;
    }
    return e;
}

// Takes into `parties` each of the debtor's fields a row has that it does
// not have yet; raises AppError naming the line and the column of a text
// that is no party's.
void takeParties(calc::Parties &parties, const QStringList &fields, const LedgerColumns &c,
                 qint64 line) {
    for (const PartyColumn &party : kPartyColumns) {
        const int at = c.*party.column;
        QString *text = calc::partyText(parties, party.field);
        if (at < 0 || at >= fields.size() || !text->isEmpty()) continue;
        const QString value = fields[at].trimmed();
        if (const QString wrong = calc::partyTextProblem(value); !wrong.isEmpty())
            throw AppError(
                QStringLiteral("строка %1: %2: %3")
                    .arg(line)
                    .arg(QString::fromUtf8(c.russian ? calc::fieldInfo(party.field).russian
                                                     : calc::fieldInfo(party.field).column),
                         wrong));
        *text = value;
    }
}

// The debtor's fields of an account, each from the first of its rows that has it.
void partiesOf(const LedgerAccount &a, const LedgerColumns &columns, const CsvFormat &format,
               calc::Parties &parties) {
    qsizetype from = 0;
    for (qint64 number : a.numbers) {
        const qsizetype end = a.lines.indexOf('\n', from);
        bool notUtf8 = false;
        takeParties(
            parties,
            splitPlainLine(QByteArrayView(a.lines).sliced(from, end - from), format, notUtf8),
            columns, number);
        from = end + 1;
    }
    for (const LedgerRow &row : a.rows)
        takeParties(parties, row.fields, columns, row.line);
}

} // namespace

QStringList ledgerResultHeader(bool russian) {
    if (russian)
        return {QStringLiteral("лицевой_счет"), QStringLiteral("начислено"),
                QStringLiteral("оплачено"),     QStringLiteral("долг"),
                QStringLiteral("аванс"),        QStringLiteral("пени"),
                QStringLiteral("госпошлина"),   QStringLiteral("ошибка")};
    return {"account", "charged", "paid", "debt", "advance", "penalty", "fee", "error"};
}

QStringList ledgerDetailsHeader(bool russian) {
    if (russian)
        return {QStringLiteral("лицевой_счет"), QStringLiteral("месяц"),
                QStringLiteral("начислено"),    QStringLiteral("срок_оплаты"),
                QStringLiteral("оплачено"),     QStringLiteral("долг"),
                QStringLiteral("пени")};
    return {"account", "month", "charged", "due", "paid", "debt", "penalty"};
}

namespace {

LedgerResult resultOf(const LedgerAccount &a) {
    LedgerResult out;
    out.firstLine = a.firstLine;
    out.group = a.group;
    out.name = a.name;
    return out;
}

// The account's row with its error alone.
LedgerResult failedResult(const LedgerAccount &a, const QString &error, const CsvFormat &format) {
    LedgerResult out = resultOf(a);
    out.failed = true;
    out.row = csvRow({inert(a.name), {}, {}, {}, {}, {}, {}, inert(error)}, format);
    return out;
}

LedgerResult countAccount(LedgerAccount &a, const LedgerColumns &columns,
                          const calc::PeriodInput &base, const CsvFormat &format, bool details,
                          LedgerClaims claims) {
    LedgerResult out = resultOf(a);
    Entries entries = entriesOf(a, columns, format);
    QString error = std::move(entries.error);
    if (error.isEmpty()) {
        calc::PeriodInput in = base;
        in.charges = std::move(entries.charges);
        in.payments = std::move(entries.payments);
        try {
            const calc::HousingResult r = calc::calculateHousing(in, false);
            const auto money = calc::kopecksText;
            out.row = csvRow({inert(a.name), money(r.charged), money(r.paid), money(r.debt),
                              money(r.advance), money(r.penalty), money(r.fee), QString()},
                             format);
            if (details)
                for (const calc::HousingBill &b : r.bills) {
                    qint64 paid = 0;
                    for (const auto &p : b.paid)
                        paid += p.second;
                    for (const auto &p : b.advancePaid)
                        paid += p.second;
                    out.details +=
                        csvRow({inert(a.name), calc::monthText(b.month), money(b.charged),
                                dateText(b.due), money(paid), money(b.unpaid), money(b.penalty)},
                               format);
                }
            if (claims == LedgerClaims::WithDebt && r.debt > 0) out.claim = std::move(in);
            if (claims == LedgerClaims::ForPapers && (r.debt > 0 || r.penalty > 0)) {
                partiesOf(a, columns, format, in.parties);
                out.claim = std::move(in);
            }
            return out;
        } catch (const AppError &e) {
            error = e.message();
        }
    }
    return failedResult(a, error, format);
}

} // namespace

LedgerResult countLedgerAccount(LedgerAccount &a, const LedgerColumns &columns,
                                const calc::PeriodInput &base, const CsvFormat &format,
                                bool details, LedgerClaims claims) {
    if (a.name.isEmpty()) nameAccount(a, columns, format);
    try {
        return countAccount(a, columns, base, format, details, claims);
    } catch (const std::bad_alloc &) {
        // One account too large for the memory left is that account's error.
        return failedResult(a, QStringLiteral("недостаточно памяти"), format);
    }
}

} // namespace bulk
