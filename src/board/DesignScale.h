#pragma once

#include <QFontMetrics>

#include <algorithm>
#include <cmath>

namespace ravnobor::board {

// The designed widths were measured in a font whose digits are 6.5 pixels wide; a
// larger font widens them in proportion, so that prices and amounts are not cut.
inline int scaledWidth(const QFontMetrics& metrics, int designedWidth) {
    const double scale = std::max(1.0, metrics.horizontalAdvance(QStringLiteral("0000000000")) / 65.0);
    return int(std::lround(designedWidth * scale));
}

} // namespace ravnobor::board
