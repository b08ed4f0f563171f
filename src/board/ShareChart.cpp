#include "board/ShareChart.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace ravnobor::board {

namespace {

constexpr int MarkOverhang = 3; // the target mark stands out of the bar by this much

void drawText(QPainter& painter, const QRect& box, Qt::Alignment alignment, const QString& text) {
    const QString shown = painter.fontMetrics().elidedText(text, Qt::ElideRight, std::max(box.width(), 0));
    painter.drawText(box, int(alignment | Qt::AlignVCenter), shown);
}

// A party's name and percent; a long name gives way, the percent always shows.
void drawLabel(QPainter& painter, const QRect& box, Qt::Alignment alignment, const QString& name,
               const QString& percent) {
    const QFontMetrics metrics = painter.fontMetrics();
    const QString tail = u' ' + percent;
    const int room = std::max(box.width() - metrics.horizontalAdvance(tail), 0);
    const QString shown = metrics.elidedText(name, Qt::ElideRight, room) + tail;
    painter.drawText(box, int(alignment | Qt::AlignVCenter), shown);
}

} // namespace

ShareChart::ShareChart(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ChartShares"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
}

void ShareChart::showBar(const ShareBar& bar) {
    m_bar = bar;
    update();
}

QSize ShareChart::sizeHint() const {
    // No width of its own: it takes what the instructions leave.
    return {0, 3 * fontMetrics().height() + 16};
}

QSize ShareChart::minimumSizeHint() const {
    return {0, 3 * fontMetrics().height() + 10};
}

QRect ShareChart::barRect(const QRect& area, const QFontMetrics& metrics) {
    const int line = metrics.height();
    const int height = std::max(6, area.height() - 3 * line - 2 * MarkOverhang);
    return {area.left() + 1, area.top() + line + MarkOverhang, std::max(area.width() - 2, 0), height};
}

void ShareChart::paint(QPainter& painter, const QRect& area, const ShareBar& bar, const QColor& text) {
    const QFontMetrics metrics = painter.fontMetrics();
    const int line = metrics.height();
    const QRect frame = barRect(area, metrics);
    const QRect labels(frame.left(), area.top(), frame.width(), line);
    const QRect under(frame.left(), frame.bottom() + 1 + MarkOverhang, frame.width(), line);
    const QRect last(frame.left(), under.bottom() + 1, frame.width(), line);
    painter.setPen(text);
    if (bar.empty) {
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        drawText(painter, frame.adjusted(4, 0, -4, 0), Qt::AlignHCenter, EmptyShareBarText);
        drawText(painter, last, Qt::AlignLeft, bar.undistributedLabel);
        return;
    }
    const int split = bar.party1Width(frame.width());
    painter.fillRect(QRect(frame.left(), frame.top(), split, frame.height()), Party1BarColour);
    painter.fillRect(QRect(frame.left() + split, frame.top(), frame.width() - split, frame.height()), Party2BarColour);
    painter.drawRect(frame.adjusted(0, 0, -1, -1));

    const int half = labels.width() / 2;
    drawLabel(painter, QRect(labels.left(), labels.top(), half - 4, line), Qt::AlignLeft, bar.party1Name,
              bar.party1Percent);
    drawLabel(painter, QRect(labels.left() + half + 4, labels.top(), labels.width() - half - 4, line), Qt::AlignRight,
              bar.party2Name, bar.party2Percent);

    const int mark = frame.left() + std::min(bar.targetX(frame.width()), frame.width() - 1);
    painter.fillRect(QRect(mark, frame.top() - MarkOverhang, 1, frame.height() + 2 * MarkOverhang), text);
    const int markWidth = metrics.horizontalAdvance(TargetMarkText);
    const int markLeft = std::clamp(mark - markWidth / 2, frame.left(), frame.right() - markWidth);
    painter.drawText(QRect(markLeft, under.top(), markWidth + 1, line), int(Qt::AlignLeft | Qt::AlignVCenter),
                     TargetMarkText);
    drawText(painter, last, Qt::AlignLeft, bar.undistributedLabel);
}

QByteArray ShareChart::png(const ShareBar& bar, const QSize& size, const QFont& font) {
    constexpr qreal Density = 2;
    QImage image(size * Density, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(Density);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(font);
        paint(painter, QRect(QPoint(0, 0), size), bar, Qt::black);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void ShareChart::paintEvent(QPaintEvent*) {
    if (width() < fontMetrics().averageCharWidth() * 16)
        return; // too narrow to be read: the window is at its smallest
    QPainter painter(this);
    paint(painter, rect(), m_bar, palette().color(QPalette::WindowText));
}

} // namespace ravnobor::board
