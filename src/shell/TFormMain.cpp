#include "shell/TFormMain.h"

#include "settings/TFormNstr.h"
#include "settings/TFormVariant.h"
#include "shell/CaseFiles.h"
#include "shell/Guarded.h"
#include "shell/Program.h"
#include "store/CaseWriter.h"
#include "store/TDataModule1.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace ravnobor {

namespace {

const QColor BannerColour(74, 156, 255);

QIcon themeIcon(const QString& name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
}

struct IconChoice {
    const char* themeName;
    QStyle::StandardPixmap fallback;
};

IconChoice iconFor(const QString& name) {
    static const std::pair<const char*, IconChoice> table[] = {
        {"document-new", {"document-new", QStyle::SP_FileIcon}},
        {"document-open", {"document-open", QStyle::SP_DialogOpenButton}},
        {"document-save", {"document-save", QStyle::SP_DialogSaveButton}},
        {"document-save-as", {"document-save-as", QStyle::SP_DriveFDIcon}},
        {"view-list-details", {"view-list-details", QStyle::SP_FileDialogDetailedView}},
        {"x-office-address-book", {"x-office-address-book", QStyle::SP_DirHomeIcon}},
        {"view-choose", {"view-choose", QStyle::SP_FileDialogListView}},
        {"list-add", {"list-add", QStyle::SP_FileDialogNewFolder}},
        {"edit-undo", {"edit-undo", QStyle::SP_BrowserReload}},
        {"edit-redo", {"edit-redo", QStyle::SP_BrowserReload}},
        {"go-previous", {"go-previous", QStyle::SP_ArrowLeft}},
        {"go-down", {"go-down", QStyle::SP_ArrowDown}},
        {"go-next", {"go-next", QStyle::SP_ArrowRight}},
        {"help-contents", {"help-contents", QStyle::SP_DialogHelpButton}},
        {"application-exit", {"application-exit", QStyle::SP_DialogCloseButton}},
    };
    for (const auto& [key, choice] : table)
        if (name == QLatin1String(key))
            return choice;
    return {"", QStyle::SP_CustomBase};
}

} // namespace

TFormMain::TFormMain(Program& program) : m_program(program), m_state(program.state) {
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Равнобор"));
    buildActions();
    buildMenu();
    buildToolBar();
    buildCentre();
    buildStatusBar();
    collectCommands();
    connectCommands();
    buildBoard();
    followWriter();

    // The designed outer size is 678 x 498; the window manager adds its own frame.
    resize(670, 464);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, [this] { runCommand([this] { Timer1Timer(); }); });
    Timer1->start();
}

TFormMain::~TFormMain() = default;

QAction* TFormMain::makeAction(const QString& objectName, const QString& text, const QString& hint,
                               const QString& iconName) {
    auto* act = new QAction(text, this);
    act->setObjectName(objectName);
    act->setStatusTip(hint);
    act->setToolTip(hint.isEmpty() ? text : hint);
    if (!iconName.isEmpty()) {
        const IconChoice choice = iconFor(iconName);
        act->setIcon(themeIcon(QString::fromLatin1(choice.themeName), choice.fallback));
    }
    return act;
}

QAction* TFormMain::action(const QString& objectName) const {
    return findChild<QAction*>(objectName);
}

QToolButton* TFormMain::toolButton(const QString& objectName) const {
    return findChild<QToolButton*>(objectName);
}

void TFormMain::collectCommands() {
    const auto a = [this](const char* name) { return action(QString::fromLatin1(name)); };
    MainCommands& c = m_commands;
    c.File_Create = a("File_Create");
    c.File_Open = a("File_Open");
    c.File_Save = a("File_Save");
    c.File_SaveAs = a("File_SaveAs");
    c.File_Import = a("File_Import");
    c.File_Export = a("File_Export");
    c.File_Exit = a("File_Exit");
    c.Edit_Undo = a("Edit_Undo");
    c.Edit_Redo = a("Edit_Redo");
    c.Edit_NewItem = a("Edit_NewItem");
    c.Edit_ShareItem = a("Edit_ShareItem");
    c.Serv_SI = a("Serv_SI");
    c.Serv_Nastr = a("Serv_Nastr");
    c.Serv_Variant = a("Serv_Variant");
    c.Serv_Val = a("Serv_Val");
    c.Doc_im = a("Doc_im");
    c.N11 = a("N11");
    c.N22 = a("N22");
    c.ToolButton14 = a("ToolButton14");
    c.Help_sod = a("Help_sod");
    c.Help_Internet = a("Help_Internet");
    c.Help_pis = a("Help_pis");
    c.Help_o = a("Help_o");
    c.SB_New = a("SB_NewAction");
    c.SpeedButton1 = a("SpeedButton1Action");
    c.SpeedButton2 = a("SpeedButton2Action");
    c.SpeedButton3 = a("SpeedButton3Action");
    c.SpeedButton4 = a("SpeedButton4Action");
    c.TB_Serv_Nastr = a("TB_Serv_NastrAction");
    c.MenuEdit = findChild<QMenu*>(QStringLiteral("MenuEdit"));
    c.MenuServ = findChild<QMenu*>(QStringLiteral("MenuServ"));
}

