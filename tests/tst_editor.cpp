// The property list window and the record dialog, driven through the real windows.
#include "editor/BandedHeader.h"
#include "editor/DBGridEh3.h"
#include "editor/GridColumns.h"
#include "editor/PropertyListModel.h"
#include "editor/TFormNewZap.h"
#include "editor/TFormPT.h"
#include "shell/TFormMain.h"
#include "shell/TOKBottomDlg.h"
#include "store/Database.h"
#include "store/Layout.h"
#include "store/TDataModule1.h"
#include "support/TestProgram.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

using namespace ravnobor;
using editor::GridColumnCount;
using test::ItemRow;

namespace {

const QVariant None;

QList<ItemRow> fourItems() {
    return {{QStringLiteral("Дом"), 1000.5, 900.0, 950.0, 0, 0},
            {QStringLiteral("Машина"), 300.0, 200.0, None, 1, -1},
            {QStringLiteral("Гараж"), 200.0, 300.0, 250.0, None, None},
            {QStringLiteral("Лодка"), 50.25, 40.0, 45.0, -1, 1}};
}

// Types as a keyboard would, Cyrillic included (QTest::keyClicks takes only ASCII).
void typeText(QWidget* to, const QString& text) {
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(to, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(to, &release);
    }
}

void sendKey(QWidget* to, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(to, key, modifiers);
}

// A whole program over a case made in code, with the list window at hand.
struct ListCase {
    test::TestProgram tp;
    Program* program = nullptr;

    explicit ListCase(const QList<ItemRow>& rows) {
        const QString path = tp.path(QStringLiteral("case.rvb"));
        test::makeCase(path, rows);
        program = &tp.start({path});
        new QAbstractItemModelTester(&model(), QAbstractItemModelTester::FailureReportingMode::QtTest, &form());
    }
    TFormPT& form() { return program->formPT(); }
    editor::DBGridEh3& grid() { return *form().DBGridEh3; }
    editor::PropertyListModel& model() { return form().listModel(); }
    AppState& state() { return program->state; }

    // Opens the window the way FormActivate does and shows it, active.
    bool open() {
        form().FormActivate();
        form().show();
        form().activateWindow();
        return QTest::qWaitForWindowActive(&form());
    }
    void close() {
        form().FormDeactivate();
        form().hide();
    }
    QLineEdit* editCell(int row, int column) {
        grid().selectionModel()->setCurrentIndex(model().index(row, column),
                                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        grid().setFocus();
        grid().ensureEditor();
        return grid().openEditor();
    }
    void typeInto(int row, int column, const QString& text) {
        QLineEdit* editor = editCell(row, column);
        QVERIFY(editor);
        editor->selectAll();
        typeText(editor, text);
    }
    void click(const char* button) {
        auto* tool = form().ToolBar1->findChild<QToolButton*>(QString::fromLatin1(button));
        QVERIFY(tool);
        tool->click();
    }
    QString cell(int row, int column) { return model().index(row, column).data().toString(); }
    QString footer(int column) { return form().footerModel().index(0, column).data().toString(); }
    QStringList names() {
        QStringList all;
        for (int row = 0; row < model().rowCount(); ++row)
            all << cell(row, editor::GridName);
        return all;
    }

    // What the working copy holds, read apart from the program's own connection.
    QVariant stored(const QString& name, const QString& column) {
        store::Database db(state().workingCopyPath, store::Database::Mode::ReadOnly);
        store::Statement select =
            db.prepare(QStringLiteral("SELECT \"%1\" FROM \"Таблица\" WHERE \"Наименование\" = ?").arg(column));
        select.bind(1, name);
        return select.step() ? select.value(0) : QVariant(QStringLiteral("<no row>"));
    }
    QStringList storedNames() {
        store::Database db(state().workingCopyPath, store::Database::Mode::ReadOnly);
        store::Statement select = db.prepare(QStringLiteral("SELECT \"Наименование\" FROM \"Таблица\" ORDER BY rowid"));
        QStringList all;
        while (select.step())
            all << select.text(0);
        return all;
    }
};

bool listViewShown(editor::DBGridEh3& grid) {
    for (int c = 0; c < GridColumnCount; ++c)
        if (grid.isColumnShown(c) != editor::shownInListView(c))
            return false;
    return true;
}

} // namespace

class TestEditor : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void windowLayout();
    void footerSumsFollowEditAndDelete();
    void typedValueCommittedBefore_data();
    void typedValueCommittedBefore();
    void listWindowFromTheMainWindow();
    void mainWindowClosedOverListWindow_data();
    void mainWindowClosedOverListWindow();
    void badPriceInCellIsRefused();
    void summaryAllocationAcceptsOnlyIntegers();
    void pointLocaleInCells();
    void renameHeading_data();
    void renameHeading();
    void renameCancelled();
    void firstAllocationHasNoTitleButton();
    void viewKey_data();
    void viewKey();
    void viewKeptAcrossOpeningsAndCases();
    void contextMenuEnabling();
    void insertedRowCancelledOrPosted();
    void deleteButtonDeletesOnlyCurrentRow();
    void ctrlDeleteAsks_data();
    void ctrlDeleteAsks();
    void emptyListCommandsDoNothing();
    void valuationPopupWritesPartyNames();
    void positionBox();

    void recordDialogLayout();
    void addFromListWindow();
    void editCurrentRow();
    void emptyNameAsksAgain();
    void cancelAndCloseBoxDiscard();
    void clearingNameOnEditChangesNothing();
    void badPriceKeepsTypedValues();
    void typedValuationStoredAsTyped();
    void enterAndEscapeDoNotClose();
    void helpKeepsValues();
    void addFromMainWindow();
};

