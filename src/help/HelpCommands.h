#pragma once

namespace ravnobor {

class Program;

// Wires the "Помощь" menu, the standard keyboard shortcuts of the main window and
// the program's icon. Called once, when the windows have been created.
void installHelpCommands(Program& program);

} // namespace ravnobor