void TFormMain::buildActions() {
    const auto s = [](const char16_t* text) { return QString::fromUtf16(text); };
    makeAction(s(u"File_Create"), s(u"Новый"), s(u"Новый"), s(u"document-new"));
    makeAction(s(u"File_Open"), s(u"Открыть"), s(u"Открыть"), s(u"document-open"));
    makeAction(s(u"File_Save"), s(u"Сохранить"), s(u"Сохранить"), s(u"document-save"));
    makeAction(s(u"File_SaveAs"), s(u"Сохранить как"), s(u"Сохранить как"), s(u"document-save-as"));
    makeAction(s(u"File_Import"), s(u"Импорт списка имущества…"), s(u"Импорт списка имущества"));
    makeAction(s(u"File_Export"), s(u"Экспорт списка имущества…"), s(u"Экспорт списка имущества"));
    makeAction(s(u"File_Exit"), s(u"Выход"), s(u"Выход"), s(u"application-exit"));
    makeAction(s(u"Edit_Undo"), s(u"Отменить"), s(u"Отменить"), s(u"edit-undo"))
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    makeAction(s(u"Edit_Redo"), s(u"Повторить"), s(u"Повторить"), s(u"edit-redo"))
        ->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    makeAction(s(u"Edit_NewItem"), s(u"Добавить новое имущество"), s(u"Добавить новое имущество"), s(u"list-add"));
    makeAction(s(u"Edit_ShareItem"), s(u"Разделить в долях…"), s(u"Разделить в долях"));
    for (const char16_t* name : {u"View_Panel", u"View_Stat"}) {
        QAction* act = makeAction(
            s(name), name == std::u16string_view(u"View_Panel") ? s(u"Панель инструментов") : s(u"Статусная строка"),
            QString());
        act->setCheckable(true);
        act->setChecked(true);
    }
    makeAction(s(u"Serv_SI"), s(u"Список имущества"), s(u"Список имущества"), s(u"view-list-details"))
        ->setCheckable(true);
    makeAction(s(u"Serv_Nastr"), s(u"Исходные данные"), s(u"Исходные данные"), s(u"x-office-address-book"))
        ->setCheckable(true);
    makeAction(s(u"Serv_Variant"), s(u"Вариант раздела"), s(u"Вариант раздела"), s(u"view-choose"));
    makeAction(s(u"Serv_Val"), s(u"Валюта"), s(u"Валюта"));
    makeAction(s(u"Doc_im"), s(u"Общий список имущества"), QString());
    makeAction(s(u"N11"), s(u"Список имущества стороны 1"), QString());
    makeAction(s(u"N22"), s(u"Список имущества стороны 2"), QString());
    makeAction(s(u"ToolButton14"), s(u"Вариант раздела имущества"), QString());
    makeAction(s(u"Help_sod"), s(u"Содержание"), s(u"Помощь Содержание"), s(u"help-contents"));
    makeAction(s(u"Help_Internet"), s(u"Страница программы в Internet"), QString());
    makeAction(s(u"Help_pis"), s(u"Написать письмо разработчикам"), QString());
    makeAction(s(u"Help_o"), s(u"О программе ..."), QString());
}

