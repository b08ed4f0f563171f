#pragma once

#include <QColor>
#include <QHeaderView>

#include <vector>

namespace ravnobor::editor {

// Column headings in levels: a heading is split at "|" from top to bottom, and
// neighbouring columns whose upper levels read the same share one cell for them
// (the band "Цена" over three prices). The heading area is four text lines high.
class BandedHeader final : public QHeaderView {
    Q_OBJECT
public:
    explicit BandedHeader(QWidget* parent);

    static QColor highlightColour() { return {167, 191, 237}; }
    // The heading being renamed is painted in the highlight colour; -1 for none.
    void setHighlightedSection(int logicalIndex);
    int highlightedSection() const { return m_highlighted; }
    QColor sectionColour(int logicalIndex) const;

    int headingHeight() const;
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    std::vector<int> shownSections() const; // logical indices in visual order
    void drawCell(QPainter* painter, const QRect& rect, const QString& text, bool highlighted) const;

    int m_highlighted = -1;
};

// The row indicator at the left: a mark on the current row, "*" on a new row.
class RowIndicatorHeader final : public QHeaderView {
    Q_OBJECT
public:
    explicit RowIndicatorHeader(QWidget* parent);
    QSize sizeHint() const override;
    void setCurrentRow(int row);
    int currentRow() const { return m_current; }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    int m_current = -1;
};

} // namespace ravnobor::editor
