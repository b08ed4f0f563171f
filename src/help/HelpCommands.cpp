#include "help/HelpCommands.h"

#include "help/Help.h"
#include "help/ProgramIcon.h"
#include "help/TForm_O.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"

#include "Version.h"

#include <QAction>
#include <QGuiApplication>

namespace ravnobor {

namespace {

void connectHelpMenu(Program& program) {
    TFormMain& formMain = program.formMain();
    const auto wire = [&formMain](const char* name, std::function<void()> command) {
        QAction* action = formMain.action(QString::fromLatin1(name));
        formMain.connectCommand(action, std::move(command));
    };
    wire("Help_sod", [&program] { ShowHelpContents(program); });
    wire("Help_Internet", [&program] { openWebPage(program); });
    wire("Help_pis", [&program] { openMailToDevelopers(program); });
    wire("Help_o", [&program] { program.dialogs.exec(program.formO()); });
}

// The keys every desktop program answers to; the menu items carry no keys of their own.
void setStandardShortcuts(TFormMain& formMain) {
    const std::pair<const char*, QKeySequence> keys[] = {
        {"File_Create", QKeySequence(Qt::CTRL | Qt::Key_N)},
        {"File_Open", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"File_Save", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"File_SaveAs", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {"File_Exit", QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {"Help_sod", QKeySequence(Qt::Key_F1)},
    };
    for (const auto& [name, key] : keys)
        formMain.action(QString::fromLatin1(name))->setShortcut(key);
}

} // namespace

void installHelpCommands(Program& program) {
    connectHelpMenu(program);
    setStandardShortcuts(program.formMain());
    const QIcon icon = programIcon();
    QGuiApplication::setWindowIcon(icon);
    // Lets a Wayland desktop match the windows to their desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QLatin1String(ProgramId));
    program.formMain().setWindowIcon(icon);
}

} // namespace ravnobor
