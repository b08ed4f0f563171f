#pragma once

#include <QDialog>

namespace ravnobor {

class Program;

class TForm_O final : public QDialog {
    Q_OBJECT
public:
    TForm_O(Program& program, QWidget* parent);

private:
    Program& m_program;
};

} // namespace ravnobor