void TestEditor::windowLayout() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    QCOMPARE(c.form().windowTitle(), QStringLiteral("Список имущества"));
    QCOMPARE(c.form().size(), QSize(696, 480));
    QVERIFY(c.form().windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QStringList captions;
    for (QAction* act : c.form().ToolBar1->actions())
        captions << (act->isSeparator() ? QStringLiteral("|") : act->text());
    QCOMPARE(captions,
             (QStringList{QStringLiteral("Добавить"), QStringLiteral("Редактировать"), QStringLiteral("Удалить"),
                          QStringLiteral("|"), QStringLiteral("Первая"), QStringLiteral("Последняя")}));
    QVERIFY(c.form().Edit1->isReadOnly());
    auto* ok = c.form().findChild<QPushButton*>(QStringLiteral("BitBtn1"));
    QVERIFY(ok && ok->isDefault());
    QVERIFY(listViewShown(c.grid()));
    QCOMPARE(c.grid().bandedHeader()->height(), c.grid().bandedHeader()->headingHeight());
    QVERIFY(c.grid().bandedHeader()->height() >= 4 * c.grid().fontMetrics().height());
    // Widths follow the client width in proportion to the design widths.
    const int client = c.grid().viewport()->width();
    int total = 0;
    for (int col = 0; col < GridColumnCount; ++col)
        total += c.grid().isColumnShown(col) ? c.grid().columnWidth(col) : 0;
    QCOMPARE(total, client);
    QCOMPARE(c.grid().columnWidth(0) * 100 / client, 131 * 100 / 720);
    // The footer stands under the same columns, in bold.
    for (int col = 0; col < GridColumnCount; ++col) {
        QCOMPARE(c.grid().footer()->isColumnHidden(col), c.grid().isColumnHidden(col));
        if (!c.grid().isColumnHidden(col))
            QCOMPARE(c.grid().footer()->columnWidth(col), c.grid().columnWidth(col));
    }
    QVERIFY(c.grid().footer()->font().bold());
    QCOMPARE(c.footer(editor::GridName), QStringLiteral("Всего:"));
    QCOMPARE(c.footer(editor::GridPrice1), QStringLiteral("1550,75"));
    QCOMPARE(c.footer(editor::GridPrice2), QStringLiteral("1440,00"));
    QCOMPARE(c.footer(editor::GridAgreed), QStringLiteral("1245,00"));
    QCOMPARE(c.footer(editor::GridValuation), QString());
    // The editor stands on the current cell.
    QVERIFY(c.grid().openEditor());
    QCOMPARE(c.grid().openEditor()->text(), QStringLiteral("Дом"));
    c.form().resize(900, 480);
    QTest::qWait(1);
    QCOMPARE(c.grid().columnWidth(0) * 100 / c.grid().viewport()->width(), 131 * 100 / 720);
    c.close();
}

void TestEditor::footerSumsFollowEditAndDelete() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    c.typeInto(2, editor::GridPrice1, QStringLiteral("1200,5"));
    sendKey(c.grid().openEditor(), Qt::Key_Tab);
    QCOMPARE(c.footer(editor::GridPrice1), QStringLiteral("2551,25"));
    QCOMPARE(c.stored(QStringLiteral("Гараж"), QStringLiteral("Цена 1")).toDouble(), 1200.5);
    QVERIFY(!c.state().caseSaved);
    QCOMPARE(c.grid().currentIndex(), c.model().index(2, editor::GridPrice2)); // Tab went on

    c.state().caseSaved = true;
    c.grid().setCurrentIndex(c.model().index(0, editor::GridName));
    c.tp.dialogs.nextAnswers.push_back(QMessageBox::Yes);
    c.click("SpeedButton3");
    QCOMPARE(c.names(), (QStringList{QStringLiteral("Машина"), QStringLiteral("Гараж"), QStringLiteral("Лодка")}));
    QCOMPARE(c.footer(editor::GridPrice1), QStringLiteral("1550,75"));
    QCOMPARE(c.footer(editor::GridPrice2), QStringLiteral("540,00"));
    QCOMPARE(c.footer(editor::GridAgreed), QStringLiteral("295,00"));
    QVERIFY(!c.state().caseSaved);
    c.close();
}

void TestEditor::typedValueCommittedBefore_data() {
    QTest::addColumn<QString>("how");
    for (const char* how : {"first", "last", "ok", "close box", "escape", "insert row", "ctrl+delete cancelled",
                            "rename", "view key", "valuation popup"})
        QTest::newRow(how) << QString::fromLatin1(how);
}

void TestEditor::typedValueCommittedBefore() {
    QFETCH(QString, how);
    ListCase c(fourItems());
    QVERIFY(c.open());
    c.typeInto(1, editor::GridNotes, QStringLiteral("с прицепом"));
    QLineEdit* editor = c.grid().openEditor();
    if (how == u"first")
        c.click("SpeedButton4");
    else if (how == u"last")
        c.click("SpeedButton5");
    else if (how == u"ok")
        c.form().findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
    else if (how == u"close box")
        c.form().close();
    else if (how == u"escape")
        sendKey(editor, Qt::Key_Escape);
    else if (how == u"insert row")
        c.form().N1Click();
    else if (how == u"ctrl+delete cancelled")
        sendKey(editor, Qt::Key_Delete, Qt::ControlModifier);
    else if (how == u"rename")
        c.form().DBGridEh3TitleBtnClick(editor::GridName);
    else if (how == u"view key")
        sendKey(editor, Qt::Key_S, Qt::AltModifier);
    else if (how == u"valuation popup") {
        c.form().valuationPopup()->actions().at(3)->trigger();
    }
    QCOMPARE(c.stored(QStringLiteral("Машина"), QStringLiteral("Заметки")).toString(), QStringLiteral("с прицепом"));
    QCOMPARE(c.storedNames().size(), 4);
    QCOMPARE(c.form().isVisible(), !(how == u"ok" || how == u"close box" || how == u"escape"));
    c.close();
}

void TestEditor::listWindowFromTheMainWindow() {
    ListCase c(fourItems());
    QAction* open = c.program->formMain().action(QStringLiteral("Serv_SI"));
    QVERIFY(open->isEnabled());
    QString shownBox;
    bool listOpenWhileShown = false;
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        auto& form = static_cast<TFormPT&>(dialog);
        form.show();
        listOpenWhileShown = form.isListOpen();
        form.updatePositionBox();
        shownBox = form.Edit1->text();
        form.DBGridEh3->setCurrentIndex(form.listModel().index(3, editor::GridPrice2));
        form.DBGridEh3->setFocus();
        form.DBGridEh3->ensureEditor();
        form.DBGridEh3->openEditor()->setText(QStringLiteral("41"));
        sendKey(form.DBGridEh3->openEditor(), Qt::Key_Tab);
        form.DBGridEh3->setCurrentIndex(form.listModel().index(3, editor::GridName));
        form.DBGridEh3->ensureEditor();
        form.DBGridEh3->openEditor()->setText(QStringLiteral("Лодка с мотором"));
        form.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        return form.result();
    });
    open->trigger();
    QCOMPARE(c.tp.dialogs.dialogsShown, QStringList{QStringLiteral("FormPT")});
    QVERIFY(listOpenWhileShown);
    QCOMPARE(shownBox, QStringLiteral("Запись: 1 из 4"));
    QVERIFY(open->isChecked());
    QVERIFY(!c.form().isListOpen());
    QVERIFY(!c.form().isVisible());
    QCOMPARE(c.stored(QStringLiteral("Лодка с мотором"), QStringLiteral("Цена 2")).toDouble(), 41.0);
    QCOMPARE(c.state().totalRecords, 4);
    // The board was reloaded: party 2's column shows the new name.
    QStringList party2;
    for (const auto& item : c.program->formMain().boardItems(-1))
        party2 << item.name;
    QCOMPARE(party2, QStringList{QStringLiteral("Лодка с мотором")});
    open->trigger(); // the mark flips at every use
    QVERIFY(!open->isChecked());
}

