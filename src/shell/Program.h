#pragma once

#include "shell/AppState.h"
#include "shell/DesktopOpener.h"
#include "shell/ProgramPaths.h"
#include "shell/UserDialogs.h"

#include <QStringList>

#include <memory>

namespace ravnobor {

namespace store {
class TDataModule1;
}
class TFormMain;
class TOKBottomDlg;
class TFormPT;
class TFormNstr;
class TFormVariant;
class TFormNewZap;
class TFormVal;
class TForm_O;

// The whole program: its state, its data module and every window, created once in
// the start-up order. Tests build one in-process without running the message loop.
class Program {
public:
    Program(ProgramPaths paths, UserDialogs& dialogs, DesktopOpener& desktop);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Start, the command line, the first load and the silent parties refresh.
    void startUp(const QStringList& arguments);

    AppState state;
    const ProgramPaths paths;
    UserDialogs& dialogs;
    DesktopOpener& desktop;

    store::TDataModule1& dataModule() { return *m_dataModule; }
    TFormMain& formMain() { return *m_formMain; }
    TOKBottomDlg& okBottomDlg() { return *m_okBottomDlg; }
    TFormPT& formPT() { return *m_formPT; }
    TFormNstr& formNstr() { return *m_formNstr; }
    TFormVariant& formVariant() { return *m_formVariant; }
    TFormNewZap& formNewZap() { return *m_formNewZap; }
    TFormVal& formVal() { return *m_formVal; }
    TForm_O& formO();

private:
    void followPartyNames();

    std::unique_ptr<store::TDataModule1> m_dataModule;
    std::unique_ptr<TFormMain> m_formMain;
    // The windows below are children of the main window, which deletes them.
    TOKBottomDlg* m_okBottomDlg = nullptr;
    TFormPT* m_formPT = nullptr;
    TFormNstr* m_formNstr = nullptr;
    TFormVariant* m_formVariant = nullptr;
    TFormNewZap* m_formNewZap = nullptr;
    TFormVal* m_formVal = nullptr;
    TForm_O* m_formO = nullptr;
};

std::unique_ptr<Program> createProgram(ProgramPaths paths, UserDialogs& dialogs, DesktopOpener& desktop);

} // namespace ravnobor
