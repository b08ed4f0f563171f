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

// Remembers what would have been opened; for tests.
class RecordingDesktopOpener final : public DesktopOpener {
public:
    QList<QUrl> opened;
    bool result = true;
    bool openUrl(const QUrl& url) override {
        opened.append(url);
        return result;
    }
};

} // namespace ravnobor
