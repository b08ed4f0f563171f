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
    const MainCommands& commands = formMain.commands();
    formMain.connectCommand(commands.Help_sod, [&program] { ShowHelpContents(program); });
    formMain.connectCommand(commands.Help_Internet, [&program] { openWebPage(program); });
    formMain.connectCommand(commands.Help_pis, [&program] { openMailToDevelopers(program); });
    formMain.connectCommand(commands.Help_o, [&program] { program.dialogs.exec(program.formO()); });
}

// The keys every desktop program answers to; the menu items carry no keys of their own.
void setStandardShortcuts(TFormMain& formMain) {
    const MainCommands& c = formMain.commands();
    const std::pair<QAction*, QKeySequence> keys[] = {
        {c.File_Create, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {c.File_Open, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {c.File_Save, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {c.File_SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
        {c.File_Exit, QKeySequence(Qt::CTRL | Qt::Key_Q)},
        {c.Help_sod, QKeySequence(Qt::Key_F1)},
    };
    for (const auto& [command, key] : keys)
        command->setShortcut(key);
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