void TestEditor::mainWindowClosedOverListWindow_data() {
    QTest::addColumn<int>("answer"); // to "Сохранить файл?"
    QTest::addColumn<bool>("closed");
    QTest::newRow("not saved") << int(QMessageBox::No) << true;
    QTest::newRow("cancelled") << int(QMessageBox::Cancel) << false;
}

void TestEditor::mainWindowClosedOverListWindow() {
    QFETCH(int, answer);
    QFETCH(bool, closed);
    ListCase c(fourItems());
    TFormMain& main = c.program->formMain();
    main.show();
    c.tp.dialogs.nextAnswers.push_back(QMessageBox::StandardButton(answer));
    bool mainClosed = false;
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        auto& form = static_cast<TFormPT&>(dialog);
        form.setWindowModality(Qt::ApplicationModal); // as the modal loop would
        form.show();
        form.DBGridEh3->setCurrentIndex(form.listModel().index(0, editor::GridName));
        form.DBGridEh3->setFocus();
        form.DBGridEh3->ensureEditor();
        form.DBGridEh3->openEditor()->setText(QStringLiteral("Дом с участком"));
        mainClosed = main.close(); // the session ends while the list window is open
        return form.result();
    });
    main.action(QStringLiteral("Serv_SI"))->trigger();
    QCOMPARE(mainClosed, closed);
    QVERIFY(!c.form().isVisible());
    QCOMPARE(main.isVisible(), !closed);
    QCOMPARE(c.tp.dialogs.shown.size(), 1);
    QCOMPARE(c.tp.dialogs.shown.first().text, QStringLiteral("Сохранить файл?"));
    // The typed name was committed before the case was let go.
    QCOMPARE(c.stored(QStringLiteral("Дом с участком"), QStringLiteral("Цена 1")).toDouble(), 1000.5);
}

void TestEditor::badPriceInCellIsRefused() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    c.state().caseSaved = true;
    c.typeInto(0, editor::GridPrice2, QStringLiteral("девятьсот"));
    c.click("SpeedButton5"); // the refusal stops the command
    QCOMPARE(c.tp.dialogs.shown.size(), 1);
    QCOMPARE(c.tp.dialogs.shown.last().icon, QMessageBox::Critical);
    QCOMPARE(c.tp.dialogs.shown.last().text,
             QStringLiteral("В поле «Цена 2» должно быть число (не больше 10^15 по модулю), а введено «девятьсот»."));
    QCOMPARE(c.grid().currentIndex().row(), 0);
    QCOMPARE(c.grid().openEditor()->text(), QStringLiteral("900"));
    QCOMPARE(c.stored(QStringLiteral("Дом"), QStringLiteral("Цена 2")).toDouble(), 900.0);
    QCOMPARE(c.footer(editor::GridPrice2), QStringLiteral("1440,00"));
    QVERIFY(c.state().caseSaved);

    // Leaving the cell with Tab: told once the commit is over; the name typed before stays.
    c.typeInto(0, editor::GridName, QStringLiteral("Дом у реки"));
    sendKey(c.grid().openEditor(), Qt::Key_Tab);
    c.typeInto(0, editor::GridPrice2, QStringLiteral("1e400"));
    sendKey(c.grid().openEditor(), Qt::Key_Tab);
    QTRY_COMPARE(c.tp.dialogs.shown.size(), 2);
    QVERIFY(c.tp.dialogs.shown.last().text.contains(QStringLiteral("«1e400»")));
    QCOMPARE(c.cell(0, editor::GridName), QStringLiteral("Дом у реки"));
    QCOMPARE(c.cell(0, editor::GridPrice2), QStringLiteral("900"));

    // Closing with a refused value keeps the window open; the next close goes through.
    c.typeInto(1, editor::GridPrice1, QStringLiteral("x"));
    c.form().findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
    QCOMPARE(c.tp.dialogs.shown.size(), 3);
    QVERIFY(c.form().isVisible());
    c.form().findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
    QVERIFY(!c.form().isVisible());
    QCOMPARE(c.stored(QStringLiteral("Машина"), QStringLiteral("Цена 1")).toDouble(), 300.0);
    c.close();
}

void TestEditor::summaryAllocationAcceptsOnlyIntegers() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    sendKey(&c.grid(), Qt::Key_S, Qt::AltModifier);
    QVERIFY(c.form().isSummaryView());
    c.typeInto(2, editor::GridFirstAllocation, QStringLiteral("1,5"));
    c.click("SpeedButton4");
    QCOMPARE(c.tp.dialogs.shown.size(), 1);
    QCOMPARE(c.tp.dialogs.shown.last().text, QStringLiteral("В поле «1_ц1» должно быть целое число, а введено «1,5»."));
    QVERIFY(c.stored(QStringLiteral("Гараж"), QStringLiteral("1_ц1")).isNull());
    c.typeInto(2, editor::GridFirstAllocation, QStringLiteral("-1"));
    c.click("SpeedButton4");
    QCOMPARE(c.stored(QStringLiteral("Гараж"), QStringLiteral("1_ц1")).toLongLong(), -1);
    QCOMPARE(c.tp.dialogs.shown.size(), 1);
    c.close();
}

void TestEditor::pointLocaleInCells() {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ListCase c(fourItems());
    QVERIFY(c.open());
    QCOMPARE(c.cell(0, editor::GridPrice1), QStringLiteral("1000.5"));
    QCOMPARE(c.footer(editor::GridPrice1), QStringLiteral("1550.75"));
    c.typeInto(3, editor::GridPrice1, QStringLiteral("0.75"));
    c.click("SpeedButton4");
    QCOMPARE(c.stored(QStringLiteral("Лодка"), QStringLiteral("Цена 1")).toDouble(), 0.75);
    QCOMPARE(c.footer(editor::GridPrice1), QStringLiteral("1501.25"));
    c.close();
}

