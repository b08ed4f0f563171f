#include "help/ProgramIcon.h"

#include <QPainter>
#include <QSvgRenderer>

namespace ravnobor {

namespace {

const QString IconResource = QStringLiteral(":/icons/ravnobor.svg");

} // namespace

QPixmap programPixmap(int size, qreal devicePixelRatio) {
    const int side = qRound(size * devicePixelRatio);
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(IconResource);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, side, side));
    painter.end();
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}

QIcon programIcon() {
    // Rendered here rather than by the SVG icon plugin, so the icon never depends on
    // which plugins the system happens to carry.
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(programPixmap(size));
    return icon;
}

} // namespace ravnobor
