#include "board/TotalsText.h"

#include "split/ShareTotals.h"

namespace ravnobor::board {

TotalsTexts totalsTexts(const TotalsInput& in, const QLocale& locale) {
    return totalsTexts(in, split::Share(), locale);
}

TotalsTexts totalsTexts(const TotalsInput& in, const split::Share& share, const QLocale& locale) {
    const auto amount = [&](const split::ExactAmount& m) { return m.toAmountText(in.currencySuffix, locale); };
    const split::ExactAmount distributed = in.share1 + in.share2;
    TotalsTexts t;
    t.edit17 = amount(in.undistributed + distributed);
    t.edit18 = amount(distributed);
    t.edit19 = amount(in.undistributed);
    t.edit20 = amount(distributed.halved());
    t.label14 = QStringLiteral("  ") + in.party1Name;
    t.label8 = QStringLiteral("  ") + in.party2Name;
    t.edit16 = amount(in.share1) + QStringLiteral("  ");
    t.edit9 = amount(in.share2) + QStringLiteral("  ");
    // Half the difference; halving the difference itself keeps the amount exact to
    // the last kept digit, so its rounding to cents is that of the true value.
    if (in.share1 > in.share2) {
        const QString d = amount((in.share1 - in.share2).halved());
        t.edit12 = SubtractText + d;
        t.edit10 = PayUpText + d;
    } else {
        const QString d = amount((in.share2 - in.share1).halved());
        t.edit10 = SubtractText + d;
        t.edit12 = PayUpText + d;
    }
    // An unequal share measures party 1 against its target, share × (S1 + S2), instead of half.
    t.halfCaption = split::shareCaption(share);
    if (!share.isEqual()) {
        const split::ShareTotals shares = split::shareTotals(in.share1, in.share2, share, in.currencySuffix, locale);
        t.edit20 = shares.targetText;
        t.edit12 = shares.party1Line;
        t.edit10 = shares.party2Line;
    }
    t.priceCaption = QStringLiteral("Цена, ") + in.currencySuffix;
    return t;
}

} // namespace ravnobor::board
