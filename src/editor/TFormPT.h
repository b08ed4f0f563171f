#pragma once

#include <QDialog>

namespace ravnobor {

class Program;

class TFormPT final : public QDialog {
    Q_OBJECT
public:
    TFormPT(Program &program, QWidget *parent);

private:
    Program &m_program;
};

} // namespace ravnobor
