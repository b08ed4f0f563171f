#include "support/TestDoubles.h"

#include <QDialog>

namespace ravnobor {

QMessageBox::StandardButton ScriptedUserDialogs::message(QWidget*, QMessageBox::Icon icon, const QString& caption,
                                                         const QString& text, QMessageBox::StandardButtons buttons,
                                                         QMessageBox::StandardButton) {
    shown.append({icon, caption, text, buttons});
    if (!nextAnswers.empty()) {
        const auto answer = nextAnswers.front();
        nextAnswers.pop_front();
        return answer;
    }
    // Unexpected questions are answered the safe way.
    for (auto b : {QMessageBox::Cancel, QMessageBox::No, QMessageBox::Ok})
        if (buttons.testFlag(b))
            return b;
    return QMessageBox::NoButton;
}

QString ScriptedUserDialogs::openFileName(QWidget*, const FileDialogRequest& request) {
    fileRequests.append(request);
    if (nextFileNames.empty())
        return {};
    const QString name = nextFileNames.front();
    nextFileNames.pop_front();
    return name;
}

QString ScriptedUserDialogs::saveFileName(QWidget* parent, const FileDialogRequest& request) {
    return openFileName(parent, request);
}

int ScriptedUserDialogs::exec(QDialog& dialog) {
    dialogsShown.append(dialog.objectName());
    if (nextDialogs.empty())
        return QDialog::Rejected;
    auto handler = std::move(nextDialogs.front());
    nextDialogs.pop_front();
    return handler(dialog);
}

} // namespace ravnobor