void TestEditor::renameHeading_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::newRow("without bar") << 1 << "Цена первой";
    QTest::newRow("with bar") << 0 << "Имущество|Наименование";
    QTest::newRow("empty") << 11 << "";
    QTest::newRow("blanks kept") << 4 << " Оценка  ";
}

void TestEditor::renameHeading() {
    QFETCH(int, column);
    QFETCH(QString, typed);
    ListCase c(fourItems());
    QVERIFY(c.open());
    const QString before = c.state().headings[size_t(column)];
    editor::BandedHeader* header = c.grid().bandedHeader();
    QString offered;
    QColor colourWhileOpen;
    int highlightedWhileOpen = -2;
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        auto& heading = static_cast<TOKBottomDlg&>(dialog);
        offered = heading.Edit1->text();
        colourWhileOpen = header->sectionColour(column);
        highlightedWhileOpen = header->highlightedSection();
        heading.Edit1->setText(typed);
        return int(QDialog::Accepted);
    });
    // A click on the heading is the title button.
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 5, header->height() - 5));
    QCOMPARE(c.tp.dialogs.dialogsShown, QStringList{QStringLiteral("OKBottomDlg")});
    QCOMPARE(offered, before);
    QCOMPARE(colourWhileOpen, QColor(167, 191, 237));
    QCOMPARE(highlightedWhileOpen, column);
    QCOMPARE(header->highlightedSection(), -1);
    QCOMPARE(header->sectionColour(column), c.grid().palette().color(QPalette::Button));
    QCOMPARE(c.state().headings[size_t(column)], typed);
    QCOMPARE(c.model().headerData(column, Qt::Horizontal).toString(), typed);
    QVERIFY(!c.state().caseSaved);

    // The heading travels with the case: saved, loaded again, the same text.
    c.close();
    const QString saved = c.tp.path(QStringLiteral("saved.rvb"));
    c.state().saveDialogFileName = saved;
    c.state().caseFileName = saved;
    c.program->formMain().File_SaveClick();
    c.state().headings = layout::DesignHeadings;
    c.program->formMain().NewFile();
    QCOMPARE(c.state().headings[size_t(column)], typed);
}

void TestEditor::renameCancelled() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    editor::BandedHeader* header = c.grid().bandedHeader();
    QColor colourWhileOpen;
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        colourWhileOpen = header->sectionColour(2);
        static_cast<TOKBottomDlg&>(dialog).Edit1->setText(QStringLiteral("другое"));
        return int(QDialog::Rejected);
    });
    c.form().DBGridEh3TitleBtnClick(2);
    QCOMPARE(colourWhileOpen, QColor(167, 191, 237));
    QCOMPARE(header->sectionColour(2), c.grid().palette().color(QPalette::Button));
    QCOMPARE(c.state().headings[2], QStringLiteral("Цена|2 стороны"));
    QVERIFY(c.state().caseSaved);
    c.close();
}

void TestEditor::firstAllocationHasNoTitleButton() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    sendKey(&c.grid(), Qt::Key_S, Qt::AltModifier);
    editor::BandedHeader* header = c.grid().bandedHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(editor::GridFirstAllocation) + 5, 10));
    QVERIFY(c.tp.dialogs.dialogsShown.isEmpty());
    QCOMPARE(c.state().headings[5], QStringLiteral("1_ц1"));
    QVERIFY(c.state().caseSaved);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(editor::GridFirstAllocation + 1) + 5, 10));
    QCOMPARE(c.tp.dialogs.dialogsShown, QStringList{QStringLiteral("OKBottomDlg")});
    c.close();
}

void TestEditor::viewKey_data() {
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("switches");
    QTest::newRow("Alt+S") << int(Qt::AltModifier) << true;
    QTest::newRow("Ctrl+S") << int(Qt::ControlModifier) << false;
    QTest::newRow("Shift+S") << int(Qt::ShiftModifier) << false;
    QTest::newRow("Alt+Shift+S") << int(Qt::AltModifier | Qt::ShiftModifier) << false;
    QTest::newRow("Ctrl+Alt+S") << int(Qt::AltModifier | Qt::ControlModifier) << false;
}

void TestEditor::viewKey() {
    QFETCH(int, modifiers);
    QFETCH(bool, switches);
    ListCase c(fourItems());
    QVERIFY(c.open());
    QVERIFY(listViewShown(c.grid()));
    c.state().caseSaved = false; // a Save would set it
    sendKey(c.grid().openEditor(), Qt::Key_S, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(c.form().isSummaryView(), switches);
    if (switches) {
        for (int col = 0; col < GridColumnCount; ++col)
            QCOMPARE(c.grid().isColumnShown(col), col != editor::GridNotes);
        int total = 0;
        for (int col = 0; col < GridColumnCount; ++col)
            total += c.grid().isColumnShown(col) ? c.grid().columnWidth(col) : 0;
        QCOMPARE(total, c.grid().viewport()->width());
        sendKey(c.grid().openEditor(), Qt::Key_S, Qt::KeyboardModifiers(modifiers));
    }
    QVERIFY(listViewShown(c.grid()));
    QVERIFY(c.tp.dialogs.shown.isEmpty()); // Ctrl+S saves nothing here
    QVERIFY(c.tp.dialogs.fileRequests.isEmpty());
    QVERIFY(!c.state().caseSaved);
    QCOMPARE(c.storedNames().size(), 4);
    c.close();
}

void TestEditor::viewKeptAcrossOpeningsAndCases() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    sendKey(&c.grid(), Qt::Key_S, Qt::AltModifier);
    c.close();
    QVERIFY(c.open());
    QVERIFY(c.form().isSummaryView());
    c.close();
    c.program->formMain().File_CreateClick();
    QVERIFY(c.open());
    QVERIFY(c.form().isSummaryView());
    QCOMPARE(c.model().rowCount(), 0);
    c.close();
}

