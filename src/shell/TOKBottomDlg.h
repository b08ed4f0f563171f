#pragma once

#include <QDialog>

class QLineEdit;

namespace ravnobor {

// The heading dialog: one line of text, OK or Cancel.
class TOKBottomDlg final : public QDialog {
    Q_OBJECT
public:
    explicit TOKBottomDlg(QWidget* parent);
    QLineEdit* Edit1 = nullptr;
};

} // namespace ravnobor