void TFormMain::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    const auto menu = [bar](const QString& name, const QString& title) {
        QMenu* m = bar->addMenu(title);
        m->setObjectName(name);
        return m;
    };
    const auto add = [this](QMenu* m, const char16_t* name) { m->addAction(action(QString::fromUtf16(name))); };

    QMenu* file = menu(QStringLiteral("MenuFile"), QStringLiteral("Файл"));
    add(file, u"File_Create");
    add(file, u"File_Open");
    file->addSeparator();
    add(file, u"File_Save");
    add(file, u"File_SaveAs");
    file->addSeparator();
    add(file, u"File_Import");
    add(file, u"File_Export");
    file->addSeparator();
    add(file, u"File_Exit");

    QMenu* edit = menu(QStringLiteral("MenuEdit"), QStringLiteral("Правка"));
    add(edit, u"Edit_Undo");
    add(edit, u"Edit_Redo");
    edit->addSeparator();
    add(edit, u"Edit_NewItem");
    add(edit, u"Edit_ShareItem");

    QMenu* view = menu(QStringLiteral("MenuView"), QStringLiteral("Вид"));
    add(view, u"View_Panel");
    add(view, u"View_Stat");

    QMenu* service = menu(QStringLiteral("MenuServ"), QStringLiteral("Сервис"));
    add(service, u"Serv_SI");
    add(service, u"Serv_Nastr");
    add(service, u"Serv_Variant");
    service->addSeparator();
    add(service, u"Serv_Val");

    QMenu* docs = menu(QStringLiteral("MenuDoc"), QStringLiteral("Документы"));
    for (const char16_t* name : {u"Doc_im", u"N11", u"N22", u"ToolButton14"})
        add(docs, name);

    QMenu* help = menu(QStringLiteral("MenuHelp"), QStringLiteral("Помощь"));
    add(help, u"Help_sod");
    help->addSeparator();
    add(help, u"Help_Internet");
    add(help, u"Help_pis");
    help->addSeparator();
    add(help, u"Help_o");
}

void TFormMain::addToolButton(QAction* menuAction, const QString& objectName) {
    // The button does what its menu item does, the item's tick included, but is
    // not itself a toggle button.
    auto* act = new QAction(menuAction->icon(), menuAction->text(), this);
    act->setObjectName(objectName + QStringLiteral("Action"));
    act->setStatusTip(menuAction->statusTip());
    act->setToolTip(menuAction->toolTip());
    act->setEnabled(menuAction->isEnabled());
    connect(menuAction, &QAction::enabledChanged, act, &QAction::setEnabled);
    connect(act, &QAction::triggered, menuAction, [menuAction] { menuAction->trigger(); });
    ToolBar1->addAction(act);
    ToolBar1->widgetForAction(act)->setObjectName(objectName);
}

QToolButton* TFormMain::addOwnToolButton(const QString& objectName, const QString& hint, const QString& iconName) {
    QAction* act = makeAction(objectName + QStringLiteral("Action"), hint, hint, iconName);
    ToolBar1->addAction(act);
    auto* button = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(act));
    button->setObjectName(objectName);
    return button;
}