void TestEditor::contextMenuEnabling() {
    ListCase c({});
    QVERIFY(c.open());
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20), c.grid().viewport()->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(c.grid().viewport(), &event);
    QMenu* menu = c.form().PopupMenu1;
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(menu->findChild<QAction*>(QStringLiteral("N1"))->isEnabled());
    QVERIFY(!menu->findChild<QAction*>(QStringLiteral("N2"))->isEnabled());
    menu->findChild<QAction*>(QStringLiteral("N1"))->trigger();
    menu->close();
    QCOMPARE(c.model().rowCount(), 1);
    QCOMPARE(c.model().headerData(0, Qt::Vertical).toString(), QStringLiteral("*"));
    c.form().updatePositionBox();
    QCOMPARE(c.form().Edit1->text(), QStringLiteral(" нет записей"));
    // An untouched new row is no row to delete: the menu still offers no delete.
    c.form().PopupMenu1Popup();
    QVERIFY(!menu->findChild<QAction*>(QStringLiteral("N2"))->isEnabled());

    c.typeInto(0, editor::GridName, QStringLiteral("Стол"));
    c.form().PopupMenu1Popup();
    QVERIFY(!menu->findChild<QAction*>(QStringLiteral("N2"))->isEnabled()); // not posted yet
    c.click("SpeedButton4");
    c.form().PopupMenu1Popup();
    QVERIFY(menu->findChild<QAction*>(QStringLiteral("N2"))->isEnabled());
    QCOMPARE(c.storedNames(), QStringList{QStringLiteral("Стол")});
    c.tp.dialogs.nextAnswers.push_back(QMessageBox::Ok);
    menu->findChild<QAction*>(QStringLiteral("N2"))->trigger();
    QCOMPARE(c.tp.dialogs.shown.last().text, QStringLiteral("Delete record?"));
    QCOMPARE(c.tp.dialogs.shown.last().buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QVERIFY(c.storedNames().isEmpty());
    c.close();
}

void TestEditor::insertedRowCancelledOrPosted() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    c.grid().setCurrentIndex(c.model().index(1, editor::GridName));
    c.form().N1Click();
    QCOMPARE(c.model().rowCount(), 5);
    QCOMPARE(c.grid().currentIndex().row(), 4);
    QVERIFY(c.grid().openEditor());
    c.grid().setCurrentIndex(c.model().index(0, editor::GridName)); // leaving it untouched cancels it
    QCOMPARE(c.model().rowCount(), 4);
    QCOMPARE(c.storedNames().size(), 4);
    QVERIFY(c.state().caseSaved);

    c.form().N1Click();
    c.typeInto(4, editor::GridName, QStringLiteral("Сарай"));
    sendKey(c.grid().openEditor(), Qt::Key_Tab);
    typeText(c.grid().openEditor(), QStringLiteral("12,5"));
    sendKey(c.grid().openEditor(), Qt::Key_Up);
    QCOMPARE(c.storedNames().last(), QStringLiteral("Сарай"));
    QCOMPARE(c.stored(QStringLiteral("Сарай"), QStringLiteral("Цена 1")).toDouble(), 12.5);
    QCOMPARE(c.footer(editor::GridPrice1), QStringLiteral("1563,25"));
    QVERIFY(!c.state().caseSaved);

    // A new row typed into and then closed with the window is kept.
    c.form().N1Click();
    c.typeInto(5, editor::GridName, QStringLiteral("Баня"));
    sendKey(c.grid().openEditor(), Qt::Key_Escape);
    QCOMPARE(c.storedNames().last(), QStringLiteral("Баня"));
    c.close();
}

