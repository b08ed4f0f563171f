#include "board/TotalsText.h"

namespace ravnobor::board {

TotalsTexts totalsTexts(const TotalsInput& in, const QLocale& locale) {
    const auto amount = [&](Money m) { return m.toAmountText(in.currencySuffix, locale); };
    const Money distributed = in.share1 + in.share2;
    TotalsTexts t;
    t.edit17 = amount(in.undistributed + distributed);
    t.edit18 = amount(distributed);
    t.edit19 = amount(in.undistributed);
    t.edit20 = amount(distributed.half());
    t.label14 = QStringLiteral("  ") + in.party1Name;
    t.label8 = QStringLiteral("  ") + in.party2Name;
    t.edit16 = amount(in.share1) + QStringLiteral("  ");
    t.edit9 = amount(in.share2) + QStringLiteral("  ");
    // Half the difference; halving the difference itself keeps the amount exact to
    // the last kept digit, so its rounding to cents is that of the true value.
    if (in.share1 > in.share2) {
        const QString d = amount((in.share1 - in.share2).half());
        t.edit12 = SubtractText + d;
        t.edit10 = PayUpText + d;
    } else {
        const QString d = amount((in.share2 - in.share1).half());
        t.edit10 = SubtractText + d;
        t.edit12 = PayUpText + d;
    }
    t.priceCaption = QStringLiteral("Цена, ") + in.currencySuffix;
    return t;
}

} // namespace ravnobor::board
