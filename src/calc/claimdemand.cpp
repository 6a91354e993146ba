// SPDX-License-Identifier: GPL-3.0-or-later
// What a claim on its basis demands beside the count: whether the base of
// the penalty is claimed too, the fine a court awards on top, and the court
// fee as it is paid.
#include "presets.h"

#include "common/dates.h"
#include "money.h"

namespace calc {
namespace {

QDate dayOf(const char *text) {
    QDate d;
    parseDateText(QString::fromLatin1(text), d);
    return d;
}

} // namespace

bool claimsBase(const PeriodInput &claim) {
    const Preset *p = presetOf(claim);
    if (!p || p->base == PresetBase::Owed) return true;
    return p->base == PresetBase::Chosen && claim.claimBase.value_or(true);
}

bool baseChosen(QStringView basis) {
    const Preset *p = basis.isEmpty() ? nullptr : presetNamed(basis);
    return p && p->base == PresetBase::Chosen;
}

const PresetObligation *unclaimedBase(const PeriodInput &claim) {
    const Preset *p = presetOf(claim);
    return p && p->obligation.until && !claimsBase(claim) ? &p->obligation : nullptr;
}

const PresetFine *fineOn(const Preset &preset, QDate filed) {
    const PresetFine *on = nullptr;
    for (const PresetFine &f : preset.fines)
        if (f.article && (!f.from || (filed.isValid() && filed >= dayOf(f.from)))) on = &f;
    return on;
}

qint64 claimFeeKopecks(const PeriodInput &claim, qint64 total, QString *article, qint64 *byScale) {
    if (byScale) *byScale = 0;
    if (total <= 0) return 0; // nothing claimed, no claim to pay for
    const FeeScale scale = feeScaleFor(claim.filed);
    qint64 fee = courtFeeKopecks(total, claim.court, scale);
    const Preset *p = presetOf(claim);
    if (p && p->fee.article && claim.feeExemption) {
        const qint64 free = p->fee.freeUpTo * 100;
        fee = total <= free ? 0 : fee - (free ? courtFeeKopecks(free, claim.court, scale) : fee);
        if (article) {
            *article = QString::fromUtf8(p->fee.article);
            if (free && fee == 0)
                *article += QStringLiteral(": цена иска не более %1 руб.").arg(kopecksText(free));
            else if (free)
                *article += QStringLiteral(": за вычетом пошлины с %1 руб.").arg(kopecksText(free));
        }
    }
    if (claim.courtOrder) fee = courtOrderFee(fee, claim.court, scale);
    const qint64 paid = paidFee(fee, scale);
    if (byScale) *byScale = paid == fee ? 0 : fee;
    return paid;
}

QString feeLine(qint64 fee, const QString &article, qint64 byScale) {
    if (fee == 0 && !article.isEmpty())
        return QStringLiteral("Государственная пошлина: не уплачивается (%1)").arg(article);
    QString why = article;
    if (byScale > 0)
        why += (why.isEmpty() ? QString() : QStringLiteral("; ")) +
               QStringLiteral("в полных рублях, п. 6 ст. 52 НК РФ; по шкале — %1")
                   .arg(kopecksText(byScale));
    if (why.isEmpty())
        return QStringLiteral("Государственная пошлина: %1 руб.").arg(kopecksText(fee));
    return QStringLiteral("Государственная пошлина: %1 руб. (%2)").arg(kopecksText(fee), why);
}

} // namespace calc
