#pragma once

#include <QDialog>

namespace ravnobor {

class Program;

class TFormNewZap final : public QDialog {
    Q_OBJECT
public:
    TFormNewZap(Program &program, QWidget *parent);

private:
    Program &m_program;
};

} // namespace ravnobor