void TestEditor::deleteButtonDeletesOnlyCurrentRow() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    QItemSelectionModel* selection = c.grid().selectionModel();
    selection->setCurrentIndex(c.model().index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    selection->select(c.model().index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    selection->select(c.model().index(3, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QCOMPARE(selection->selectedRows().size(), 3);
    c.tp.dialogs.nextAnswers.push_back(QMessageBox::No);
    c.click("SpeedButton3");
    QCOMPARE(c.tp.dialogs.shown.last().caption, QStringLiteral("Вопрос"));
    QCOMPARE(c.tp.dialogs.shown.last().icon, QMessageBox::Question);
    QCOMPARE(c.tp.dialogs.shown.last().text, QStringLiteral("Вы действительно хотите удалить запись из таблицы?"));
    QCOMPARE(c.tp.dialogs.shown.last().buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(c.storedNames().size(), 4);
    c.tp.dialogs.nextAnswers.push_back(QMessageBox::Yes);
    c.click("SpeedButton3");
    QCOMPARE(c.storedNames(), (QStringList{QStringLiteral("Дом"), QStringLiteral("Гараж"), QStringLiteral("Лодка")}));
    QCOMPARE(c.names(), c.storedNames());
    c.close();
}

void TestEditor::ctrlDeleteAsks_data() {
    QTest::addColumn<QList<int>>("selected");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QStringList>("left");
    const QStringList all = {QStringLiteral("Дом"), QStringLiteral("Машина"), QStringLiteral("Гараж"),
                             QStringLiteral("Лодка")};
    QTest::newRow("one, OK") << QList<int>{2} << true << "Delete record?" << QStringList{all[0], all[1], all[3]};
    QTest::newRow("one, Cancel") << QList<int>{2} << false << "Delete record?" << all;
    QTest::newRow("three, OK") << QList<int>{2, 0, 3} << true << "Delete all selected records?" << QStringList{all[1]};
    QTest::newRow("three, Cancel") << QList<int>{2, 0, 3} << false << "Delete all selected records?" << all;
}

void TestEditor::ctrlDeleteAsks() {
    QFETCH(QList<int>, selected);
    QFETCH(bool, confirm);
    QFETCH(QString, question);
    QFETCH(QStringList, left);
    ListCase c(fourItems());
    QVERIFY(c.open());
    QLineEdit* editor = c.editCell(selected.first(), editor::GridName);
    QItemSelectionModel* selection = c.grid().selectionModel();
    for (int row : selected)
        selection->select(c.model().index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    c.tp.dialogs.nextAnswers.push_back(confirm ? QMessageBox::Ok : QMessageBox::Cancel);
    const QString typed = editor->text();
    sendKey(editor, Qt::Key_Delete, Qt::ControlModifier); // not the line edit's "delete word"
    QCOMPARE(c.tp.dialogs.shown.size(), 1);
    QCOMPARE(c.tp.dialogs.shown.last().text, question);
    QCOMPARE(c.tp.dialogs.shown.last().buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(c.storedNames(), left);
    QCOMPARE(c.names(), left);
    if (!confirm)
        QCOMPARE(editor->text(), typed);
    c.close();
}

void TestEditor::emptyListCommandsDoNothing() {
    ListCase c({});
    QVERIFY(c.open());
    c.click("SpeedButton2");
    c.click("SpeedButton3");
    c.click("SpeedButton4");
    c.click("SpeedButton5");
    c.form().N2Click();
    sendKey(&c.grid(), Qt::Key_Delete, Qt::ControlModifier);
    c.form().N1Click(); // a blank new row is no row either
    c.click("SpeedButton2");
    c.click("SpeedButton3");
    sendKey(c.grid().openEditor(), Qt::Key_Delete, Qt::ControlModifier);
    QVERIFY(c.tp.dialogs.shown.isEmpty());
    QVERIFY(c.tp.dialogs.dialogsShown.isEmpty());
    QVERIFY(c.storedNames().isEmpty());
    QVERIFY(c.state().caseSaved);
    c.close();
    QCOMPARE(c.model().rowCount(), 0);
}

void TestEditor::valuationPopupWritesPartyNames() {
    ListCase c(fourItems());
    c.form().setPartyNames(QStringLiteral("Иванов И. И."), QStringLiteral("ООО «Рога & копыта»"));
    QVERIFY(c.open());
    QLineEdit* editor = c.editCell(1, editor::GridValuation);
    QVERIFY(editor);
    auto* dropDown = editor->findChild<QAction*>(QStringLiteral("ValuationDropDown"));
    QVERIFY(dropDown);
    QMenu* popup = c.form().valuationPopup();
    QCOMPARE(popup->objectName(), QStringLiteral("PopupMenu1"));
    dropDown->trigger();
    QTRY_VERIFY(popup->isVisible());
    QStringList captions;
    for (QAction* item : popup->actions())
        captions << item->text();
    QCOMPARE(captions, (QStringList{QStringLiteral("Иванов И. И."), QStringLiteral("ООО «Рога && копыта»"),
                                    QStringLiteral("Риэлтер"), QStringLiteral("Эксперт")}));
    popup->actions().at(0)->trigger();
    popup->close();
    QCOMPARE(c.stored(QStringLiteral("Машина"), QStringLiteral("Оценка")).toString(), QStringLiteral("Иванов И. И."));
    QCOMPARE(c.cell(1, editor::GridValuation), QStringLiteral("Иванов И. И."));
    QCOMPARE(c.grid().openEditor()->text(), QStringLiteral("Иванов И. И."));
    QVERIFY(!c.state().caseSaved);
    popup->actions().at(1)->trigger();
    QCOMPARE(c.stored(QStringLiteral("Машина"), QStringLiteral("Оценка")).toString(),
             QStringLiteral("ООО «Рога & копыта»"));
    c.close();
}

void TestEditor::positionBox() {
    ListCase c(fourItems());
    c.form().updatePositionBox(); // list closed: nothing to write
    QCOMPARE(c.form().Edit1->text(), QString());
    QVERIFY(c.open());
    c.grid().setCurrentIndex(c.model().index(3, 1));
    c.state().totalRecords = 0;
    c.program->formMain().Timer1Timer(); // the tick writes the box
    QCOMPARE(c.form().Edit1->text(), QStringLiteral("Запись: 4 из 4"));
    QCOMPARE(c.state().totalRecords, 4);
    c.grid().setCurrentIndex(c.model().index(1, 1));
    c.form().updatePositionBox();
    QCOMPARE(c.form().Edit1->text(), QStringLiteral("Запись: 2 из 4"));
    c.form().N1Click();
    c.form().updatePositionBox();
    QCOMPARE(c.form().Edit1->text(), QStringLiteral(" нет записей"));
    c.close();
    ListCase empty({});
    QVERIFY(empty.open());
    empty.form().updatePositionBox();
    QCOMPARE(empty.form().Edit1->text(), QStringLiteral(" нет записей"));
    QCOMPARE(empty.state().totalRecords, 0);
    empty.close();
}

void TestEditor::recordDialogLayout() {
    ListCase c(fourItems());
    TFormNewZap& zap = c.program->formNewZap();
    QCOMPARE(zap.size(), QSize(358, 317));
    QCOMPARE(zap.minimumSize(), zap.maximumSize());
    QCOMPARE(zap.Edit_Naim->maxLength(), layout::NameLength);
    QCOMPARE(zap.Edit_Zam->maxLength(), layout::LongTextLength);
    QStringList entries;
    for (int i = 0; i < zap.ComboBox_Oc->count(); ++i)
        entries << zap.ComboBox_Oc->itemText(i);
    // Start-up has named the parties of the case: natural persons with empty names.
    QCOMPARE(entries, (QStringList{QStringLiteral(" . ."), QStringLiteral(" . ."), QStringLiteral("Риэлтер"),
                                   QStringLiteral("Эксперт")}));
    zap.setPartyNames(QStringLiteral("Петров"), QStringLiteral("Сидорова"));
    QCOMPARE(zap.ComboBox_Oc->itemText(0), QStringLiteral("Петров"));
    QCOMPARE(zap.ComboBox_Oc->itemText(1), QStringLiteral("Сидорова"));
    QVERIFY(zap.ComboBox_Oc->isEditable());
    for (QPushButton* button : {zap.Button1, zap.Button2, zap.Button3})
        QVERIFY(!button->isDefault() && !button->autoDefault());

    zap.show();
    QVERIFY(QTest::qWaitForWindowActive(&zap));
    zap.Edit_Naim->setFocus();
    QList<QWidget*> order{zap.Edit_Naim};
    for (int i = 0; i < 8; ++i) {
        sendKey(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        order << (focus == zap.ComboBox_Oc->lineEdit() ? zap.ComboBox_Oc : focus);
    }
    QCOMPARE(order, (QList<QWidget*>{zap.Edit_Naim, zap.Edit_Zam, zap.Button1, zap.Button2, zap.Edit_C1, zap.Edit_C2,
                                     zap.Edit_CS, zap.ComboBox_Oc, zap.Button3}));
    zap.hide();
}

void TestEditor::addFromListWindow() {
    ListCase c(fourItems());
    c.state().currencySuffix = QStringLiteral("ЕВРО");
    QVERIFY(c.open());
    c.state().caseSaved = true;
    editor::ItemFields prepared;
    QString caption;
    QStringList currency;
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        auto& zap = static_cast<TFormNewZap&>(dialog);
        prepared = zap.fields();
        caption = zap.windowTitle();
        currency = {zap.Lab1->text(), zap.Lab2->text(), zap.Lab3->text()};
        zap.Edit_Naim->setText(QStringLiteral("Дача"));
        zap.Button1->click();
        return zap.result();
    });
    c.click("SpeedButton1");
    QCOMPARE(caption, QStringLiteral("Введите новую запись"));
    QCOMPARE(prepared, (editor::ItemFields{QString(), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                                           QStringLiteral("Эксперт"), QString()}));
    QCOMPARE(currency, (QStringList{QStringLiteral("ЕВРО"), QStringLiteral("ЕВРО"), QStringLiteral("ЕВРО")}));
    QCOMPARE(c.storedNames().last(), QStringLiteral("Дача"));
    for (const char* price : {"Цена 1", "Цена 2", "Согласованная цена"})
        QCOMPARE(c.stored(QStringLiteral("Дача"), QString::fromUtf8(price)), QVariant(0.0));
    QCOMPARE(c.stored(QStringLiteral("Дача"), QStringLiteral("Оценка")).toString(), QStringLiteral("Эксперт"));
    QCOMPARE(c.stored(QStringLiteral("Дача"), QStringLiteral("Заметки")).toString(), QString());
    QVERIFY(c.stored(QStringLiteral("Дача"), QStringLiteral("1_ц1")).isNull());
    QVERIFY(c.stored(QStringLiteral("Дача"), QStringLiteral("2_ц1")).isNull());
    QCOMPARE(c.grid().currentIndex().row(), 4); // the grid shows the row at once
    QCOMPARE(c.cell(4, editor::GridName), QStringLiteral("Дача"));
    QVERIFY(!c.state().caseSaved);

    // The currency labels follow a later change of currency.
    c.state().currencySuffix = QStringLiteral("грн.");
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        currency = {static_cast<TFormNewZap&>(dialog).Lab3->text()};
        return int(QDialog::Rejected);
    });
    c.click("SpeedButton1");
    QCOMPARE(currency, QStringList{QStringLiteral("грн.")});
    QCOMPARE(c.storedNames().size(), 5);
    c.close();
}

void TestEditor::editCurrentRow() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    c.grid().setCurrentIndex(c.model().index(0, editor::GridPrice1));
    editor::ItemFields shown;
    QString caption;
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        auto& zap = static_cast<TFormNewZap&>(dialog);
        shown = zap.fields();
        caption = zap.windowTitle();
        zap.Edit_C2->setText(QStringLiteral("950,5"));
        zap.Edit_Zam->setText(QStringLiteral("два этажа"));
        zap.Button1->click();
        return zap.result();
    });
    c.click("SpeedButton2");
    QCOMPARE(caption, QStringLiteral("Редактирование записи"));
    QCOMPARE(shown, (editor::ItemFields{QStringLiteral("Дом"), QStringLiteral("1000,5"), QStringLiteral("900"),
                                        QStringLiteral("950"), QString(), QString()}));
    QCOMPARE(c.stored(QStringLiteral("Дом"), QStringLiteral("Цена 2")).toDouble(), 950.5);
    QCOMPARE(c.stored(QStringLiteral("Дом"), QStringLiteral("Цена 1")).toDouble(), 1000.5);
    QCOMPARE(c.stored(QStringLiteral("Дом"), QStringLiteral("Заметки")).toString(), QStringLiteral("два этажа"));
    QCOMPARE(c.stored(QStringLiteral("Дом"), QStringLiteral("1_ц1")).toLongLong(), 0); // no allocation written
    QCOMPARE(c.footer(editor::GridPrice2), QStringLiteral("1490,50"));
    QCOMPARE(c.cell(0, editor::GridNotes), QStringLiteral("два этажа"));
    QCOMPARE(c.storedNames().size(), 4);
    c.close();
}

