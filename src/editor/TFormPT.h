#pragma once

#include <QDialog>

namespace ravnobor {

class Program;

class TFormPT final : public QDialog {
    Q_OBJECT
public:
    TFormPT(Program& program, QWidget* parent);
    // The valuation choices name the parties.
    void setPartyNames(const QString& party1, const QString& party2);

private:
    Program& m_program;
};

} // namespace ravnobor
