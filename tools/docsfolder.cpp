// Prints the program's documents folder exactly as the program finds it (from the XDG
// user dirs through Qt); run.sh opens the example case there. Needs no display.
#include "shell/ProgramPaths.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("ravnobor"));
    QCoreApplication::setOrganizationName(QStringLiteral("ravnobor"));
    std::printf("%s\n", ravnobor::ProgramPaths::fromSystem().documentsFolder().toLocal8Bit().constData());
    return 0;
}
