#include "split/ShareBalance.h"

namespace ravnobor::split {

namespace {

constexpr std::int64_t PercentScale = 1000000; // a share in millionths: a percent with 4 decimals

ExactAmount scaled(const ExactAmount& amount, const Share& share) {
    return ExactAmount::ratio(amount.numerator() * share.numerator(), amount.denominator() * share.denominator());
}

// n/d rounded to the nearest whole, halves away from zero; d > 0.
Int128 roundedRatio(Int128 n, Int128 d) {
    const Int128 twice = 2 * (n < 0 ? -n : n) + d;
    const Int128 whole = twice / (2 * d);
    return n < 0 ? -whole : whole;
}

QString percentText(Int128 millionths) {
    const auto units = std::int64_t(millionths);
    return QStringLiteral("%1,%2").arg(units / 10000).arg(units % 10000, 4, 10, QChar(u'0'));
}

} // namespace

ShareBalance balanceShare(const ExactAmount& share1Without, const ExactAmount& share2Without,
                          const std::optional<Money>& price, const Share& caseShare) {
    const Money whole = price.value_or(Money());
    const ExactAmount target = scaled(share1Without + share2Without + whole, caseShare);
    ShareBalance out;
    out.needed = target - share1Without;
    if (whole.isZero())
        return out;
    // The share is needed ÷ price, kept as a reduced ratio.
    const ExactAmount share = ExactAmount::ratio(out.needed.numerator(), out.needed.denominator() * whole.units());
    if (share.sign() <= 0 || share.numerator() >= share.denominator())
        return out;
    if (share.denominator() <= Share::MaxDenominator) {
        out.shareText = QStringLiteral("%1/%2").arg(qint64(share.numerator())).arg(qint64(share.denominator()));
    } else {
        const Int128 millionths = roundedRatio(share.numerator() * PercentScale, share.denominator());
        if (millionths <= 0 || millionths >= PercentScale)
            return out;
        out.shareText = percentText(millionths);
    }
    const Share chosen = Share::parse(out.shareText);
    out.remainder = (share1Without + ExactAmount::partOf(chosen, whole) - target).abs();
    out.possible = true;
    return out;
}

QString unbalancedText(const ShareBalance& balance, const std::optional<Money>& price, const QString& currencySuffix,
                       const QLocale& locale) {
    return QStringLiteral("Этим предметом доли не уравнять: нужно %1 из %2")
        .arg(balance.needed.toAmountText(currencySuffix, locale),
             price.value_or(Money()).toAmountText(currencySuffix, locale));
}

} // namespace ravnobor::split
