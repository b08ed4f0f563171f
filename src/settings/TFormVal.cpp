#include "settings/TFormVal.h"

#include "shell/Program.h"

namespace ravnobor {

TFormVal::TFormVal(Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName(QStringLiteral("FormVal"));
    setWindowTitle(QStringLiteral("Валюта"));
}

} // namespace ravnobor
