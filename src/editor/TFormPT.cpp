#include "editor/TFormPT.h"

#include "shell/Program.h"

namespace ravnobor {

TFormPT::TFormPT(Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName(QStringLiteral("FormPT"));
    setWindowTitle(QStringLiteral("Список имущества"));
}

void TFormPT::setPartyNames(const QString&, const QString&) {}

} // namespace ravnobor
