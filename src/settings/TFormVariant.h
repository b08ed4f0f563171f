#pragma once

#include <QDialog>

namespace ravnobor {

class Program;

class TFormVariant final : public QDialog {
    Q_OBJECT
public:
    TFormVariant(Program& program, QWidget* parent);

private:
    Program& m_program;
};

} // namespace ravnobor
