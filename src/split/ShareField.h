#pragma once

#include "store/CaseWriter.h"
#include "store/Database.h"

#include <QObject>
#include <QString>

class QHBoxLayout;
class QLineEdit;
class QWidget;

namespace ravnobor {

class UserDialogs;

namespace split {

// The share row of the parties window: "Доля стороны 1" as typed, party 2's share beside it.
class ShareField final : public QObject {
    Q_OBJECT
public:
    explicit ShareField(QWidget& window);

    QHBoxLayout* row() const { return m_row; }
    QLineEdit* EditShare1 = nullptr;
    QLineEdit* EditShare2 = nullptr; // read-only

    // Shows the share the case holds.
    void load(store::Database& db);
    // A share, or empty; otherwise says what is wrong and returns false.
    bool acceptable(UserDialogs& dialogs, QWidget* parent) const;
    // Stores what the user typed when it changed and is a share; true when it wrote.
    bool store(store::CaseWriter& writer);

private:
    void showOtherShare();

    QHBoxLayout* m_row = nullptr;
    QString m_shown;
};

} // namespace split
} // namespace ravnobor
