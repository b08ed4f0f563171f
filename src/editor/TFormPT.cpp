#include "editor/TFormPT.h"

#include "editor/BandedHeader.h"
#include "editor/DBGridEh3.h"
#include "editor/PropertyListModel.h"
#include "editor/TFormNewZap.h"
#include "sheets/DelimitedText.h"
#include "shell/Guarded.h"
#include "shell/Program.h"
#include "shell/TFormMain.h"
#include "shell/TOKBottomDlg.h"
#include "store/CaseWriter.h"
#include "store/Layout.h"
#include "store/TDataModule1.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace ravnobor {

using editor::GridColumnCount;

namespace {

// A caption shows "&" as typed; the value written is the action's data.
QString menuText(const QString& text) {
    QString escaped = text;
    return escaped.replace(u'&', QStringLiteral("&&"));
}

// The heading being renamed is painted apart; the colour goes back however the dialog ends.
struct HighlightWhileRenaming {
    HighlightWhileRenaming(editor::BandedHeader* header, int column) : m_header(header) {
        m_header->setHighlightedSection(column);
    }
    ~HighlightWhileRenaming() { m_header->setHighlightedSection(-1); }
    HighlightWhileRenaming(const HighlightWhileRenaming&) = delete;
    HighlightWhileRenaming& operator=(const HighlightWhileRenaming&) = delete;
    editor::BandedHeader* m_header;
};

} // namespace

TFormPT::TFormPT(Program& program, QWidget* parent) : QDialog(parent), m_program(program) {
    setObjectName(QStringLiteral("FormPT"));
    setWindowTitle(QStringLiteral("Список имущества"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);
    resize(696, 480);

    m_model = std::make_unique<editor::PropertyListModel>(program.dataModule().ADODataSet1(), program.state.headings);
    m_footerModel = std::make_unique<editor::PropertyFooterModel>(*m_model);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    buildToolBar();
    column->addWidget(ToolBar1);
    buildGrid();
    column->addWidget(DBGridEh3, 1);
    column->addWidget(DBGridEh3->footer());
    column->addWidget(DBGridEh3->bottomScrollBar());
    buildBottomStrip();
    buildMenus();
    previewKeys();

    auto* viewKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_S), this);
    viewKey->setObjectName(QStringLiteral("ViewShortcut"));
    viewKey->setContext(Qt::WindowShortcut);
    connect(viewKey, &QShortcut::activated, this, [this] { run([this] { FormKeyDown(); }); });

    buildUndoKeys();
    connect(&program.dataModule().writer(), &store::CaseWriter::changed, this,
            [this](const store::CaseChange& change) { followChange(change); });

    TFormMain& main = program.formMain();
    QAction* openList = main.commands().Serv_SI;
    main.connectCommand(openList, [this] { Serv_SIClick(); });
}

TFormPT::~TFormPT() {
    delete DBGridEh3; // its editors go while the models they write to still exist
}

void TFormPT::buildUndoKeys() {
    // The window is modal, so the main window's actions do not reach it; the keys work
    // on the same history. A cell's own editor takes them first for its text.
    const auto add = [this](const QString& name, const QList<QKeySequence>& keys, void (TFormPT::*command)()) {
        auto* act = new QAction(this);
        act->setObjectName(name);
        act->setShortcuts(keys);
        act->setShortcutContext(Qt::WindowShortcut);
        addAction(act);
        connect(act, &QAction::triggered, this, [this, command] { run([this, command] { (this->*command)(); }); });
    };
    add(QStringLiteral("PT_Undo"), {QKeySequence(Qt::CTRL | Qt::Key_Z)}, &TFormPT::undoClick);
    add(QStringLiteral("PT_Redo"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)},
        &TFormPT::redoClick);
}

void TFormPT::undoClick() {
    if (prepareCommand())
        m_program.formMain().undoStep();
}

void TFormPT::redoClick() {
    if (prepareCommand())
        m_program.formMain().redoStep();
}

void TFormPT::followChange(const store::CaseChange& change) {
    if (!m_model->isOpen())
        return;
    m_model->follow(change);
    if (change.settings && change.replayed) {
        for (int c = 0; c < GridColumnCount; ++c)
            m_model->headingChanged(c);
        DBGridEh3->bandedHeader()->viewport()->update();
    }
    updatePositionBox();
}

void TFormPT::run(const std::function<void()>& command) {
    guarded(m_program.dialogs, this, command)();
}

