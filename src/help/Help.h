#pragma once

namespace ravnobor {

class Program;

// Opens help topic N (a page of the help book) in the user's browser.
void ShowHelpTopic(Program& program, int topic);
// Opens the contents page of the help book.
void ShowHelpContents(Program& program);

} // namespace ravnobor
