#pragma once

#include <QDialog>

namespace ravnobor {

class Program;

class TFormVal final : public QDialog {
    Q_OBJECT
public:
    TFormVal(Program& program, QWidget* parent);

private:
    Program& m_program;
};

} // namespace ravnobor
