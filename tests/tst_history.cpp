// Undo and redo of every kind of change through the program's windows, the saved step
// and the close query, and recovery after a program was killed.
#include "support/BoardCase.h"
#include "support/TestProgram.h"
#include "support/Values.h"

#include "board/BoardColumnModel.h"
#include "board/BoardListView.h"
#include "editor/DBGridEh3.h"
#include "editor/GridColumns.h"
#include "editor/PropertyListModel.h"
#include "editor/TFormPT.h"
#include "settings/TFormVariant.h"
#include "shell/CaseFiles.h"
#include "shell/TFormMain.h"
#include "split/SplitStore.h"
#include "store/CaseWriter.h"
#include "store/Database.h"
#include "store/Layout.h"
#include "store/TDataModule1.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

using namespace ravnobor;
using board::BoardListView;
using test::d;
using test::i;
using test::ItemRow;
using test::Null;

namespace {

// Every stored value of both tables, with its type: what an undo must give back exactly.
using Snapshot = QList<QStringList>;

Snapshot snapshot(store::Database& db) {
    Snapshot rows;
    for (const QString& table : {layout::PropertyTable, layout::SettingsTable}) {
        store::Statement select =
            db.prepare(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(store::quoteIdentifier(table)));
        while (select.step()) {
            QStringList row{table};
            for (int c = 0; c < select.columnCount(); ++c)
                row << QStringLiteral("%1:%2").arg(int(select.type(c))).arg(select.value(c).toString());
            rows << row;
        }
    }
    return rows;
}

QList<ItemRow> threeItems() {
    return {{QStringLiteral("Дом"), d(100), d(90), Null, Null, i(-1)},
            {QStringLiteral("Машина"), d(30.5), Null, d(31), i(5), Null},
            {QStringLiteral("Гараж"), d(20), d(25), Null, i(-1), i(1)}};
}

struct Fixture : test::BoardCase {
    explicit Fixture(const QList<ItemRow>& rows = threeItems()) : BoardCase(rows) {}
    AppState& state() { return program().state; }
    store::CaseWriter& writer() { return program().dataModule().writer(); }
    store::Database& db() { return program().dataModule().connection(); }
    QAction* action(const char* name) { return form().action(QString::fromLatin1(name)); }
    void select(const char* listName, int row) { BoardCase::select(list(listName), row); }
    QStringList names(const char* listName) { return BoardCase::names(list(listName)); }
    // Runs `work` inside the property list window, shown as the user sees it.
    void inListWindow(const std::function<void(TFormPT&)>& work) {
        tp.dialogs.nextDialogs.push_back([work](QDialog& dialog) {
            auto& window = static_cast<TFormPT&>(dialog);
            window.show();
            QApplication::setActiveWindow(&window);
            work(window);
            window.close();
            return int(QDialog::Accepted);
        });
        trigger("Serv_SI");
    }
};

enum StepKind { Move, Gather, CellEdit, AddItem, DeleteRows, Parties, Split, Heading };

// Makes one change of each kind the way the program makes it.
void makeStep(Fixture& f, StepKind kind) {
    auto& list = f.program().dataModule().ADODataSet1();
    switch (kind) {
    case Move:
        f.select("ListView1", 0); // Дом
        f.trigger("SpeedButton1Action");
        break;
    case Gather:
        f.trigger("SpeedButton4Action");
        break;
    case CellEdit:
        f.inListWindow([](TFormPT& window) {
            QVERIFY(window.listModel().setData(window.listModel().index(1, editor::GridName), QStringLiteral("Лодка")));
        });
        break;
    case AddItem:
        list.open();
        list.insert();
        list.setFieldByName(QStringLiteral("Наименование"), QStringLiteral("Сейф"));
        list.setFieldByName(QStringLiteral("Цена 1"), 7);
        list.post();
        list.close();
        break;
    case DeleteRows:
        f.tp.dialogs.nextAnswers.push_back(QMessageBox::Ok); // "Delete all selected records?"
        f.inListWindow([](TFormPT& window) {
            window.DBGridEh3->selectionModel()->select(window.listModel().index(0, 0),
                                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
            window.DBGridEh3->selectionModel()->select(window.listModel().index(1, 0),
                                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
            window.deleteSelectedRows();
        });
        break;
    case Parties: {
        auto& settings = f.program().dataModule().ADODataSet2();
        settings.open();
        settings.setFieldByName(layout::Surname1, QStringLiteral("Иванов"));
        settings.post();
        settings.close();
        break;
    }
    case Split: {
        auto items = split::loadSplitItems(f.db(), 0, 0);
        split::SplitPlan plan;
        for (const auto& item : items)
            plan.allocation.push_back(item.allocation == 1 ? -1 : 1);
        split::applySplitPlan(f.writer(), 0, items, plan);
        break;
    }
    case Heading:
        f.writer().updateSettings(
            {{f.writer().columnName(store::CaseTable::Settings, layout::FirstHeading), QStringLiteral("Вещь")}},
            QStringLiteral("заголовок"));
        break;
    }
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }

    void everyStepUndoneAndRedoneExactly_data();
    void everyStepUndoneAndRedoneExactly();
    void emptyHistoryAndLongNames();
    void savedStepAndCloseQuery_data();
    void savedStepAndCloseQuery();
    void newStepDropsTheUndoneOnes();
    void undoOfOtherVariantShowsIt();
    void failedWriteIsNoStep();
    void loadClearsHistorySaveKeepsIt();
    void undoKeysInTheListWindow();

    void recordFollowsTheSavedState();
    void recoveryAfterKill_data();
    void recoveryAfterKill();
    void recoveryOfNeverSavedAndVanishedCases();
    void brokenRecoveredCopyIsRefused();
    void liveProgramIsNotOffered();
};

void TestHistory::everyStepUndoneAndRedoneExactly_data() {
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("move") << int(Move) << QStringLiteral("перенос «Дом»");
    QTest::newRow("gather: 5 and empty come back") << int(Gather) << QStringLiteral("собрать");
    QTest::newRow("cell edit") << int(CellEdit) << QStringLiteral("изменение «Машина»");
    QTest::newRow("new item") << int(AddItem) << QStringLiteral("новое имущество «Сейф»");
    QTest::newRow("deletion of two rows") << int(DeleteRows) << QStringLiteral("удаление (2)");
    QTest::newRow("parties") << int(Parties) << QStringLiteral("исходные данные");
    QTest::newRow("suggested division") << int(Split) << QStringLiteral("предложенный раздел");
    QTest::newRow("heading") << int(Heading) << QStringLiteral("заголовок");
}

void TestHistory::everyStepUndoneAndRedoneExactly() {
    QFETCH(int, kind);
    QFETCH(QString, name);
    Fixture f;
    const Snapshot before = snapshot(f.db());
    const QStringList boardBefore = f.names("ListView1") + f.names("ListView2") + f.names("ListView3");
    makeStep(f, StepKind(kind));
    const Snapshot after = snapshot(f.db());
    QVERIFY(after != before);
    QVERIFY(!f.state().caseSaved);
    QCOMPARE(f.action("Edit_Undo")->text(), QStringLiteral("Отменить: ") + name);
    QCOMPARE(f.writer().stepCount(), 1);

    f.trigger("Edit_Undo");
    QCOMPARE(snapshot(f.db()), before);
    QVERIFY(f.state().caseSaved);
    QCOMPARE(f.action("Edit_Redo")->text(), QStringLiteral("Повторить: ") + name);
    QVERIFY(!f.action("Edit_Undo")->isEnabled());
    QCOMPARE(f.state().totalRecords, 3);
    QStringList board = f.names("ListView1") + f.names("ListView2") + f.names("ListView3");
    std::sort(board.begin(), board.end());
    QStringList expected = boardBefore;
    std::sort(expected.begin(), expected.end());
    QCOMPARE(board, expected);

    f.trigger("Edit_Redo");
    QCOMPARE(snapshot(f.db()), after);
    QVERIFY(!f.state().caseSaved);
    QCOMPARE(f.action("Edit_Undo")->text(), QStringLiteral("Отменить: ") + name);
}

void TestHistory::emptyHistoryAndLongNames() {
    const QString longName = QString(45, u'Щ');
    Fixture f({{longName, d(1), Null, Null, Null, Null}});
    QAction* undo = f.action("Edit_Undo");
    QAction* redo = f.action("Edit_Redo");
    QCOMPARE(undo->text(), QStringLiteral("Отменить"));
    QCOMPARE(redo->text(), QStringLiteral("Повторить"));
    QVERIFY(!undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    QCOMPARE(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    QCOMPARE(redo->shortcuts(),
             (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    // In the menu "Правка": undo, redo, a separator, then the new item and the shares.
    const QList<QAction*> entries = f.form().findChild<QMenu*>(QStringLiteral("MenuEdit"))->actions();
    QCOMPARE(entries.size(), 5);
    QCOMPARE(entries[0], undo);
    QCOMPARE(entries[1], redo);
    QVERIFY(entries[2]->isSeparator());
    QCOMPARE(entries[3]->objectName(), QStringLiteral("Edit_NewItem"));
    QCOMPARE(entries[4]->objectName(), QStringLiteral("Edit_ShareItem"));

    f.select("ListView1", 0);
    f.trigger("SpeedButton3Action");
    QCOMPARE(undo->text(), QStringLiteral("Отменить: перенос «") + QString(40, u'Щ') + QStringLiteral("…»"));
}

void TestHistory::savedStepAndCloseQuery_data() {
    QTest::addColumn<bool>("saveFirst");
    QTest::newRow("move, undo, close") << false;
    QTest::newRow("save, move, undo, close") << true;
}

void TestHistory::savedStepAndCloseQuery() {
    QFETCH(bool, saveFirst);
    Fixture f;
    if (saveFirst) {
        f.select("ListView1", 0);
        f.trigger("SpeedButton1Action");
        f.trigger("File_Save");
        QVERIFY(f.state().caseSaved);
    }
    f.select("ListView2", 0);
    f.trigger("SpeedButton3Action");
    QVERIFY(!f.state().caseSaved);
    f.trigger("Edit_Undo");
    QVERIFY(f.state().caseSaved);
    QVERIFY(f.form().close());
    QVERIFY(f.tp.dialogs.shown.isEmpty()); // no "Сохранить файл?"
    // A step away from the saved one again asks.
    f.form().show();
    f.trigger("Edit_Redo");
    QVERIFY(!f.state().caseSaved);
    f.tp.dialogs.nextAnswers.push_back(QMessageBox::Cancel);
    QVERIFY(!f.form().close());
    QCOMPARE(f.tp.dialogs.shown.size(), 1);
    QCOMPARE(f.tp.dialogs.shown[0].text, QStringLiteral("Сохранить файл?"));
    if (saveFirst) {
        // Before the save: the saved step is behind, the case is not saved there.
        f.trigger("Edit_Undo");
        f.trigger("Edit_Undo");
        QVERIFY(!f.state().caseSaved);
    }
}

void TestHistory::newStepDropsTheUndoneOnes() {
    Fixture f;
    f.select("ListView1", 0);
    f.trigger("SpeedButton1Action");
    f.trigger("File_Save");
    f.trigger("Edit_Undo"); // before the save
    QVERIFY(!f.state().caseSaved);
    f.select("ListView2", 0);
    f.trigger("SpeedButton3Action"); // the saved step is gone with the redo part
    QVERIFY(!f.action("Edit_Redo")->isEnabled());
    QCOMPARE(f.writer().stepCount(), 1);
    f.trigger("Edit_Undo");
    QVERIFY(!f.state().caseSaved);
}

void TestHistory::undoOfOtherVariantShowsIt() {
    Fixture f;
    f.select("ListView1", 0); // Дом, undistributed in variant 1
    f.trigger("SpeedButton1Action");
    QCOMPARE(f.stored(1, "1_ц1"), i(1));
    f.program().formVariant().selectVariant(1);
    QCOMPARE(f.state().divisionVariant, 1);
    QCOMPARE(f.names("ListView3"), QStringList{QStringLiteral("Дом")});
    f.trigger("Edit_Undo");
    QCOMPARE(f.state().divisionVariant, 0);
    QCOMPARE(f.stored(1, "1_ц1"), Null);
    QCOMPARE(f.names("ListView1"), QStringList{QStringLiteral("Дом")});
    QCOMPARE(f.names("ListView2"), QStringList{QStringLiteral("Машина")});
}

void TestHistory::failedWriteIsNoStep() {
    Fixture f;
    // The row goes behind the board's back, so the move's write fails.
    f.db().execute(QStringLiteral("DELETE FROM \"Таблица\" WHERE \"Код\" = 1"));
    const Snapshot before = snapshot(f.db());
    f.select("ListView1", 0);
    f.trigger("SpeedButton1Action");
    QCOMPARE(f.tp.dialogs.shown.size(), 1);
    QCOMPARE(f.tp.dialogs.shown[0].text, QStringLiteral("Имущество «Дом» не найдено в списке имущества."));
    QCOMPARE(snapshot(f.db()), before);
    QCOMPARE(f.writer().stepCount(), 0);
    QVERIFY(!f.action("Edit_Undo")->isEnabled());
    QVERIFY(f.state().caseSaved);
    QCOMPARE(f.names("ListView1"), QStringList{QStringLiteral("Дом")});
}

void TestHistory::loadClearsHistorySaveKeepsIt() {
    Fixture f;
    f.select("ListView1", 0);
    f.trigger("SpeedButton1Action");
    f.trigger("File_Save");
    QVERIFY(f.action("Edit_Undo")->isEnabled());
    f.trigger("Edit_Undo");
    f.tp.dialogs.nextAnswers.push_back(QMessageBox::No); // "Сохранить файл?"
    f.trigger("File_Create");
    QVERIFY(!f.action("Edit_Undo")->isEnabled());
    QVERIFY(!f.action("Edit_Redo")->isEnabled());
    QCOMPARE(f.writer().stepCount(), 0);
    f.tp.dialogs.nextFileNames.push_back(f.path);
    f.trigger("File_Open");
    QCOMPARE(f.writer().stepCount(), 0);
    QCOMPARE(f.stored(1, "1_ц1"), i(1)); // as saved
}

void TestHistory::undoKeysInTheListWindow() {
    Fixture f;
    QString shownAfterUndo;
    QString editorTextAfterUndo;
    f.inListWindow([&](TFormPT& window) {
        auto& model = window.listModel();
        QVERIFY(model.setData(model.index(0, editor::GridName), QStringLiteral("Дача")));
        window.DBGridEh3->setFocus();
        QTest::keyClick(window.DBGridEh3, Qt::Key_Z, Qt::ControlModifier);
        shownAfterUndo = model.index(0, editor::GridName).data().toString();
        QTest::keyClick(window.DBGridEh3, Qt::Key_Y, Qt::ControlModifier);
        // An open cell editor undoes its own typing first.
        window.DBGridEh3->setCurrentIndex(model.index(1, editor::GridName));
        window.DBGridEh3->ensureEditor();
        QLineEdit* cell = window.DBGridEh3->openEditor();
        QVERIFY(cell);
        QTest::keyClicks(cell, QStringLiteral("X"));
        QTest::keyClick(cell, Qt::Key_Z, Qt::ControlModifier);
        editorTextAfterUndo = cell->text();
    });
    QCOMPARE(shownAfterUndo, QStringLiteral("Дом"));
    QCOMPARE(editorTextAfterUndo, QStringLiteral("Машина"));
    QCOMPARE(f.stored(1, "Наименование"), QVariant(QStringLiteral("Дача")));
    QCOMPARE(f.action("Edit_Undo")->text(), QStringLiteral("Отменить: изменение «Дом»"));
}

void TestHistory::recordFollowsTheSavedState() {
    Fixture f;
    const QString record = f.state().workingCopyPath + QStringLiteral(".state");
    QCOMPARE(casefiles::readRecoveryRecord(record)->unsaved, false);
    QCOMPARE(casefiles::readRecoveryRecord(record)->caseFile, f.path);
    f.select("ListView1", 0);
    f.trigger("SpeedButton1Action");
    QCOMPARE(casefiles::readRecoveryRecord(record)->unsaved, true);
    f.trigger("Edit_Undo");
    QCOMPARE(casefiles::readRecoveryRecord(record)->unsaved, false);
    f.trigger("Edit_Redo");
    f.trigger("File_Save");
    QCOMPARE(casefiles::readRecoveryRecord(record)->unsaved, false);
    // A program that ends on its own leaves nothing to offer.
    test::TestProgram other;
    ScriptedUserDialogs dialogs;
    RecordingDesktopOpener desktop;
    auto own = createProgram(ProgramPaths{other.appDir(), other.documentsRoot(), other.path(QStringLiteral("data"))},
                             dialogs, desktop);
    own->startUp({});
    own->dataModule().writer().insert(store::CaseTable::Property,
                                      {{QStringLiteral("Наименование"), QStringLiteral("Сейф")}});
    const QString ownRecord = own->state.workingCopyPath + QStringLiteral(".state");
    QVERIFY(casefiles::readRecoveryRecord(ownRecord)->unsaved);
    own.reset();
    QVERIFY(!QFile::exists(ownRecord));
}

void TestHistory::recoveryAfterKill_data() {
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("commandLine");
    QTest::newRow("yes") << true << false;
    QTest::newRow("no") << false << false;
    QTest::newRow("yes, a case on the command line") << true << true;
    QTest::newRow("no, a case on the command line") << false << true;
}

// What a killed program leaves: its working copy and its record, and no live lock.
static void leaveAsKilled(Fixture& killed, test::TestProgram& next) {
    const QString copy = killed.state().workingCopyPath;
    QVERIFY(QFile::copy(copy, next.appDir() + QStringLiteral("/temp.rvb")));
    QVERIFY(QFile::copy(copy + QStringLiteral(".state"), next.appDir() + QStringLiteral("/temp.rvb.state")));
}

void TestHistory::recoveryAfterKill() {
    QFETCH(bool, yes);
    QFETCH(bool, commandLine);
    Fixture killed;
    killed.select("ListView1", 0);
    killed.trigger("SpeedButton1Action");
    killed.select("ListView2", 0);
    killed.trigger("SpeedButton3Action");

    test::TestProgram next;
    leaveAsKilled(killed, next);
    const QString other = next.path(QStringLiteral("Другое.rvb"));
    test::makeCase(other, {{QStringLiteral("Лодка"), d(1), Null, Null, Null, Null}});
    next.dialogs.nextAnswers.push_back(yes ? QMessageBox::Yes : QMessageBox::No);
    Program& p = next.start(commandLine ? QStringList{other} : QStringList{});
    QCOMPARE(next.dialogs.shown.size(), 1);
    QCOMPARE(next.dialogs.shown[0].caption, QStringLiteral("Вопрос"));
    QCOMPARE(next.dialogs.shown[0].icon, QMessageBox::Question);
    QCOMPARE(next.dialogs.shown[0].buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(
        next.dialogs.shown[0].text,
        QStringLiteral("Программа была завершена аварийно. Восстановить несохранённые изменения дела «Дело.rvb»?"));
    store::Statement s = p.dataModule().connection().prepare(QStringLiteral(
        "SELECT group_concat(\"Наименование\" || ':' || ifnull(\"1_ц1\", 'пусто'), ' ') FROM \"Таблица\""));
    QVERIFY(s.step());
    if (yes) {
        QCOMPARE(p.state.caseFileName, killed.path);
        QVERIFY(!p.state.caseSaved);
        QCOMPARE(s.text(0), QStringLiteral("Дом:1 Машина:-1 Гараж:-1"));
        QVERIFY(!p.formMain().action(QStringLiteral("Edit_Undo"))->isEnabled());
        p.formMain().Timer1Timer();
        QVERIFY(p.formMain().windowTitle().startsWith(QStringLiteral("Равнобор - Дело.rvb")));
        // Undo cannot reach a saved state that this history never had.
        QCOMPARE(p.dataModule().writer().isClean(), false);
    } else if (commandLine) {
        QCOMPARE(p.state.caseFileName, other);
        QCOMPARE(s.text(0), QStringLiteral("Лодка:пусто"));
    } else {
        QCOMPARE(p.state.caseFileName, p.paths.templatePath());
        QVERIFY(p.state.caseSaved);
        QCOMPARE(p.state.totalRecords, 0);
    }
}

void TestHistory::recoveryOfNeverSavedAndVanishedCases() {
    // A case never saved: recovered as never saved.
    {
        test::TestProgram first;
        Program& p = first.start();
        p.dataModule().writer().insert(store::CaseTable::Property,
                                       {{QStringLiteral("Наименование"), QStringLiteral("Сейф")}});
        test::TestProgram next;
        QVERIFY(QFile::copy(p.state.workingCopyPath, next.appDir() + QStringLiteral("/temp.rvb")));
        QVERIFY(QFile::copy(p.state.workingCopyPath + QStringLiteral(".state"),
                            next.appDir() + QStringLiteral("/temp.rvb.state")));
        next.dialogs.nextAnswers.push_back(QMessageBox::Yes);
        Program& recovered = next.start();
        QCOMPARE(
            next.dialogs.shown[0].text,
            QStringLiteral("Программа была завершена аварийно. Восстановить несохранённые изменения нового дела?"));
        QCOMPARE(recovered.state.caseFileName, recovered.paths.templatePath());
        QCOMPARE(recovered.state.totalRecords, 1);
        QVERIFY(!recovered.state.caseSaved);
    }
    // The case file has gone since: the changes come back under its name, and Save writes it anew.
    Fixture killed;
    killed.select("ListView1", 0);
    killed.trigger("SpeedButton1Action");
    test::TestProgram next;
    leaveAsKilled(killed, next);
    QVERIFY(QFile::remove(killed.path));
    next.dialogs.nextAnswers.push_back(QMessageBox::Yes);
    Program& p = next.start();
    QCOMPARE(p.state.caseFileName, killed.path);
    p.formMain().action(QStringLiteral("File_Save"))->trigger();
    QVERIFY(p.state.caseSaved);
    QVERIFY(QFile::exists(killed.path));
}

void TestHistory::brokenRecoveredCopyIsRefused() {
    test::TestProgram next;
    QFile junk(next.appDir() + QStringLiteral("/temp.rvb"));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    QFile record(next.appDir() + QStringLiteral("/temp.rvb.state"));
    QVERIFY(record.open(QIODevice::WriteOnly));
    record.write("unsaved=1\ncase=/нет/Дело.rvb\n");
    record.close();
    next.dialogs.nextAnswers.push_back(QMessageBox::Yes);
    Program& p = next.start();
    QCOMPARE(next.dialogs.shown.size(), 2);
    QCOMPARE(next.dialogs.shown[1].caption, QStringLiteral("Внимание!"));
    QVERIFY(next.dialogs.shown[1].text.startsWith(QStringLiteral("Ошибка открытия файла\n")));
    // The start goes on as it always does.
    QCOMPARE(p.state.caseFileName, p.paths.templatePath());
    QVERIFY(p.state.caseSaved);
}

void TestHistory::liveProgramIsNotOffered() {
    Fixture first;
    first.select("ListView1", 0);
    first.trigger("SpeedButton1Action");
    ScriptedUserDialogs otherDialogs;
    RecordingDesktopOpener otherDesktop;
    auto second = createProgram(first.program().paths, otherDialogs, otherDesktop);
    second->startUp({});
    QVERIFY(otherDialogs.shown.isEmpty());
    QCOMPARE(second->state.workingCopyPath, first.tp.appDir() + QStringLiteral("/temp-2.rvb"));
    QCOMPARE(first.stored(1, "1_ц1"), i(1)); // the first program's case is untouched
}

QTEST_MAIN(TestHistory)
#include "tst_history.moc"
