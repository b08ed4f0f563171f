#include "settings/TFormNstr.h"

#include "shell/Program.h"

namespace ravnobor {

TFormNstr::TFormNstr(Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName(QStringLiteral("FormNstr"));
    setWindowTitle(QStringLiteral("Исходные данные"));
}

void TFormNstr::FormActivate() {}
void TFormNstr::FormDeactivate() {
    NewName_all();
}
void TFormNstr::NewName_all() {}

} // namespace ravnobor
