#include "editor/BandedHeader.h"

#include "editor/GridColumns.h"

#include <QPainter>
#include <QStyleOptionHeader>

#include <algorithm>

namespace ravnobor::editor {

BandedHeader::BandedHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setHighlightSections(false);
    setSortIndicatorShown(false);
    setSectionResizeMode(QHeaderView::Interactive);
    setDefaultAlignment(Qt::AlignCenter);
    setMinimumSectionSize(MinClampedWidth);
}

void BandedHeader::setHighlightedSection(int logicalIndex) {
    m_highlighted = logicalIndex;
    viewport()->update();
}

QColor BandedHeader::sectionColour(int logicalIndex) const {
    return logicalIndex == m_highlighted ? highlightColour() : palette().color(QPalette::Button);
}

int BandedHeader::headingHeight() const {
    return 4 * fontMetrics().lineSpacing() + 8;
}

QSize BandedHeader::sizeHint() const {
    return {QHeaderView::sizeHint().width(), headingHeight()};
}

std::vector<int> BandedHeader::shownSections() const {
    std::vector<int> shown;
    for (int visual = 0; visual < count(); ++visual) {
        const int logical = logicalIndex(visual);
        if (!isSectionHidden(logical))
            shown.push_back(logical);
    }
    return shown;
}

void BandedHeader::drawCell(QPainter* painter, const QRect& rect, const QString& text, bool highlighted) const {
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.state |= QStyle::State_Raised;
    option.position = QStyleOptionHeader::Middle;
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    if (highlighted)
        painter->fillRect(rect.adjusted(1, 1, -1, -1), highlightColour());
    painter->setPen(palette().color(QPalette::ButtonText));
    const QRect area = rect.adjusted(3, 1, -3, -1);
    const int flags = int(Qt::AlignCenter) | Qt::TextWordWrap;
    // Wrapped where it fits; a word wider than the cell is cut short with "…".
    if (fontMetrics().boundingRect(area, flags, text).width() <= area.width())
        painter->drawText(area, flags, text);
    else
        painter->drawText(area, Qt::AlignCenter, fontMetrics().elidedText(text, Qt::ElideRight, area.width()));
}

void BandedHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid() || !model())
        return;
    const std::vector<int> shown = shownSections();
    const auto found = std::find(shown.begin(), shown.end(), logicalIndex);
    if (found == shown.end())
        return;
    std::vector<QStringList> levels;
    levels.reserve(shown.size());
    int deepest = 1;
    for (int logical : shown) {
        levels.push_back(headingLevels(model()->headerData(logical, Qt::Horizontal).toString()));
        deepest = std::max(deepest, int(levels.back().size()));
    }
    const int at = int(found - shown.begin());
    const QStringList& own = levels[size_t(at)];
    // Upper levels take one line each, so the bands of neighbours line up; the
    // column's own bottom cell takes the rest.
    const int unit = std::min(fontMetrics().lineSpacing() + 6, rect.height() / std::max(deepest, 4));

    painter->save();
    painter->setClipRect(rect, Qt::IntersectClip);
    for (int level = 0; level + 1 < int(own.size()); ++level) {
        const BandSpan span = bandAt(levels, at, level);
        const int first = shown[size_t(span.first)];
        const int last = shown[size_t(span.last)];
        const int left = sectionViewportPosition(first);
        const int right = sectionViewportPosition(last) + sectionSize(last);
        drawCell(painter, QRect(left, rect.top() + level * unit, right - left, unit), own.at(level), false);
    }
    const int top = rect.top() + (int(own.size()) - 1) * unit;
    drawCell(painter, QRect(rect.left(), top, rect.width(), rect.bottom() + 1 - top), own.last(),
             logicalIndex == m_highlighted);
    painter->restore();
}

RowIndicatorHeader::RowIndicatorHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {
    setSectionResizeMode(QHeaderView::Interactive);
    setSectionsClickable(true);
    setHighlightSections(false);
}

QSize RowIndicatorHeader::sizeHint() const {
    // Fixed: the default hint would measure hundreds of rows.
    return {fontMetrics().horizontalAdvance(QStringLiteral("M")) + 10, defaultSectionSize()};
}

void RowIndicatorHeader::setCurrentRow(int row) {
    if (row == m_current)
        return;
    const int old = m_current;
    m_current = row;
    if (old >= 0)
        updateSection(old);
    if (row >= 0)
        updateSection(row);
}

void RowIndicatorHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid())
        return;
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.rect = rect;
    option.state |= QStyle::State_Raised;
    option.position = QStyleOptionHeader::Middle;
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
    const QString mark = model() ? model()->headerData(logicalIndex, Qt::Vertical).toString() : QString();
    painter->save();
    painter->setPen(palette().color(QPalette::ButtonText));
    if (!mark.isEmpty()) {
        painter->drawText(rect, Qt::AlignCenter, mark);
    } else if (logicalIndex == m_current) {
        // A small triangle pointing at the current row.
        const int h = std::min(rect.height() - 6, 8);
        const QPoint c = rect.center();
        const QPolygon triangle(
            {QPoint(c.x() - h / 4, c.y() - h / 2), QPoint(c.x() - h / 4, c.y() + h / 2), QPoint(c.x() + h / 2, c.y())});
        painter->setBrush(palette().color(QPalette::ButtonText));
        painter->setRenderHint(QPainter::Antialiasing);
        painter->drawPolygon(triangle);
    }
    painter->restore();
}

} // namespace ravnobor::editor
