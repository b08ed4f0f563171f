#pragma once

#include "shell/ProgramPaths.h"

#include <QStringList>

#include <optional>

// The options of the command line, answered before any window is made. No windows.
namespace ravnobor::commandline {

enum class Request { Start, Help, Version, UnknownOption };

struct Parsed {
    Request request = Request::Start;
    QStringList caseArguments; // what is left for the case file rule when the program starts
    QString unknownOption;
};

// Options come before the case file's words, as usual; "--" ends them.
Parsed parse(const QStringList& arguments);

QString helpText(const ProgramPaths& paths);
QString versionText();
QString unknownOptionText(const QString& option);

// Exit codes: success, and a command line that was not understood.
constexpr int ExitSuccess = 0;
constexpr int ExitUsage = 2;

// Prints the answer to an option and gives the exit code, or nothing when the program should
// start. Needs no display: it runs before the application object is made.
std::optional<int> answerOptions(int argc, char** argv, QStringList* caseArguments);

} // namespace ravnobor::commandline
