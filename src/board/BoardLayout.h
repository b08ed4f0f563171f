#pragma once

#include <array>

// The arithmetic of the board's layout, without widgets.
namespace ravnobor::board {

inline constexpr int MinimumListWidth = 155;
// The designed platform measured the window with its frame; ours belongs to the
// window manager, so the frame is taken as the designed one.
inline constexpr int DesignedFrameWidth = 8;

struct BoardGeometry {
    int leftWidth = 0;
    int centreWidth = 0;
    int rightWidth = 0;
    int rightLeft = 0; // the right list's left edge
    // Name column widths of the centre, left and right list.
    int centreNameWidth = 0;
    int leftNameWidth = 0;
    int rightNameWidth = 0;
    int label1Left = 0, label1Width = 0;
    int label2Left = 0, label2Width = 0;
    int statusPanel0Width = 0;
};

struct BoardLayoutInput {
    int clientWidth = 0;
    // The price column width of the centre, left and right list.
    int centrePriceWidth = 70, leftPriceWidth = 70, rightPriceWidth = 70;
    // The second, third and fourth status panels.
    std::array<int, 3> otherStatusPanels{300, 70, 70};
};

BoardGeometry boardGeometry(const BoardLayoutInput& input);

// The narrowest client width at which every list keeps its minimum width.
int minimumClientWidth();

} // namespace ravnobor::board