void TestEditor::emptyNameAsksAgain() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    editor::ItemFields second;
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        auto& zap = static_cast<TFormNewZap&>(dialog);
        zap.Edit_C1->setText(QStringLiteral("12"));
        zap.Edit_Zam->setText(QStringLiteral("без имени"));
        zap.Button1->click();
        return zap.result();
    });
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        second = static_cast<TFormNewZap&>(dialog).fields();
        return int(QDialog::Rejected);
    });
    c.click("SpeedButton1");
    QCOMPARE(c.tp.dialogs.shown.size(), 1);
    QCOMPARE(c.tp.dialogs.shown.first().text, QStringLiteral("Введите наименование имущества"));
    QCOMPARE(c.tp.dialogs.shown.first().icon, QMessageBox::Warning);
    QCOMPARE(second, (editor::ItemFields{QString(), QStringLiteral("12"), QStringLiteral("0"), QStringLiteral("0"),
                                         QStringLiteral("Эксперт"), QStringLiteral("без имени")}));
    QCOMPARE(c.tp.dialogs.dialogsShown.size(), 2);
    QCOMPARE(c.storedNames().size(), 4);
    QVERIFY(c.state().caseSaved);
    c.close();
}

void TestEditor::cancelAndCloseBoxDiscard() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    for (const char* how : {"Отмена", "close box"}) {
        c.tp.dialogs.nextDialogs.push_back([how](QDialog& dialog) {
            auto& zap = static_cast<TFormNewZap&>(dialog);
            zap.show();
            zap.Edit_Naim->setText(QStringLiteral("Дача"));
            if (how == std::string_view("close box"))
                zap.close();
            else
                zap.Button2->click();
            return zap.result();
        });
        c.click("SpeedButton1");
    }
    QCOMPARE(c.tp.dialogs.dialogsShown.size(), 2);
    QVERIFY(c.tp.dialogs.shown.isEmpty());
    QCOMPARE(c.storedNames().size(), 4);
    QVERIFY(c.state().caseSaved);
    c.close();
}

void TestEditor::clearingNameOnEditChangesNothing() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    c.grid().setCurrentIndex(c.model().index(2, 0));
    c.tp.dialogs.nextDialogs.push_back([](QDialog& dialog) {
        auto& zap = static_cast<TFormNewZap&>(dialog);
        zap.Edit_Naim->clear();
        zap.Edit_C1->setText(QStringLiteral("1"));
        zap.Button1->click();
        return zap.result();
    });
    c.click("SpeedButton2"); // no second answer queued: the dialog comes back and is closed
    QCOMPARE(c.tp.dialogs.shown.size(), 1);
    QCOMPARE(c.tp.dialogs.shown.first().text, QStringLiteral("Введите наименование имущества"));
    QCOMPARE(c.stored(QStringLiteral("Гараж"), QStringLiteral("Цена 1")).toDouble(), 200.0);
    QCOMPARE(c.cell(2, editor::GridName), QStringLiteral("Гараж"));
    QVERIFY(c.state().caseSaved);
    c.close();
}