void TFormMain::buildToolBar() {
    ToolBar1 = addToolBar(QStringLiteral("Панель инструментов"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(20, 20));
    ToolBar1->setContextMenuPolicy(Qt::PreventContextMenu);
    ToolBar1->toggleViewAction()->setEnabled(false);
    ToolBar1->setStyleSheet(QStringLiteral("QToolButton { min-width: 23px; min-height: 22px; }"));

    addToolButton(action(QStringLiteral("File_Create")), QStringLiteral("TB_File_Create"));
    addToolButton(action(QStringLiteral("File_Open")), QStringLiteral("TB_File_Open"));
    ToolBar1->addSeparator();
    addToolButton(action(QStringLiteral("File_Save")), QStringLiteral("TB_File_Save"));
    addToolButton(action(QStringLiteral("File_SaveAs")), QStringLiteral("TB_File_SaveAs"));
    ToolBar1->addSeparator();
    addToolButton(action(QStringLiteral("Serv_Variant")), QStringLiteral("TB_Serv_Variant"));
    addToolButton(action(QStringLiteral("Serv_SI")), QStringLiteral("TB_Serv_SI"));
    addToolButton(action(QStringLiteral("Serv_Nastr")), QStringLiteral("TB_Serv_Nastr"));
    ToolBar1->addSeparator();
    QToolButton* sbNew = addOwnToolButton(QStringLiteral("SB_New"), QStringLiteral("Добавить новое имущество"),
                                          QStringLiteral("list-add"));
    sbNew->setFixedWidth(32);
    ToolBar1->addSeparator();
    addOwnToolButton(QStringLiteral("SpeedButton4"), QStringLiteral("Собрать"), QStringLiteral("edit-undo"));
    ToolBar1->addSeparator();
    addOwnToolButton(QStringLiteral("SpeedButton1"), QStringLiteral("Налево"), QStringLiteral("go-previous"));
    addOwnToolButton(QStringLiteral("SpeedButton2"), QStringLiteral("Нераспределенное"), QStringLiteral("go-down"));
    addOwnToolButton(QStringLiteral("SpeedButton3"), QStringLiteral("Направо"), QStringLiteral("go-next"));
    ToolBar1->addSeparator();
    addToolButton(action(QStringLiteral("Help_sod")), QStringLiteral("TB_Help_sod"));
    ToolBar1->addSeparator();
    addToolButton(action(QStringLiteral("File_Exit")), QStringLiteral("TB_File_Exit"));
    ToolBar1->addSeparator();
}

void TFormMain::buildCentre() {
    auto* centre = new QWidget(this);
    centre->setObjectName(QStringLiteral("FormMainClient"));
    auto* column = new QVBoxLayout(centre);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    Panel1 = new QLabel(centre);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setTextFormat(Qt::PlainText);
    Panel1->setAlignment(Qt::AlignCenter);
    Panel1->setFixedHeight(26);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setAutoFillBackground(true);
    QPalette banner = Panel1->palette();
    banner.setColor(QPalette::Window, BannerColour);
    Panel1->setPalette(banner);
    QFont bannerFont = Panel1->font();
    bannerFont.setPixelSize(13);
    Panel1->setFont(bannerFont);
    column->addWidget(Panel1);

    Panel8 = new QWidget(centre);
    Panel8->setObjectName(QStringLiteral("Panel8"));
    Panel8->setFixedHeight(43);
    Label3 = new QLabel(QStringLiteral("Вариант раздела"), Panel8);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setTextFormat(Qt::PlainText);
    Label3->setGeometry(0, 2, 660, 18);
    for (QLabel** label : {&Label1, &Label2}) {
        *label = new QLabel(label == &Label1 ? QStringLiteral("Наименование стороны 1")
                                             : QStringLiteral("Наименование стороны 2"),
                            Panel8);
        (*label)->setObjectName(label == &Label1 ? QStringLiteral("Label1") : QStringLiteral("Label2"));
        (*label)->setTextFormat(Qt::PlainText);
        QFont bold = (*label)->font();
        bold.setBold(true);
        (*label)->setFont(bold);
    }
    Label1->setGeometry(5, 22, 216, 18);
    Label2->setGeometry(449, 22, 216, 18);
    Label2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    column->addWidget(Panel8);

    boardArea = new QWidget(centre);
    boardArea->setObjectName(QStringLiteral("boardArea"));
    column->addWidget(boardArea, 1);

    Panel7 = new QFrame(centre);
    Panel7->setObjectName(QStringLiteral("Panel7"));
    Panel7->setFixedHeight(119);
    column->addWidget(Panel7);

    setCentralWidget(centre);
}

void TFormMain::buildStatusBar() {
    StBarMain = new QStatusBar(this);
    StBarMain->setObjectName(QStringLiteral("StBarMain"));
    StBarMain->setSizeGripEnabled(true);
    // Panel 0 takes what the others leave; they keep their designed widths unless the
    // user's font needs more for the text.
    const int widths[4] = {232, 300, 70, 70};
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(StBarMain);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setTextFormat(Qt::PlainText);
        panel->setMinimumWidth(i == 0 ? 0 : widths[i]);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i == 0)
            panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        if (i == 2)
            panel->setAlignment(Qt::AlignCenter);
        StBarMain->addWidget(panel, i == 0 ? 1 : 0);
        statusPanels[size_t(i)] = panel;
    }
    setStatusBar(StBarMain);
}

void TFormMain::runCommand(const std::function<void()>& command) {
    guarded(m_program.dialogs, this, command)();
}

void TFormMain::connectCommand(QAction* act, std::function<void()> command) {
    connect(act, &QAction::triggered, this, guarded(m_program.dialogs, this, std::move(command)));
}

void TFormMain::connectCommands() {
    connectCommand(m_commands.File_Create, [this] { File_CreateClick(); });
    connectCommand(m_commands.File_Open, [this] { File_OpenClick(); });
    connectCommand(m_commands.File_Save, [this] { File_SaveClick(); });
    connectCommand(m_commands.File_SaveAs, [this] { File_SaveAsClick(); });
    connectCommand(m_commands.File_Exit, [this] { File_ExitClick(); });
    connectCommand(action(QStringLiteral("View_Panel")), [this] { View_PanelClick(); });
    connectCommand(action(QStringLiteral("View_Stat")), [this] { View_StatClick(); });
    connectCommand(m_commands.Edit_Undo, [this] { undoStep(); });
    connectCommand(m_commands.Edit_Redo, [this] { redoStep(); });
}

