#pragma once

#include <QMainWindow>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;
class QToolBar;
class QToolButton;

namespace ravnobor {

namespace casefiles {
class WorkingCopy;
}
struct FileDialogRequest;

class Program;
struct AppState;
namespace board {
class Board;
}

// The main window's commands, for the windows and features that carry them out.
struct MainCommands {
    QAction* File_Create = nullptr;
    QAction* File_Open = nullptr;
    QAction* File_Save = nullptr;
    QAction* File_SaveAs = nullptr;
    QAction* File_Import = nullptr;
    QAction* File_Export = nullptr;
    QAction* File_Exit = nullptr;
    QAction* Edit_Undo = nullptr;
    QAction* Edit_Redo = nullptr;
    QAction* Edit_NewItem = nullptr;
    QAction* Edit_ShareItem = nullptr;
    QAction* Serv_SI = nullptr;
    QAction* Serv_Nastr = nullptr;
    QAction* Serv_Variant = nullptr;
    QAction* Serv_Val = nullptr;
    QAction* Doc_im = nullptr;
    QAction* N11 = nullptr;
    QAction* N22 = nullptr;
    QAction* ToolButton14 = nullptr;
    QAction* Help_sod = nullptr;
    QAction* Help_Internet = nullptr;
    QAction* Help_pis = nullptr;
    QAction* Help_o = nullptr;
    // The toolbar's own buttons, and its copy of "Исходные данные".
    QAction* SB_New = nullptr;
    QAction* SpeedButton1 = nullptr;
    QAction* SpeedButton2 = nullptr;
    QAction* SpeedButton3 = nullptr;
    QAction* SpeedButton4 = nullptr;
    QAction* TB_Serv_Nastr = nullptr;
    QMenu* MenuEdit = nullptr;
    QMenu* MenuServ = nullptr;
};

// The main window: frame, menu, toolbar, banner, board area, totals area and status line.
class TFormMain final : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormMain(Program& program);
    ~TFormMain() override;

    // Start-up and cases.
    void Start();
    void takeCommandLine(const QStringList& arguments);
    // Offers the unsaved changes of a program that was killed; true when they were taken.
    bool offerRecovery();
    void NewFile();
    void LoadTitle();
    void SaveTitle();
    // TotalRecords := the row count of the property table; for commands that add or
    // remove rows other than through the list dataset (whose hooks keep it already).
    void recountRecords();

    // Board and totals.
    void InsertDann();
    void ClearDann();
    void SummStr();
    void FormResize();
    int boardCount(int tag) const; // items in the column of that allocation tag
    struct BoardItemText {
        QString name;
        QString price; // as the board shows it; empty when the item has no price
    };
    // The items of the column of that tag, in list order (for the documents).
    std::vector<BoardItemText> boardItems(int tag) const;
    // The row key of the item selected on the board, when a command may act on it.
    std::optional<qint64> selectedBoardKey() const;
    // The banner, the party labels, the variant line, the totals and the board's popup
    // menus name the parties and the case.
    void showPartyNames();

    // Commands.
    void File_CreateClick();
    void File_OpenClick();
    void File_SaveClick();
    void File_SaveAsClick();
    void File_ExitClick();
    void View_PanelClick();
    void View_StatClick();
    void ApplicationHint(const QString& hint);
    void Timer1Timer();
    void FormActivate();
    // Undo and redo of the case's history, from the menu or any window's keys.
    void undoStep();
    void redoStep();

    // Named parts, for the windows and commands that fill them.
    const MainCommands& commands() const { return m_commands; }
    QAction* action(const QString& objectName) const; // by objectName, for tests
    QToolButton* toolButton(const QString& objectName) const;
    QToolBar* ToolBar1 = nullptr;
    QLabel* Panel1 = nullptr;
    QWidget* Panel8 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QWidget* boardArea = nullptr; // holds the three board columns
    QFrame* Panel7 = nullptr;     // the totals
    QStatusBar* StBarMain = nullptr;
    std::array<QLabel*, 4> statusPanels{};
    QTimer* Timer1 = nullptr;

    // Runs a command with the general error box around it.
    void runCommand(const std::function<void()>& command);
    void connectCommand(QAction* action, std::function<void()> command);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildActions();
    void buildMenu();
    void buildToolBar();
    void buildCentre();
    void buildStatusBar();
    void connectCommands();
    void buildBoard(); // the board's lists, menus and totals (src/board)
    void collectCommands();
    QAction* makeAction(const QString& objectName, const QString& text, const QString& hint,
                        const QString& iconName = {});
    void addToolButton(QAction* menuAction, const QString& objectName);
    QToolButton* addOwnToolButton(const QString& objectName, const QString& hint, const QString& iconName);
    bool FormCloseQuery();
    // Closes open modal windows the way their close boxes do; false when one stays open.
    bool closeModalWindows();
    void followWriter();
    void showHistory();
    void showVariantOfStep(int variant);

    // Case files (TFormMainFiles.cpp).
    bool caseMayBeReplaced();
    bool loadCase(const QString& path);
    void loadEmptyCase();
    void installPrepared(const QString& caseFileName, bool saved = true);
    void writeRecoveryRecord(bool unsaved);
    void warnLoadFailed(const QString& reason);
    QString askSaveFileName(const QString& proposed);
    void saveTo(const QString& target);
    FileDialogRequest caseFileDialog(const QString& caption, const QString& fileName) const;

    std::unique_ptr<casefiles::WorkingCopy> m_workingCopy;
    QString m_loadedCaseFileName; // the case now in the working copy; empty before the first load

    Program& m_program;
    AppState& m_state;
    bool m_activated = false;
    board::Board* m_board = nullptr; // a child of the window
    MainCommands m_commands;
};

} // namespace ravnobor
