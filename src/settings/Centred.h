#pragma once

#include <QScreen>
#include <QWidget>

namespace ravnobor {

// The settings windows open in the middle of the screen, not over their owner.
inline void centreOnScreen(QWidget& window) {
    if (const QScreen* screen = window.screen())
        window.move(screen->availableGeometry().center() - QPoint(window.width() / 2, window.height() / 2));
}

} // namespace ravnobor