void TFormMain::followWriter() {
    store::CaseWriter& writer = m_program.dataModule().writer();
    // The record beside the working copy says "unsaved" before the first unsaved change
    // is committed, and "saved" once the history is back at the saved step.
    connect(&writer, &store::CaseWriter::leavingClean, this, [this] { writeRecoveryRecord(true); });
    connect(&writer, &store::CaseWriter::cleanChanged, this, [this](bool clean) {
        m_state.caseSaved = clean;
        if (clean)
            writeRecoveryRecord(false);
    });
    connect(&writer, &store::CaseWriter::historyChanged, this, [this] {
        m_state.caseSaved = m_program.dataModule().writer().isClean();
        showHistory();
    });
    connect(&writer, &store::CaseWriter::changed, this, [this](const store::CaseChange& change) {
        if (!change.inserted.empty() || !change.removed.empty())
            recountRecords();
        // A change of the settings made by a window is shown by that window; one that
        // comes back by undo or redo is read again.
        if (change.settings && change.replayed) {
            LoadTitle();
            m_program.formNstr().NewName_all();
        }
    });
    showHistory();
}

void TFormMain::showHistory() {
    const store::CaseWriter& writer = m_program.dataModule().writer();
    QAction* undo = m_commands.Edit_Undo;
    QAction* redo = m_commands.Edit_Redo;
    undo->setEnabled(writer.canUndo());
    redo->setEnabled(writer.canRedo());
    undo->setText(writer.canUndo() ? QStringLiteral("Отменить: ") + writer.undoName() : QStringLiteral("Отменить"));
    redo->setText(writer.canRedo() ? QStringLiteral("Повторить: ") + writer.redoName() : QStringLiteral("Повторить"));
}

void TFormMain::undoStep() {
    store::CaseWriter& writer = m_program.dataModule().writer();
    if (!writer.canUndo())
        return;
    showVariantOfStep(writer.undoVariant());
    writer.undo();
}

void TFormMain::redoStep() {
    store::CaseWriter& writer = m_program.dataModule().writer();
    if (!writer.canRedo())
        return;
    showVariantOfStep(writer.redoVariant());
    writer.redo();
}

void TFormMain::showVariantOfStep(int variant) {
    // The user sees the board the step changes.
    if (variant >= 0 && variant != m_state.divisionVariant)
        m_program.formVariant().selectVariant(variant);
}

void TFormMain::View_PanelClick() {
    ToolBar1->setVisible(action(QStringLiteral("View_Panel"))->isChecked());
}

void TFormMain::View_StatClick() {
    StBarMain->setVisible(action(QStringLiteral("View_Stat"))->isChecked());
}

void TFormMain::ApplicationHint(const QString& hint) {
    statusPanels[0]->setText(QStringLiteral("  ") + hint);
}

void TFormMain::File_ExitClick() {
    const auto answer =
        m_program.dialogs.message(this, QMessageBox::Question, QStringLiteral("Вопрос"),
                                  QStringLiteral("Вы хотите выйти из программы?"), QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes)
        close();
}

bool TFormMain::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        ApplicationHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    if (event->type() == QEvent::WindowActivate && !m_activated) {
        m_activated = true;
        runCommand([this] { FormActivate(); });
    }
    return QMainWindow::event(event);
}

void TFormMain::FormActivate() {
    FormResize();
    SummStr();
    InsertDann();
}

void TFormMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    runCommand([this] { FormResize(); });
}

void TFormMain::closeEvent(QCloseEvent* event) {
    // A close event is accepted by default; accept it only when the case is safe.
    event->ignore();
    if (!closeModalWindows())
        return;
    bool mayClose = false;
    runCommand([&] { mayClose = FormCloseQuery(); });
    if (mayClose)
        event->accept();
}

bool TFormMain::closeModalWindows() {
    // A session's end or a window manager may close this window under a modal one:
    // that window closes first, as its close box would, so it keeps what it commits
    // while the case is still open.
    QWidget* modal = QApplication::activeModalWidget();
    while (modal && modal != this) {
        if (!modal->close())
            return false;
        QWidget* next = QApplication::activeModalWidget();
        if (next == modal)
            return false;
        modal = next;
    }
    return true;
}

bool TFormMain::FormCloseQuery() {
    // Closes only when the case is safe: saved, saved now, or the user chose not to.
    if (!caseMayBeReplaced())
        return false;
    m_program.dataModule().ADODataSet1().close();
    return true;
}

} // namespace ravnobor
