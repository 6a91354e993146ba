// SPDX-License-Identifier: GPL-3.0-or-later
#include "paper.h"

#include "calc/claimfields.h"
#include "calc/housing.h"
#include "calc/moneywords.h"
#include "calc/presets.h"
#include "common/apperror.h"
#include "common/dates.h"
#include "law/courtorder.h"
#include "law/datedlines.h"
#include "storage/ratefile.h"
#include "storage/regularfile.h"

#include <QDir>

namespace documents {
namespace {

struct PaperWords {
    PaperKind kind;
    const char *name, *title;
};
const PaperWords kPapers[] = {
    {PaperKind::ClaimLetter, "claim-letter", "Претензия"},
    {PaperKind::CourtOrder, "court-order", "Заявление о выдаче судебного приказа"},
    {PaperKind::Statement, "statement", "Исковое заявление"},
};

// A template is a page or two of text: a megabyte is no template.
constexpr qint64 kMaxTemplateBytes = 1 << 20;

// What a paper says of the sum it claims, by the report's "Сумма …": what it
// is, and "Расчет …" of it.
struct ChargedWords {
    const char *total, *what, *of, *whom;
};
const ChargedWords kCharged[] = {
    {"Сумма процентов", "проценты", "процентов", "проценты"},
    {"Сумма неустойки", "неустойка", "неустойки", "неустойку"},
    {"Сумма пеней", "пени", "пеней", "пени"},
    {"Сумма компенсации", "компенсация", "компенсации", "компенсацию"},
};

// The articles a court paper is filed under, by the court.
QString procedureOf(PaperKind kind, calc::Court court) {
    const bool arbitration = court == calc::Court::Arbitration;
    if (kind == PaperKind::CourtOrder)
        return arbitration ? QStringLiteral("ст. 229.1–229.5 АПК РФ")
                           : QStringLiteral("ст. 121–124 ГПК РФ");
    return arbitration ? QStringLiteral("ст. 125, 126 АПК РФ")
                       : QStringLiteral("ст. 131, 132 ГПК РФ");
}

QString withWords(qint64 kopecks) {
    return QStringLiteral("%1 руб. (%2)")
        .arg(groupedKopecks(kopecks), calc::roublesInWords(kopecks));
}

QString periodOf(const ClaimDocument &doc) {
    if (doc.claim.count == calc::PeriodCount::Housing)
        return QStringLiteral("по %1").arg(dateText(doc.claim.filed));
    return QStringLiteral("с %1 по %2").arg(dateText(doc.claim.start), dateText(doc.claim.end));
}

// What the debtor did not do, when the claim demands no debt: the obligation
// a base that is no debt stands for, with its day ("не передал объект долевого
// строительства в срок 15.03.2022"), or a debt paid late. Empty when a debt
// is claimed: the paper states it.
QString breachOf(const ClaimDocument &doc) {
    if (doc.result.remaining > 0) return {};
    if (const calc::PresetObligation *unclaimed = calc::unclaimedBase(doc.claim))
        return QStringLiteral("%1 в срок %2")
            .arg(QString::fromUtf8(unclaimed->breach), dateText(doc.claim.start.addDays(-1)));
    return QStringLiteral("исполнил денежное обязательство с просрочкой: долг оплачен");
}

QHash<QString, QString> valuesOf(const ClaimDocument &doc, PaperKind kind) {
    QHash<QString, QString> v;
    for (const calc::FieldInfo &field : calc::claimFields())
        if (const QString *party = calc::partyText(doc.claim.parties, field.field))
            v.insert(QString::fromLatin1(field.column), *party);
    const calc::PeriodResult &r = doc.result;
    const calc::Preset *basis = calc::presetOf(doc.claim);
    if (!basis) basis = calc::presetNamed(calc::countName(doc.claim.count));
    const ChargedWords *charged = &kCharged[0];
    for (const ChargedWords &each : kCharged)
        if (basis && basis->total && qstrcmp(each.total, basis->total) == 0) charged = &each;
    v.insert(QStringLiteral("charged_what"), QString::fromUtf8(charged->what));
    v.insert(QStringLiteral("charged_of"), QString::fromUtf8(charged->of));
    v.insert(QStringLiteral("charged_whom"), QString::fromUtf8(charged->whom));
    v.insert(QStringLiteral("article"), basis && basis->article
                                            ? QString::fromUtf8(basis->article)
                                            : QStringLiteral("условия договора"));
    // Nothing of the debt claimed (paid late, or a base that is no debt): the
    // lines that demand it are left out, and the paper says what was not done.
    const bool debtClaimed = r.remaining > 0;
    v.insert(QStringLiteral("debt"), debtClaimed ? withWords(r.remaining) : QString());
    v.insert(QStringLiteral("breach"), breachOf(doc));
    v.insert(QStringLiteral("charged_item"),
             debtClaimed ? QStringLiteral("2") : QStringLiteral("1"));
    // A fee the claimant does not pay is not demanded: its item is left out.
    const bool feeFree = r.fee == 0 && !r.feeExemption.isEmpty();
    v.insert(QStringLiteral("fee_item"), feeFree       ? QString()
                                         : debtClaimed ? QStringLiteral("3")
                                                       : QStringLiteral("2"));
    const QString of = QString::fromUtf8(charged->of), whom = QString::fromUtf8(charged->whom);
    v.insert(QStringLiteral("charged_end"), feeFree ? QStringLiteral(".") : QStringLiteral(";"));
    v.insert(QStringLiteral("subject"), debtClaimed ? QStringLiteral("долга и ") + of : of);
    v.insert(QStringLiteral("pay_what"), debtClaimed ? QStringLiteral("долг и ") + whom : whom);
    v.insert(QStringLiteral("charged"), withWords(r.interest));
    v.insert(QStringLiteral("total"), withWords(r.remaining + r.interest));
    // A claimant the law frees of the fee pays none, demands none back and
    // attaches no payment (ст. 333.36 НК РФ).
    v.insert(QStringLiteral("fee"), feeFree ? QString() : withWords(r.fee));
    v.insert(QStringLiteral("fee_free"),
             feeFree ? QStringLiteral("Государственная пошлина не уплачивается (%1)")
                           .arg(r.feeExemption.section(u':', 0, 0))
                     : QString());
    v.insert(QStringLiteral("fee_document"),
             feeFree ? QString() : QStringLiteral("Документ об уплате государственной пошлины."));
    v.insert(QStringLiteral("period"), periodOf(doc));
    v.insert(QStringLiteral("continuing"),
             r.continuing.isEmpty() ? QString()
                                    : QStringLiteral(", ") + groupedAmounts(r.continuing));
    v.insert(QStringLiteral("pages"), QString::number(calculationPages(doc)));
    v.insert(QStringLiteral("date"), dateText(doc.madeOn));
    v.insert(QStringLiteral("procedure"), procedureOf(kind, doc.claim.court));
    v.insert(QStringLiteral("pretrial"),
             kind == PaperKind::Statement && doc.claim.court == calc::Court::Arbitration
                 ? QStringLiteral("Претензия и доказательства ее направления ответчику.")
                 : QString());
    return v;
}

} // namespace

QList<std::pair<QString, QString>> templateStandIns() {
    QList<std::pair<QString, QString>> out;
    for (const calc::FieldInfo &field : calc::claimFields())
        if (calc::isPartyField(field.field))
            out.append({QString::fromLatin1(field.column),
                        QString::fromUtf8(field.help).section(QStringLiteral(": "), 1)});
    const char *const kOwn[][2] = {
        {"debt", "долг с суммой прописью; пусто, когда долг не взыскивается"},
        {"breach", "что не исполнено, когда долг не взыскивается: «не передал объект долевого "
                   "строительства в срок 15.03.2022», «исполнил денежное обязательство с "
                   "просрочкой…»; иначе пусто"},
        {"fee_free", "«Государственная пошлина не уплачивается (статья)», когда истец от нее "
                     "освобожден; иначе пусто ({{fee}} тогда пуст)"},
        {"fee_document", "«Документ об уплате государственной пошлины.» или пусто, когда "
                         "пошлина не уплачивается"},
        {"charged_item", "номер требования о неустойке: 2, или 1 без долга"},
        {"charged_end", "«;» после требования о неустойке, «.» когда оно последнее"},
        {"fee_item", "номер требования о пошлине: 3, или 2 без долга"},
        {"subject", "что взыскивается: «долга и процентов» или «неустойки»"},
        {"pay_what", "что уплатить: «долг и проценты» или «неустойку»"},
        {"charged", "проценты, неустойка или пени по конец периода, с суммой прописью"},
        {"total", "цена требования: долг и начисленное, с суммой прописью"},
        {"fee", "государственная пошлина (для судебного приказа — половина), с суммой прописью"},
        {"charged_what", "что начислено: проценты, неустойка, пени, компенсация"},
        {"charged_of", "то же в родительном падеже: процентов, неустойки, …"},
        {"charged_whom", "то же в винительном падеже: проценты, неустойку, …"},
        {"article", "статья закона основания расчета"},
        {"period", "период: «с 01.01.2025 по 31.03.2025» (ЖКУ — «по» дату расчета)"},
        {"continuing", "«, и далее с … по день фактической оплаты долга …» или пусто"},
        {"pages", "число листов расчета"},
        {"date", "дата составления"},
        {"procedure", "статьи процессуального кодекса, по которым подается документ"},
        {"pretrial", "для иска в арбитражный суд — строка о претензии, иначе пусто"},
    };
    for (const auto &own : kOwn)
        out.append({QString::fromLatin1(own[0]), QString::fromUtf8(own[1])});
    return out;
}

QString paperName(PaperKind kind) {
    return QString::fromLatin1(kPapers[int(kind)].name);
}

QString paperTitle(PaperKind kind) {
    return QString::fromUtf8(kPapers[int(kind)].title);
}

bool paperNamed(const QString &name, PaperKind &kind) {
    for (const PaperWords &p : kPapers)
        if (name == QLatin1String(p.name)) {
            kind = p.kind;
            return true;
        }
    return false;
}

QString paperFileName(const calc::PeriodInput &claim, PaperKind kind) {
    return paperTitle(kind) + u' ' + claimFileName(claim).section(u' ', 1);
}

QString userTemplateFolder() {
    return QDir(storage::dataFolder()).filePath(QStringLiteral("shablony"));
}

QString fieldNames(const QList<calc::ClaimField> &fields, FieldNames names) {
    QStringList named;
    for (calc::ClaimField f : fields)
        named << (names == FieldNames::Options
                      ? QString::fromLatin1(calc::fieldInfo(f).option)
                      : QString::fromUtf8(calc::fieldInfo(f).russian).replace(u'_', u' '));
    return named.join(QStringLiteral(", "));
}

QList<calc::ClaimField> missingParties(const calc::Parties &p, PaperKind kind) {
    using F = calc::ClaimField;
    QList<F> needed = {F::Claimant, F::Debtor, F::DebtorAddress};
    if (kind != PaperKind::ClaimLetter) needed << F::CourtName;
    QList<F> missing;
    for (F f : needed)
        if (calc::partyText(p, f)->isEmpty()) missing << f;
    return missing;
}

QString partiesLeftOutNote(const ClaimDocument &doc, PaperKind kind, FieldNames names) {
    if (doc.partiesLeftOut.isEmpty()) return {};
    return QStringLiteral("%1: в шаблоне документа «%2» этого нет, в документ не вошло")
        .arg(fieldNames(doc.partiesLeftOut, names), paperTitle(kind));
}

QString missingPartiesMessage(const QList<calc::ClaimField> &missing, PaperKind kind,
                              FieldNames names) {
    return QStringLiteral("%1: не указано, а без этого не составить документ «%2»")
        .arg(fieldNames(missing, names), paperTitle(kind));
}

namespace {

// The template's text: the user's copy when there is one, else the program's.
QString templateText(PaperKind kind, const QString &folder, QString &source) {
    const QString name = paperName(kind) + QStringLiteral(".txt");
    source = QDir(folder).filePath(name);
    if (folder.isEmpty() || storage::placeAt(source) == storage::Place::Nothing) {
        source = QStringLiteral(":/templates/") + name;
        return law::resourceText(source);
    }
    QString text;
    if (const QString why = storage::readUtf8File(source, kMaxTemplateBytes, text); !why.isEmpty())
        throw AppError(
            QStringLiteral("Шаблон \"%1\": %2").arg(QDir::toNativeSeparators(source), why));
    return text;
}

void refuseAboveLimit(const ClaimDocument &doc) {
    const bool arbitration = doc.claim.court == calc::Court::Arbitration;
    const qint64 limit = law::courtOrderLimit(arbitration, doc.claim.filed);
    const qint64 price = doc.result.remaining + doc.result.interest;
    const QString court = arbitration ? QStringLiteral("арбитражным судом (ст. 229.2 АПК РФ)")
                                      : QStringLiteral("судом общей юрисдикции (ст. 121 ГПК РФ)");
    if (limit == 0)
        throw AboveCourtOrderLimit(
            QStringLiteral("Предел требования, по которому %1 выдает судебный приказ, на %2 "
                           "программе не известен: подайте исковое заявление")
                .arg(arbitration ? QStringLiteral("арбитражный суд")
                                 : QStringLiteral("суд общей юрисдикции"),
                     dateText(doc.claim.filed)));
    if (price > limit * 100)
        throw AboveCourtOrderLimit(
            QStringLiteral("Судебный приказ выдается %1, если требование не больше "
                           "%2 руб., а здесь %3 руб.: подайте исковое заявление")
                .arg(court, groupedKopecks(limit * 100), groupedKopecks(price)));
}

} // namespace

ClaimDocument makePaper(calc::PeriodInput claim, PaperKind kind, QDate madeOn,
                        const QString &templates) {
    if (const QList<calc::ClaimField> missing = missingParties(claim.parties, kind);
        !missing.isEmpty())
        throw AppError(missingPartiesMessage(missing, kind));
    // What the court is paid depends on the paper, whatever the claim said.
    if (kind != PaperKind::ClaimLetter) claim.courtOrder = kind == PaperKind::CourtOrder;
    ClaimDocument doc = makeDocument(claim, madeOn);
    if (kind == PaperKind::CourtOrder) refuseAboveLimit(doc);
    QString source;
    const QString text = templateText(kind, templates, source);
    QSet<QString> used;
    doc.paper = fillTemplate(text, source, valuesOf(doc, kind), &used);
    for (const calc::FieldInfo &field : calc::claimFields())
        if (const QString *party = calc::partyText(doc.claim.parties, field.field);
            party && !party->isEmpty() && !used.contains(QString::fromLatin1(field.column)))
            doc.partiesLeftOut << field.field;
    return doc;
}

} // namespace documents
