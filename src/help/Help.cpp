#include "help/Help.h"

namespace ravnobor {

void ShowHelpTopic(Program&, int) {}
void ShowHelpContents(Program&) {}

} // namespace ravnobor
