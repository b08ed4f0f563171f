#pragma once

#include <QList>
#include <QUrl>

namespace ravnobor {

// The desktop's "open this": documents, help pages, web and mail links.
class DesktopOpener {
public:
    virtual ~DesktopOpener() = default;
    virtual bool openUrl(const QUrl& url) = 0;
};

class QtDesktopOpener final : public DesktopOpener {
public:
    bool openUrl(const QUrl& url) override;
};

} // namespace ravnobor