void TestEditor::badPriceKeepsTypedValues() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    editor::ItemFields second;
    c.tp.dialogs.nextDialogs.push_back([](QDialog& dialog) {
        auto& zap = static_cast<TFormNewZap&>(dialog);
        zap.Edit_Naim->setText(QStringLiteral("Дача"));
        zap.Edit_C2->setText(QStringLiteral("дорого"));
        zap.ComboBox_Oc->setEditText(QStringLiteral("оценщик"));
        zap.Edit_Zam->setText(QStringLiteral("у реки"));
        zap.Button1->click();
        return zap.result();
    });
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        auto& zap = static_cast<TFormNewZap&>(dialog);
        second = zap.fields();
        zap.Edit_C2->setText(QStringLiteral("5,5"));
        zap.Button1->click();
        return zap.result();
    });
    c.click("SpeedButton1");
    QCOMPARE(c.tp.dialogs.shown.size(), 1);
    QCOMPARE(
        c.tp.dialogs.shown.first().text,
        QStringLiteral("В поле «Вторая сторона» должно быть число (не больше 10^15 по модулю), а введено «дорого»."));
    QCOMPARE(second, (editor::ItemFields{QStringLiteral("Дача"), QStringLiteral("0"), QStringLiteral("дорого"),
                                         QStringLiteral("0"), QStringLiteral("оценщик"), QStringLiteral("у реки")}));
    QCOMPARE(c.storedNames().size(), 5); // only the corrected entry, once
    QCOMPARE(c.stored(QStringLiteral("Дача"), QStringLiteral("Цена 2")).toDouble(), 5.5);
    QCOMPARE(c.model().rowCount(), 5);
    c.close();
}

void TestEditor::typedValuationStoredAsTyped() {
    ListCase c(fourItems());
    c.program->formNewZap().setPartyNames(QStringLiteral("Петров П. П."), QStringLiteral("Сидорова С. С."));
    QVERIFY(c.open());
    for (const QString& valuation : {QStringLiteral("Петров П. П."), QStringLiteral("  соседи  ")}) {
        c.tp.dialogs.nextDialogs.push_back([valuation](QDialog& dialog) {
            auto& zap = static_cast<TFormNewZap&>(dialog);
            zap.Edit_Naim->setText(QStringLiteral("Вещь ") + valuation.trimmed());
            if (valuation == zap.ComboBox_Oc->itemText(0))
                zap.ComboBox_Oc->setCurrentIndex(0);
            else
                zap.ComboBox_Oc->setEditText(valuation);
            zap.Button1->click();
            return zap.result();
        });
        c.click("SpeedButton1");
        QCOMPARE(c.stored(QStringLiteral("Вещь ") + valuation.trimmed(), QStringLiteral("Оценка")).toString(),
                 valuation);
    }
    c.close();
}

void TestEditor::enterAndEscapeDoNotClose() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    bool visibleAfterKeys = false;
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        auto& zap = static_cast<TFormNewZap&>(dialog);
        zap.setResult(-1);
        zap.show();
        zap.activateWindow();
        if (!QTest::qWaitForWindowActive(&zap))
            return int(QDialog::Rejected);
        zap.Edit_Naim->setText(QStringLiteral("Дача"));
        for (QWidget* at : {static_cast<QWidget*>(zap.Edit_Naim), static_cast<QWidget*>(zap.Button1),
                            static_cast<QWidget*>(zap.ComboBox_Oc->lineEdit())}) {
            at->setFocus();
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                sendKey(at, key);
        }
        visibleAfterKeys = zap.isVisible() && zap.result() == -1;
        zap.close();
        return zap.result();
    });
    c.click("SpeedButton1");
    QVERIFY(visibleAfterKeys);
    QCOMPARE(c.storedNames().size(), 4);
    c.close();
}

void TestEditor::helpKeepsValues() {
    ListCase c(fourItems());
    QVERIFY(c.open());
    editor::ItemFields afterHelp;
    c.tp.dialogs.nextDialogs.push_back([&](QDialog& dialog) {
        auto& zap = static_cast<TFormNewZap&>(dialog);
        zap.Edit_Naim->setText(QStringLiteral("Дача"));
        zap.Edit_C1->setText(QStringLiteral("7"));
        zap.Button3->click();
        afterHelp = zap.fields();
        return int(QDialog::Rejected);
    });
    c.click("SpeedButton1");
    QCOMPARE(c.tp.desktop.opened, QList<QUrl>{QUrl::fromLocalFile(c.tp.appDir() + QStringLiteral("/help/780.html"))});
    QCOMPARE(afterHelp.name, QStringLiteral("Дача"));
    QCOMPARE(afterHelp.price1, QStringLiteral("7"));
    c.close();
}

void TestEditor::addFromMainWindow() {
    ListCase c(fourItems());
    TFormMain& main = c.program->formMain();
    QAction* menuItem = main.action(QStringLiteral("Edit_NewItem"));
    QVERIFY(menuItem->isEnabled());
    QVERIFY(main.action(QStringLiteral("SB_NewAction"))->isEnabled());
    for (const QString& name : {QStringLiteral("Дача"), QStringLiteral("Яхта")}) {
        c.tp.dialogs.nextDialogs.push_back([name](QDialog& dialog) {
            auto& zap = static_cast<TFormNewZap&>(dialog);
            zap.Edit_Naim->setText(name);
            zap.Edit_CS->setText(QString());
            zap.Button1->click();
            return zap.result();
        });
    }
    menuItem->trigger();
    main.toolButton(QStringLiteral("SB_New"))->click();
    QCOMPARE(c.storedNames(), (QStringList{QStringLiteral("Дом"), QStringLiteral("Машина"), QStringLiteral("Гараж"),
                                           QStringLiteral("Лодка"), QStringLiteral("Дача"), QStringLiteral("Яхта")}));
    QVERIFY(c.stored(QStringLiteral("Яхта"), QStringLiteral("Согласованная цена")).isNull());
    QVERIFY(!c.program->dataModule().ADODataSet1().isOpen());
    QCOMPARE(c.state().totalRecords, 6);
    QStringList undistributed; // the board was reloaded after each
    for (const auto& item : main.boardItems(0))
        undistributed << item.name;
    QVERIFY2(undistributed.contains(QStringLiteral("Дача")) && undistributed.contains(QStringLiteral("Яхта")),
             qPrintable(undistributed.join(u',')));
    QVERIFY(!c.state().caseSaved);
}

QTEST_MAIN(TestEditor)
#include "tst_editor.moc"
