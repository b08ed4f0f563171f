#pragma once

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace ravnobor {

class Program;

namespace editor {
struct ItemFields;
}

// The record dialog: name, the three prices, who made the valuation and notes of
// one item. Neither Enter nor Escape closes it; the close box is Cancel.
class TFormNewZap final : public QDialog {
    Q_OBJECT
public:
    TFormNewZap(Program& program, QWidget* parent);
    // The valuation choices name the parties.
    void setPartyNames(const QString& party1, const QString& party2);

    // Adds an item from the main window (toolbar SB_New, "Правка" menu).
    void SB_NewClick();
    // Shows the dialog with these fields until the user cancels or `write` takes
    // the entry. An empty name, or a write that fails (a price that is no number),
    // is told and the dialog comes back with everything typed. True when written.
    bool runEntry(const editor::ItemFields& initial, const QString& caption,
                  const std::function<void(const editor::ItemFields&)>& write);

    void FormActivate(); // currency labels
    void Button3Click(); // Справка

    editor::ItemFields fields() const;
    void setFields(const editor::ItemFields& item);

    QLineEdit* Edit_Naim = nullptr;
    QLineEdit* Edit_C1 = nullptr;
    QLineEdit* Edit_C2 = nullptr;
    QLineEdit* Edit_CS = nullptr;
    QComboBox* ComboBox_Oc = nullptr;
    QLineEdit* Edit_Zam = nullptr;
    QLabel* Lab1 = nullptr;
    QLabel* Lab2 = nullptr;
    QLabel* Lab3 = nullptr;
    QPushButton* Button1 = nullptr; // OK
    QPushButton* Button2 = nullptr; // Отмена
    QPushButton* Button3 = nullptr; // Справка

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    QLabel* addLabel(QWidget* parent, const QString& name, const QString& text, const QRect& at);
    QLineEdit* addEdit(QWidget* parent, const QString& name, const QRect& at, int maxLength);
    QPushButton* addButton(const QString& name, const QString& text, const QRect& at);

    Program& m_program;
};

} // namespace ravnobor
