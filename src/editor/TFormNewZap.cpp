#include "editor/TFormNewZap.h"

#include "shell/Program.h"

namespace ravnobor {

TFormNewZap::TFormNewZap(Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName(QStringLiteral("FormNewZap"));
    setWindowTitle(QStringLiteral("Введите новую запись"));
}

void TFormNewZap::setPartyNames(const QString&, const QString&) {}

} // namespace ravnobor
