#include "shell/Program.h"

#include "documents/DocumentCommands.h"
#include "editor/TFormNewZap.h"
#include "editor/TFormPT.h"
#include "help/HelpCommands.h"
#include "help/TForm_O.h"
#include "settings/TFormNstr.h"
#include "settings/TFormVal.h"
#include "settings/TFormVariant.h"
#include "sheets/SheetCommands.h"
#include "shell/TFormMain.h"
#include "shell/TOKBottomDlg.h"
#include "split/TFormItemShare.h"
#include "split/TFormSplit.h"
#include "store/TDataModule1.h"

namespace ravnobor {

Program::Program(ProgramPaths programPaths, UserDialogs& userDialogs, DesktopOpener& desktopOpener)
    : paths(std::move(programPaths)), dialogs(userDialogs), desktop(desktopOpener) {
    m_dataModule = std::make_unique<store::TDataModule1>();
    m_formMain = std::make_unique<TFormMain>(*this);
    m_okBottomDlg = new TOKBottomDlg(m_formMain.get());
    m_formPT = new TFormPT(*this, m_formMain.get());
    m_formNstr = new TFormNstr(*this, m_formMain.get());
    m_formVariant = new TFormVariant(*this, m_formMain.get());
    m_formNewZap = new TFormNewZap(*this, m_formMain.get());
    m_formVal = new TFormVal(*this, m_formMain.get());
    installHelpCommands(*this);
    new DocumentCommands(*this, *m_formMain);    // owned by the main window
    new TFormItemShare(*this, m_formMain.get()); // owned by the main window
    new TFormSplit(*this, m_formMain.get());     // owned by the main window
    new sheets::SheetCommands(*this);            // owned by the main window
    followPartyNames();
}

void Program::followPartyNames() {
    QObject::connect(m_formNstr, &TFormNstr::namesChanged, m_formMain.get(),
                     [this](const QString& party1, const QString& party2) {
                         m_formPT->setPartyNames(party1, party2);
                         m_formNewZap->setPartyNames(party1, party2);
                         m_formVariant->setPartyNames(party1, party2);
                         m_formMain->showPartyNames();
                     });
}

Program::~Program() {
    m_formMain.reset();
    m_dataModule.reset();
}

TForm_O& Program::formO() {
    if (!m_formO)
        m_formO = new TForm_O(*this, m_formMain.get());
    return *m_formO;
}

void Program::startUp(const QStringList& arguments) {
    m_formMain->Start();
    // Recovered changes win over a case named on the command line.
    if (!m_formMain->offerRecovery()) {
        m_formMain->takeCommandLine(arguments);
        m_formMain->NewFile();
    }
    m_formNstr->FormActivate();
    m_formNstr->FormDeactivate();
}

std::unique_ptr<Program> createProgram(ProgramPaths paths, UserDialogs& dialogs, DesktopOpener& desktop) {
    return std::make_unique<Program>(std::move(paths), dialogs, desktop);
}

} // namespace ravnobor
