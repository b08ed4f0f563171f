#include "shell/Application.h"
#include "shell/CommandLine.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"

#include <cstdio>

int main(int argc, char** argv) {
    QStringList caseArguments;
    if (const auto exitCode = ravnobor::commandline::answerOptions(argc, argv, &caseArguments))
        return *exitCode;
    QString reason;
    if (!ravnobor::Application::hasDisplay(&reason)) {
        std::fprintf(stderr, "%s\n", reason.toLocal8Bit().constData());
        return 1;
    }
    ravnobor::Application app(argc, argv);
    ravnobor::QtUserDialogs dialogs;
    ravnobor::QtDesktopOpener desktop;
    auto program = ravnobor::createProgram(ravnobor::ProgramPaths::fromSystem(), dialogs, desktop);
    program->formMain().runCommand([&] { program->startUp(caseArguments); });
    program->formMain().show();
    return app.exec();
}
