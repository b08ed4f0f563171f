#pragma once

#include "store/Layout.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// The twelve columns of the property-list grid: which stored column each shows, its
// design width, and the rules for headings and widths. No widgets here.
namespace ravnobor::editor {

inline constexpr int GridColumnCount = layout::HeadingCount;

enum GridColumn : int {
    GridName = 0,
    GridPrice1 = 1,
    GridPrice2 = 2,
    GridAgreed = 3,
    GridValuation = 4,
    GridFirstAllocation = 5, // 1_ц1: the one column without a title button
    GridLastAllocation = 10,
    GridNotes = 11
};

struct GridColumnInfo {
    int storedPosition; // position in the list dataset; name and notes are found by name on open
    int designWidth;
    bool clamped; // kept between MinClampedWidth and MaxClampedWidth
};

inline constexpr int DefaultColumnWidth = 64;
inline constexpr int MinClampedWidth = 10;
inline constexpr int MaxClampedWidth = 200;

inline constexpr std::array<GridColumnInfo, GridColumnCount> GridColumns = {{
    {layout::ColName, 131, true},
    {layout::ColPrice1, 83, true},
    {layout::ColPrice2, 84, true},
    {layout::ColAgreedPrice, 122, true},
    {layout::ColValuation, 100, false},
    {layout::ColAlloc1, DefaultColumnWidth, false},
    {layout::ColAlloc1b, DefaultColumnWidth, true},
    {layout::ColAlloc1c, DefaultColumnWidth, true},
    {layout::ColAlloc2, DefaultColumnWidth, true},
    {layout::ColAlloc2b, DefaultColumnWidth, true},
    {layout::ColAlloc2c, DefaultColumnWidth, true},
    {layout::ColNotes, 200, false},
}};

inline constexpr bool isPriceGridColumn(int column) {
    return column >= GridPrice1 && column <= GridAgreed;
}
inline constexpr bool isAllocationGridColumn(int column) {
    return column >= GridFirstAllocation && column <= GridLastAllocation;
}
inline constexpr bool hasTitleButton(int column) {
    return column != GridFirstAllocation;
}
// The list view shows 0-4 and 11; the summary view 0-10.
inline constexpr bool shownInListView(int column) {
    return column <= GridValuation || column == GridNotes;
}
// Alt+S inverts the visibility of these columns one by one.
inline constexpr bool switchedByViewKey(int column) {
    return column >= GridFirstAllocation;
}

using ColumnFlags = std::array<bool, GridColumnCount>;
using ColumnWidths = std::array<int, GridColumnCount>;

// Widths of the visible columns fitted to the client width in proportion to the
// design widths; hidden columns get 0.
ColumnWidths fittedWidths(int clientWidth, const ColumnFlags& visible);

// A heading split at each "|" into levels, from top to bottom.
QStringList headingLevels(const QString& heading);

// Columns that share the heading cell of one upper level: a run of neighbouring
// shown columns whose levels down to that one read the same.
struct BandSpan {
    int first = -1; // position in the order given
    int last = -1;
};
// `levels` lists the shown columns in the order they stand; `at` is one of them.
// Returns the run that shares level `level` of column `at`, or an empty span when
// that level is the column's own bottom cell.
BandSpan bandAt(const std::vector<QStringList>& levels, int at, int level);

} // namespace ravnobor::editor
