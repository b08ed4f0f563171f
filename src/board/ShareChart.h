#pragma once

#include "board/ShareBar.h"

#include <QColor>
#include <QWidget>

namespace ravnobor::board {

inline const QColor Party1BarColour(167, 191, 237); // the left list's colour
inline const QColor Party2BarColour(58, 95, 170);

// The bar of the totals panel: the distributed total split between the parties, the
// mark of party 1's target and the undistributed part. Painted by the program, so it
// looks the same on every desktop and in the division report.
class ShareChart final : public QWidget {
    Q_OBJECT
public:
    explicit ShareChart(QWidget* parent = nullptr);

    void showBar(const ShareBar& bar);
    const ShareBar& bar() const { return m_bar; }
    // Where the bar itself stands inside `area` for text of these metrics.
    static QRect barRect(const QRect& area, const QFontMetrics& metrics);
    QRect barRect() const { return barRect(rect(), fontMetrics()); }

    static void paint(QPainter& painter, const QRect& area, const ShareBar& bar, const QColor& text);
    // The same picture as a PNG of `size` logical pixels at twice the density, for documents.
    static QByteArray png(const ShareBar& bar, const QSize& size, const QFont& font);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ShareBar m_bar;
};

} // namespace ravnobor::board