void TFormPT::buildToolBar() {
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    ToolBar1->setIconSize(QSize(16, 16));
    const auto add = [this](const char* name, const QString& text, const char* icon, void (TFormPT::*command)()) {
        auto* act = new QAction(QIcon::fromTheme(QString::fromLatin1(icon)), text, this);
        act->setObjectName(QString::fromLatin1(name) + QStringLiteral("Action"));
        ToolBar1->addAction(act);
        ToolBar1->widgetForAction(act)->setObjectName(QString::fromLatin1(name));
        connect(act, &QAction::triggered, this, [this, command] { run([this, command] { (this->*command)(); }); });
    };
    add("SpeedButton1", QStringLiteral("Добавить"), "list-add", &TFormPT::SpeedButton1Click);
    add("SpeedButton2", QStringLiteral("Редактировать"), "document-edit", &TFormPT::SpeedButton2Click);
    add("SpeedButton3", QStringLiteral("Удалить"), "list-remove", &TFormPT::SpeedButton3Click);
    ToolBar1->addSeparator();
    add("SpeedButton4", QStringLiteral("Первая"), "go-first", &TFormPT::SpeedButton4Click);
    add("SpeedButton5", QStringLiteral("Последняя"), "go-last", &TFormPT::SpeedButton5Click);
}

void TFormPT::buildGrid() {
    DBGridEh3 = new editor::DBGridEh3(this);
    DBGridEh3->setModels(m_model.get(), m_footerModel.get());
    for (int c = 0; c < GridColumnCount; ++c)
        DBGridEh3->setColumnShown(c, editor::shownInListView(c));
    DBGridEh3->reportRefusal = [this](const QString& message) { m_program.dialogs.showError(this, message); };
    DBGridEh3->gridDelegate()->keyPreview = [this](QObject* watched, QEvent* event) {
        return windowKey(watched, event);
    };
    connect(DBGridEh3, &editor::DBGridEh3::currentRowChanged, this,
            [this](int row) { run([this, row] { m_model->setCurrentRow(row); }); });
    // After rows come or go the dataset's cursor follows the grid's current row again.
    const auto followGrid = [this] { m_model->followCurrentRow(DBGridEh3->currentIndex().row()); };
    connect(m_model.get(), &QAbstractItemModel::rowsRemoved, this, followGrid);
    connect(m_model.get(), &QAbstractItemModel::rowsInserted, this, followGrid);
    connect(DBGridEh3, &editor::DBGridEh3::titleClicked, this,
            [this](int column) { run([this, column] { DBGridEh3TitleBtnClick(column); }); });
    connect(DBGridEh3->gridDelegate(), &editor::GridDelegate::valuationDropDown, this,
            [this](const QModelIndex& index, QLineEdit* editor) {
                run([this, index, editor] { openValuationPopup(index, editor); });
            });
}

void TFormPT::buildBottomStrip() {
    auto* strip = new QWidget(this);
    strip->setObjectName(QStringLiteral("Panel1"));
    auto* row = new QHBoxLayout(strip);
    row->setContentsMargins(6, 5, 6, 5);
    Edit1 = new QLineEdit(strip);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setFocusPolicy(Qt::NoFocus);
    Edit1->setFixedWidth(180);
    row->addWidget(Edit1);
    row->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), strip);
    ok->setObjectName(QStringLiteral("BitBtn1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(ok);
    layout()->addWidget(strip);
}

void TFormPT::buildMenus() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QAction* insertRow = PopupMenu1->addAction(QStringLiteral("Вставить запись"));
    insertRow->setObjectName(QStringLiteral("N1"));
    QAction* deleteRow = PopupMenu1->addAction(QStringLiteral("Удалить запись"));
    deleteRow->setObjectName(QStringLiteral("N2"));
    connect(insertRow, &QAction::triggered, this, [this] { run([this] { N1Click(); }); });
    connect(deleteRow, &QAction::triggered, this, [this] { run([this] { N2Click(); }); });
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { run([this] { PopupMenu1Popup(); }); });
    DBGridEh3->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(DBGridEh3, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(DBGridEh3->viewport()->mapToGlobal(at)); });

    m_valuationPopup = std::make_unique<QMenu>();
    m_valuationPopup->setObjectName(QStringLiteral("PopupMenu1"));
    const QString captions[] = {QStringLiteral("Сторона1"), QStringLiteral("Сторона2"), QStringLiteral("Риэлтер"),
                                QStringLiteral("Эксперт")};
    for (int i = 0; i < 4; ++i) {
        QAction* item = m_valuationPopup->addAction(menuText(captions[i]));
        item->setObjectName(QStringLiteral("N%1").arg(i + 1));
        item->setData(captions[i]);
    }
    connect(m_valuationPopup.get(), &QMenu::triggered, this, [this](QAction* item) {
        const QString valuation = item->data().toString();
        run([this, valuation] { ValuationN1Click(valuation); });
    });
}

void TFormPT::previewKeys() {
    // Keys reach the window before its controls: every control of this window
    // (editors get the same through the grid's delegate).
    for (QWidget* child : findChildren<QWidget*>())
        if (child->window() == this)
            child->installEventFilter(this);
}

