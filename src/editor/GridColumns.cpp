#include "editor/GridColumns.h"

#include <algorithm>
#include <cmath>

namespace ravnobor::editor {

ColumnWidths fittedWidths(int clientWidth, const ColumnFlags& visible) {
    ColumnWidths widths{};
    int designTotal = 0;
    for (int c = 0; c < GridColumnCount; ++c)
        if (visible[size_t(c)])
            designTotal += GridColumns[size_t(c)].designWidth;
    if (designTotal == 0 || clientWidth <= 0)
        return widths;
    const double scale = double(clientWidth) / designTotal;
    int rounded = 0;
    int lastFree = -1; // the last shown column without bounds takes what rounding down left over
    for (int c = 0; c < GridColumnCount; ++c) {
        if (!visible[size_t(c)])
            continue;
        const GridColumnInfo& info = GridColumns[size_t(c)];
        int width = int(std::floor(info.designWidth * scale));
        rounded += width;
        if (info.clamped)
            width = std::clamp(width, MinClampedWidth, MaxClampedWidth);
        else
            lastFree = c;
        widths[size_t(c)] = std::max(width, 1);
    }
    if (lastFree >= 0)
        widths[size_t(lastFree)] += clientWidth - rounded;
    return widths;
}

QStringList headingLevels(const QString& heading) {
    return heading.split(u'|');
}

namespace {

bool sameUpperLevels(const QStringList& a, const QStringList& b, int level) {
    // Level `level` must be an upper level of both, and every level down to it equal.
    if (a.size() <= level + 1 || b.size() <= level + 1)
        return false;
    for (int k = 0; k <= level; ++k)
        if (a.at(k) != b.at(k))
            return false;
    return true;
}

} // namespace

BandSpan bandAt(const std::vector<QStringList>& levels, int at, int level) {
    const int count = int(levels.size());
    if (at < 0 || at >= count || level < 0 || levels[size_t(at)].size() <= level + 1)
        return {};
    BandSpan span{at, at};
    while (span.first > 0 && sameUpperLevels(levels[size_t(span.first - 1)], levels[size_t(at)], level))
        --span.first;
    while (span.last + 1 < count && sameUpperLevels(levels[size_t(span.last + 1)], levels[size_t(at)], level))
        ++span.last;
    return span;
}

} // namespace ravnobor::editor
