#include "shell/UserDialogs.h"

#include <QDialog>
#include <QFileDialog>

namespace ravnobor {

QString UserDialogs::errorBoxText(const QString& text) {
    if (!text.isEmpty() && text.back() > u'.')
        return text + u'.';
    return text;
}

void UserDialogs::showError(QWidget* parent, const QString& text) {
    message(parent, QMessageBox::Critical, QStringLiteral("Равнобор"), errorBoxText(text), QMessageBox::Ok);
}

QMessageBox::StandardButton QtUserDialogs::message(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                                   const QString& text, QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton) {
    QMessageBox box(icon, caption, text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    return QMessageBox::StandardButton(box.exec());
}

namespace {

QString runFileDialog(QWidget* parent, const FileDialogRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.caption, request.directory);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString QtUserDialogs::openFileName(QWidget* parent, const FileDialogRequest& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptOpen);
}

QString QtUserDialogs::saveFileName(QWidget* parent, const FileDialogRequest& request) {
    return runFileDialog(parent, request, QFileDialog::AcceptSave);
}

int QtUserDialogs::exec(QDialog& dialog) {
    return dialog.exec();
}

} // namespace ravnobor
