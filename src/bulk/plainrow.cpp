// SPDX-License-Identifier: GPL-3.0-or-later
#include "plainrow.h"

#include "calc/claimfields.h"

#include <QStringEncoder>
#include <array>

namespace bulk {
namespace {

int digits(QByteArrayView t, qsizetype at, int n) {
    int v = 0;
    for (int i = 0; i < n; ++i) {
        const char c = t[at + i];
        if (c < '0' || c > '9') return -1;
        v = v * 10 + (c - '0');
    }
    return v;
}

} // namespace

QDate readLedgerDay(QByteArrayView t) {
    t = t.trimmed();
    if (t.size() != 10) return {};
    if (t[2] == '.' && t[5] == '.') return QDate(digits(t, 6, 4), digits(t, 3, 2), digits(t, 0, 2));
    if (t[4] == '-' && t[7] == '-') return QDate(digits(t, 0, 4), digits(t, 5, 2), digits(t, 8, 2));
    return {};
}

QDate readLedgerMonth(QByteArrayView t) {
    t = t.trimmed();
    if (t.size() != 7) return {};
    if (t[2] == '.') return QDate(digits(t, 3, 4), digits(t, 0, 2), 1);
    if (t[4] == '-') return QDate(digits(t, 0, 4), digits(t, 5, 2), 1);
    return {};
}

namespace {

// Digits, then at most one "," or "." and one or two digits.
bool plainAmount(QByteArrayView t) {
    qsizetype n = 0;
    while (n < t.size() && t[n] >= '0' && t[n] <= '9')
        ++n;
    if (n == 0 || t.size() > calc::kAmountLength) return false;
    if (n == t.size()) return true;
    const qsizetype decimals = t.size() - n - 1;
    if ((t[n] != ',' && t[n] != '.') || decimals < 1 || decimals > 2) return false;
    for (qsizetype i = n + 1; i < t.size(); ++i)
        if (t[i] < '0' || t[i] > '9') return false;
    return true;
}

// The kinds' names as the file's bytes have them: "начислено", "оплачено"
// in UTF-8 or code page 1251.
struct KindNames {
    QByteArray charge, payment;
};
const KindNames &kindNames(TextEncoding encoding) {
    static const KindNames utf8{QByteArray("начислено"), QByteArray("оплачено")};
    static const KindNames cp1251 = [] {
        QStringEncoder to("windows-1251");
        QByteArray charge = to(QStringLiteral("начислено")),
                   payment = to(QStringLiteral("оплачено"));
        return KindNames{charge, payment};
    }();
    return encoding == TextEncoding::Cp1251 ? cp1251 : utf8;
}

} // namespace

bool readSimpleRow(QByteArrayView line, const LedgerColumns &c, const CsvFormat &format,
                   QList<calc::Charge> &charges, QList<calc::Payment> &payments) {
    // The fields up to the last one read, blanks around them trimmed.
    const int last = std::max({c.account, c.date, c.kind, c.month, c.amount});
    if (last >= 16) return false;
    std::array<QByteArrayView, 16> fields{};
    PlainFields split(line, format.separator);
    for (int i = 0; i <= last; ++i)
        if (!split.next(fields[size_t(i)])) return false; // too few fields
    const auto field = [&](int i) { return i >= 0 ? fields[size_t(i)] : QByteArrayView(); };
    const QByteArrayView kind = field(c.kind), amount = field(c.amount);
    const KindNames &names = kindNames(format.encoding);
    const bool charge = kind == names.charge || kind.compare("charge", Qt::CaseInsensitive) == 0;
    if (!charge && kind != names.payment && kind.compare("payment", Qt::CaseInsensitive) != 0)
        return false;
    if (!plainAmount(amount)) return false;
    const QByteArrayView monthText = field(c.month);
    const QDate m = readLedgerMonth(monthText);
    if (!monthText.isEmpty() && !m.isValid()) return false;
    if (charge) {
        if (!m.isValid()) return false;
        charges.append({m, QString::fromLatin1(amount)});
        return true;
    }
    const QDate paid = readLedgerDay(field(c.date));
    if (!paid.isValid()) return false;
    calc::Payment p{paid, QString::fromLatin1(amount)};
    p.month = m;
    payments.append(p);
    return true;
}

} // namespace bulk
