#pragma once

#include <QDialog>

namespace ravnobor {

class Program;
class RadioGroup;

// The variant dialog: whose proposal places the items and whose prices are shown.
// Every change takes effect at once; nothing is stored.
class TFormVariant final : public QDialog {
    Q_OBJECT
public:
    TFormVariant(Program& program, QWidget* parent);

    // The main window's command: show the dialog modally.
    void Serv_VariantClick();
    // The change handler of both groups: rebuild the board, then the names and the variant line.
    // Shows that division variant on the board, as a choice in the dialog would.
    void selectVariant(int variant);
    void RadioGroup1Click();
    // The first two items of both groups name the parties.
    void setPartyNames(const QString& party1, const QString& party2);

    RadioGroup* RadioGroup1 = nullptr; // "Вариант"
    RadioGroup* RadioGroup2 = nullptr; // "По цене"

    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fitToItems();

    Program& m_program;
};

} // namespace ravnobor
