#include "board/BoardLayout.h"

#include <algorithm>

namespace ravnobor::board {

BoardGeometry boardGeometry(const BoardLayoutInput& in) {
    const int outer = in.clientWidth + DesignedFrameWidth;
    // Nearest integer; a third of an integer never lies halfway.
    const int third = (outer * 2 + 3) / 6;
    BoardGeometry g;
    g.leftWidth = std::max(third, MinimumListWidth);
    g.rightWidth = g.leftWidth;
    g.centreWidth = std::max(in.clientWidth - g.leftWidth - g.rightWidth, MinimumListWidth);
    g.rightLeft = g.leftWidth + g.centreWidth;
    g.centreNameWidth = g.centreWidth - in.centrePriceWidth - 25;
    g.leftNameWidth = g.leftWidth - in.leftPriceWidth - 25;
    g.rightNameWidth = g.rightWidth - in.rightPriceWidth - 25;
    g.label1Left = 5;
    g.label1Width = g.leftWidth - 10;
    g.label2Left = g.rightLeft + 5;
    g.label2Width = g.rightWidth - 10;
    g.statusPanel0Width = outer - (in.otherStatusPanels[0] + in.otherStatusPanels[1] + in.otherStatusPanels[2]) - 6;
    return g;
}

int minimumClientWidth() {
    int width = 3 * MinimumListWidth;
    while (boardGeometry({width}).rightLeft + boardGeometry({width}).rightWidth > width)
        ++width;
    return width;
}

} // namespace ravnobor::board
