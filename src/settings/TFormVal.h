#pragma once

#include <QDialog>

namespace ravnobor {

class Program;
class RadioGroup;

// The currency dialog: the suffix after every amount. Only the suffix changes,
// never a number; nothing is stored.
class TFormVal final : public QDialog {
    Q_OBJECT
public:
    TFormVal(Program& program, QWidget* parent);

    // The main window's command: show the dialog modally.
    void Serv_ValClick();
    // Sets the suffix of the chosen currency and has the totals rewritten.
    void RadioGroup1Click();

    RadioGroup* RadioGroup1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    Program& m_program;
};

} // namespace ravnobor
