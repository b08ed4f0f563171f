#include "shell/DesktopOpener.h"

#include <QDesktopServices>

namespace ravnobor {

bool QtDesktopOpener::openUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

} // namespace ravnobor
