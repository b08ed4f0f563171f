#include "split/ShareTotals.h"

namespace ravnobor::split {

QString shareCaption(const Share& share) {
    if (share.isEqual())
        return HalfCaption;
    return QStringLiteral("Доля стороны 1 (%1) от суммы распределенного имущества").arg(share.text());
}

ShareTotals shareTotals(const ExactAmount& share1Total, const ExactAmount& share2Total, const Share& share,
                        const QString& currencySuffix, const QLocale& locale) {
    ShareTotals out;
    const ExactAmount distributed = share1Total + share2Total;
    out.target = ExactAmount::ratio(distributed.numerator() * share.numerator(),
                                    distributed.denominator() * share.denominator());
    const ExactAmount surplus = share1Total - out.target;
    out.payment = surplus.abs();
    out.party1Pays = surplus.sign() > 0;
    out.targetCaption = shareCaption(share);
    out.targetText = out.target.toAmountText(currencySuffix, locale);
    const QString amount = out.payment.toAmountText(currencySuffix, locale);
    const QString& subtract = share.isEqual() ? SubtractToEqual : SubtractToShare;
    const QString& payUp = share.isEqual() ? PayUpToEqual : PayUpToShare;
    out.party1Line = (out.party1Pays ? subtract : payUp) + amount;
    out.party2Line = (out.party1Pays ? payUp : subtract) + amount;
    return out;
}

} // namespace ravnobor::split