bool TFormPT::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && windowKey(watched, event))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool TFormPT::windowKey(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this || event->type() != QEvent::KeyPress)
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const auto modifiers = key->modifiers() & ~Qt::KeypadModifier;
    if (key->key() == Qt::Key_Delete && modifiers == Qt::ControlModifier) {
        run([this] { deleteSelectedRows(); });
        return true;
    }
    if (key->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        reject();
        return true;
    }
    if (key->matches(QKeySequence::Paste)) {
        const QString text = QGuiApplication::clipboard()->text();
        if (sheets::looksLikeCells(text)) {
            emit cellsPasted(text);
            return true;
        }
    }
    return false;
}

void TFormPT::setPartyNames(const QString& party1, const QString& party2) {
    const QList<QAction*> items = m_valuationPopup->actions();
    items.at(0)->setText(menuText(party1));
    items.at(0)->setData(party1);
    items.at(1)->setText(menuText(party2));
    items.at(1)->setData(party2);
}

bool TFormPT::isListOpen() const {
    return m_program.dataModule().ADODataSet1().isOpen();
}

void TFormPT::updatePositionBox() {
    const auto& list = m_program.dataModule().ADODataSet1();
    if (!list.isOpen())
        return;
    m_program.state.totalRecords = list.recordCount();
    const int position = list.recNo();
    Edit1->setText(position == -1 ? QStringLiteral(" нет записей")
                                  : QStringLiteral("Запись: %1 из %2").arg(position).arg(list.recordCount()));
}

bool TFormPT::isSummaryView() const {
    return DBGridEh3->isColumnShown(editor::GridFirstAllocation);
}

void TFormPT::Serv_SIClick() {
    FormActivate();
    m_program.dialogs.exec(*this);
    FormDeactivate();
}

void TFormPT::FormActivate() {
    m_model->open();
    if (!m_centred) {
        m_centred = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            move(screen->availableGeometry().center() - rect().center());
    }
    if (m_model->itemCount() > 0)
        selectRow(0);
    DBGridEh3->fitColumns();
    DBGridEh3->setFocus();
    updatePositionBox();
}

void TFormPT::FormDeactivate() {
    DBGridEh3->commitEditor(); // a refused value has been told; the row keeps its own
    m_program.state.totalRecords = m_model->itemCount() + (m_model->isNewRowTouched() ? 1 : 0);
    m_model->close();
}

void TFormPT::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    DBGridEh3->fitColumns();
    DBGridEh3->ensureEditor();
}

void TFormPT::done(int result) {
    // Whatever closes the window, what the user typed is kept first.
    if (!DBGridEh3->commitEditor())
        return;
    run([this] { m_model->settleNewRow(); });
    QDialog::done(result);
}

bool TFormPT::prepareCommand() {
    if (!DBGridEh3->commitEditor())
        return false;
    m_model->settleNewRow();
    return true;
}

std::optional<int> TFormPT::commandRow() {
    if (!DBGridEh3->commitEditor())
        return std::nullopt;
    if (m_model->hasNewRow()) {
        if (!m_model->isNewRowTouched())
            return std::nullopt; // a blank new row is no row to edit or delete
        m_model->postNewRow();
    }
    const int row = DBGridEh3->currentIndex().row();
    if (!m_model->isStoredRow(row))
        return std::nullopt;
    return row;
}

void TFormPT::selectRow(int row) {
    if (row < 0 || row >= m_model->rowCount())
        return;
    int column = std::max(DBGridEh3->currentIndex().column(), 0);
    if (DBGridEh3->isColumnHidden(column))
        column = editor::GridName;
    const QModelIndex at = m_model->index(row, column);
    DBGridEh3->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    DBGridEh3->scrollTo(at);
}

void TFormPT::SpeedButton1Click() {
    if (!prepareCommand())
        return;
    int added = -1;
    m_program.formNewZap().runEntry(editor::itemForAdding(), QStringLiteral("Введите новую запись"),
                                    [this, &added](const editor::ItemFields& item) { added = m_model->addItem(item); });
    if (added >= 0)
        selectRow(added);
}

void TFormPT::SpeedButton2Click() {
    const std::optional<int> row = commandRow();
    if (!row)
        return;
    m_program.formNewZap().runEntry(m_model->item(*row), QStringLiteral("Редактирование записи"),
                                    [this, row](const editor::ItemFields& item) { m_model->updateItem(*row, item); });
}

