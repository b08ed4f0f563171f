#pragma once

#include "shell/DesktopOpener.h"
#include "shell/UserDialogs.h"

#include <QList>
#include <QUrl>

#include <deque>
#include <functional>

// Stand-ins for the user and the desktop, so tests and benchmarks drive the program
// without a human and see what it would have shown or opened.
namespace ravnobor {

// Answers from queues and remembers what was shown; for tests.
class ScriptedUserDialogs final : public UserDialogs {
public:
    struct Shown {
        QMessageBox::Icon icon;
        QString caption;
        QString text;
        QMessageBox::StandardButtons buttons;
    };

    std::deque<QMessageBox::StandardButton> nextAnswers;
    std::deque<QString> nextFileNames; // an empty string cancels
    // Each handler gets the window about to be shown and returns its result;
    // with none queued the window is not shown and the result is Rejected.
    std::deque<std::function<int(QDialog&)>> nextDialogs;

    QList<Shown> shown;
    QList<FileDialogRequest> fileRequests;
    QStringList dialogsShown; // objectNames of the windows passed to exec

    QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QString openFileName(QWidget* parent, const FileDialogRequest& request) override;
    QString saveFileName(QWidget* parent, const FileDialogRequest& request) override;
    int exec(QDialog& dialog) override;
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
