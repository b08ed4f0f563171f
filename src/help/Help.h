#pragma once

#include <QString>

namespace ravnobor {

class Program;

// Opens help topic N (a page of the help book) in the user's browser.
void ShowHelpTopic(Program& program, int topic);
// Opens the contents page of the help book.
void ShowHelpContents(Program& program);
// The page of topic N beside the executable: help/<N>.html.
QString helpTopicPath(const Program& program, int topic);

// The program's web page, and a new mail to the developers, handed to the desktop.
void openWebPage(Program& program);
void openMailToDevelopers(Program& program);

} // namespace ravnobor
