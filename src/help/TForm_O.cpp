#include "help/TForm_O.h"

#include "shell/Program.h"

namespace ravnobor {

TForm_O::TForm_O(Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName(QStringLiteral("Form_O"));
    setWindowTitle(QStringLiteral("О программе"));
}

} // namespace ravnobor