void TFormPT::SpeedButton3Click() {
    const std::optional<int> row = commandRow();
    if (!row)
        return;
    const auto answer = m_program.dialogs.message(this, QMessageBox::Question, QStringLiteral("Вопрос"),
                                                  QStringLiteral("Вы действительно хотите удалить запись из таблицы?"),
                                                  QMessageBox::Yes | QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    m_model->removeItem(*row);
    m_model->dataset().updateBatch();
}

void TFormPT::SpeedButton4Click() {
    if (prepareCommand())
        selectRow(0);
}

void TFormPT::SpeedButton5Click() {
    if (prepareCommand())
        selectRow(m_model->itemCount() - 1);
}

void TFormPT::N1Click() {
    if (!prepareCommand() || !m_model->isOpen())
        return;
    m_model->startNewRow();
    selectRow(m_model->newRowIndex());
    DBGridEh3->setFocus();
    DBGridEh3->ensureEditor();
}

void TFormPT::N2Click() {
    const std::optional<int> row = commandRow();
    if (!row)
        return;
    const auto answer =
        m_program.dialogs.message(this, QMessageBox::Question, QStringLiteral("Вопрос"),
                                  QStringLiteral("Delete record?"), QMessageBox::Ok | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        return;
    m_model->removeItem(*row);
}

void TFormPT::PopupMenu1Popup() {
    const bool open = m_model->isOpen();
    PopupMenu1->findChild<QAction*>(QStringLiteral("N1"))->setEnabled(open);
    PopupMenu1->findChild<QAction*>(QStringLiteral("N2"))->setEnabled(open && m_model->itemCount() > 0);
}

void TFormPT::deleteSelectedRows() {
    if (!prepareCommand())
        return;
    std::vector<int> rows;
    for (const QModelIndex& index : DBGridEh3->selectionModel()->selectedRows())
        if (m_model->isStoredRow(index.row()))
            rows.push_back(index.row());
    if (rows.empty() && m_model->isStoredRow(DBGridEh3->currentIndex().row()))
        rows.push_back(DBGridEh3->currentIndex().row());
    if (rows.empty())
        return;
    const QString question =
        rows.size() > 1 ? QStringLiteral("Delete all selected records?") : QStringLiteral("Delete record?");
    const auto answer = m_program.dialogs.message(this, QMessageBox::Question, QStringLiteral("Вопрос"), question,
                                                  QMessageBox::Ok | QMessageBox::Cancel);
    if (answer != QMessageBox::Ok)
        return;
    std::sort(rows.begin(), rows.end(), std::greater<>());
    // Several rows go as one step of the history.
    store::CaseWriter::Step step(m_program.dataModule().writer(), QStringLiteral("удаление (%1)").arg(rows.size()), -1,
                                 &m_model->dataset());
    for (int row : rows)
        m_model->removeItem(row);
    m_model->dataset().updateBatch();
    step.commit();
}

void TFormPT::DBGridEh3TitleBtnClick(int column) {
    if (!editor::hasTitleButton(column) || column < 0 || column >= GridColumnCount)
        return;
    if (!DBGridEh3->commitEditor())
        return;
    editor::BandedHeader* header = DBGridEh3->bandedHeader();
    TOKBottomDlg& dialog = m_program.okBottomDlg();
    QString& heading = m_program.state.headings[size_t(column)];
    const HighlightWhileRenaming highlight(header, column);
    dialog.Edit1->setText(heading);
    if (m_program.dialogs.exec(dialog) != QDialog::Accepted)
        return;
    store::CaseWriter& writer = m_program.dataModule().writer();
    const QString text = dialog.Edit1->text();
    writer.updateSettings({{writer.columnName(store::CaseTable::Settings, layout::FirstHeading + column), text}},
                          QStringLiteral("заголовок"));
    heading = text;
    m_model->headingChanged(column);
    header->viewport()->update(); // the neighbours' bands change with it
}

void TFormPT::FormKeyDown() {
    if (!DBGridEh3->commitEditor())
        return;
    for (int c = 0; c < GridColumnCount; ++c)
        if (editor::switchedByViewKey(c))
            DBGridEh3->setColumnShown(c, !DBGridEh3->isColumnShown(c));
    DBGridEh3->fitColumns();
    const QModelIndex current = DBGridEh3->currentIndex();
    if (current.isValid() && DBGridEh3->isColumnHidden(current.column()))
        DBGridEh3->setCurrentIndex(m_model->index(current.row(), editor::GridName));
}

void TFormPT::openValuationPopup(const QModelIndex& index, QLineEdit* editor) {
    if (!index.isValid() || !DBGridEh3->commitEditor())
        return;
    m_valuationPopup->popup(editor->mapToGlobal(QPoint(0, editor->height())));
}

void TFormPT::ValuationN1Click(const QString& valuation) {
    if (!DBGridEh3->commitEditor())
        return;
    const int row = DBGridEh3->currentIndex().row();
    if (row < 0 || row >= m_model->rowCount())
        return;
    m_model->writeValuation(row, valuation);
}

} // namespace ravnobor
