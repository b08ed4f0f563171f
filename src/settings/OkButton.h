#pragma once

#include <QDialog>
#include <QPushButton>

namespace ravnobor {

// The settings windows' OK button: the default button, closing the window as accepted.
inline QPushButton* createOkButton(QDialog& dialog) {
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    ok->setMinimumWidth(75);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    return ok;
}

} // namespace ravnobor
