#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <deque>
#include <functional>

class QDialog;
class QWidget;

namespace ravnobor {

struct FileDialogRequest {
    QString caption;
    QString directory;
    QString fileName;
    QStringList filters;
    QString defaultSuffix;
};

// Every message box, file dialog and modal window goes through here, so that a
// test answers them without a human.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    virtual QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                                const QString& text, QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton) = 0;
    // An empty result means the dialog was cancelled.
    virtual QString openFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    virtual QString saveFileName(QWidget* parent, const FileDialogRequest& request) = 0;
    // Shows one of the program's own windows modally and returns its result.
    virtual int exec(QDialog& dialog) = 0;

    // The general error box: the error's text (a full stop appended when its last
    // character sorts after one), the application title as caption, a stop icon.
    void showError(QWidget* parent, const QString& text);
    static QString errorBoxText(const QString& text);
};

class QtUserDialogs final : public UserDialogs {
public:
    QMessageBox::StandardButton message(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                        const QString& text, QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QString openFileName(QWidget* parent, const FileDialogRequest& request) override;
    QString saveFileName(QWidget* parent, const FileDialogRequest& request) override;
    int exec(QDialog& dialog) override;
};

} // namespace ravnobor
