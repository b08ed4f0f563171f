#include "settings/TFormVariant.h"

#include "shell/Program.h"

namespace ravnobor {

TFormVariant::TFormVariant(Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName(QStringLiteral("FormVariant"));
    setWindowTitle(QStringLiteral("Выбор варианта раздела"));
}

} // namespace ravnobor
