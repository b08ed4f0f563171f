#include "board/ShareBar.h"

namespace ravnobor::board {

namespace {

// round(numerator * scale / denominator), half up; every argument non-negative.
Int128 scaled(Int128 numerator, Int128 scale, Int128 denominator) {
    return (2 * numerator * scale + denominator) / (2 * denominator);
}

} // namespace

QString percentText(Money part, Money whole, const QLocale& locale) {
    if (whole.units() <= 0 || part.units() < 0)
        return {};
    const auto tenths = qint64(scaled(part.units(), 1000, whole.units()));
    return locale.toString(tenths / 10) + locale.decimalPoint() + QString::number(tenths % 10) + QStringLiteral(" %");
}

int ShareBar::party1Width(int width) const {
    if (empty || width <= 0)
        return 0;
    return int(scaled(share1.units(), width, distributed.units()));
}

int ShareBar::targetX(int width) const {
    if (width <= 0)
        return 0;
    return int(scaled(target.numerator(), width, target.denominator()));
}

ShareBar shareBar(const ShareBarInput& in, const QLocale& locale) {
    ShareBar bar;
    bar.target = in.target;
    bar.share1 = in.share1;
    bar.distributed = in.share1 + in.share2;
    // Negative sums come only from odd case files; a bar of them would mislead.
    bar.empty = bar.distributed.units() <= 0 || in.share1.units() < 0 || in.share2.units() < 0;
    if (!bar.empty) {
        bar.party1Name = in.party1Name;
        bar.party2Name = in.party2Name;
        bar.party1Percent = percentText(in.share1, bar.distributed, locale);
        bar.party2Percent = percentText(in.share2, bar.distributed, locale);
        bar.party1Label = in.party1Name + u' ' + bar.party1Percent;
        bar.party2Label = in.party2Name + u' ' + bar.party2Percent;
    }
    // Of all property, undistributed included.
    const Money all = bar.distributed + in.undistributed;
    if (all.units() > 0 && in.undistributed.units() >= 0)
        bar.undistributedLabel = QStringLiteral("Не распределено: %1").arg(percentText(in.undistributed, all, locale));
    return bar;
}

} // namespace ravnobor::board
