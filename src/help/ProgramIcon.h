#pragma once

#include <QIcon>
#include <QPixmap>

namespace ravnobor {

// The program's icon, drawn from its SVG (built into the program) at the sizes asked for.
QIcon programIcon();
QPixmap programPixmap(int size, qreal devicePixelRatio = 1.0);

} // namespace ravnobor
