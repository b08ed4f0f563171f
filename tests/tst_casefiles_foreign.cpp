// Case files left by other SQLite programs, opened through the real main window from the
// command line and by "Открыть" over a loaded case: what is shown, that a move and a Save
// work in what opened, and that the file and the files beside it stay as they were.
#include "board/BoardListView.h"
#include "shell/TFormMain.h"
#include "store/Database.h"
#include "store/TDataModule1.h"
#include "support/ForeignCases.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QFile>
#include <QItemSelectionModel>
#include <QTest>

#include <functional>

using namespace ravnobor;
using ravnobor::test::TestProgram;

namespace {

using Maker = std::function<void(const QString& path)>;
enum class Way { CommandLine, OpenOverLoadedCase };

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<QByteArray> caseAndSidecars(const QString& path) {
    QList<QByteArray> files{fileBytes(path)};
    for (const QString& sidecar : test::sidecarsOf(path))
        files << fileBytes(sidecar);
    return files;
}

void trigger(Program& program, const char* name) {
    QAction* action = program.formMain().findChild<QAction*>(QString::fromLatin1(name));
    QVERIFY2(action && action->isEnabled(), name);
    action->trigger();
}

// Starts the program on the case, or on another case first and then opens this one by "Открыть".
Program& openCase(TestProgram& tp, const QString& path, Way way) {
    if (way == Way::CommandLine)
        return tp.start({path});
    const QString loaded = tp.path(QStringLiteral("Загруженное.rvb"));
    test::makeCase(loaded, test::numberedItems(2));
    Program& program = tp.start({loaded});
    tp.dialogs.nextFileNames.push_back(path);
    trigger(program, "File_Open");
    return program;
}

QVariant valueIn(const QString& path, const QString& sql) {
    store::Database db(path, store::Database::Mode::ReadOnly);
    store::Statement statement = db.prepare(sql);
    return statement.step() ? statement.value(0) : QVariant(QStringLiteral("нет строки"));
}

// "Предмет 0" with party 1 goes to party 2 by the toolbar button.
void moveFirstItemRight(Program& program) {
    auto* left = program.formMain().findChild<board::BoardListView*>(QStringLiteral("ListView2"));
    QVERIFY(left && left->model()->rowCount() > 0);
    QCOMPARE(left->model()->index(0, 0).data().toString(), QStringLiteral("Предмет 0"));
    left->selectionModel()->select(left->model()->index(0, 0),
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    trigger(program, "SpeedButton3Action");
}

} // namespace

Q_DECLARE_METATYPE(Maker)
Q_DECLARE_METATYPE(Way)

class TestCaseFilesForeign : public QObject {
    Q_OBJECT
private slots:
    void openedCaseWorks_data();
    void openedCaseWorks();
    void refusedCaseLeavesTheProgramAsItWas_data();
    void refusedCaseLeavesTheProgramAsItWas();
    void saveOverTheOpenedFileLeavesNoStaleWal();
};

void TestCaseFilesForeign::openedCaseWorks_data() {
    QTest::addColumn<Maker>("maker");
    QTest::addColumn<Way>("way");
    QTest::addColumn<int>("items");
    QTest::addColumn<QString>("surname1");
    const struct {
        const char* name;
        Maker maker;
        int items;
        const char* surname1;
    } kinds[] = {
        {"WAL beside it", test::makeCaseWithCommittedWal, test::CommittedWalItems, "Иванов"},
        {"hot journal", [](const QString& p) { test::makeCaseWithHotJournal(p, 600); }, 600, ""},
        {"newer write version", test::makeCaseOfNewerWriteVersion, 3, ""},
        {"stale index", test::makeCaseWithStaleIndex, 3, ""},
    };
    for (const auto& kind : kinds) {
        QTest::addRow("%s, command line", kind.name)
            << kind.maker << Way::CommandLine << kind.items << QString::fromUtf8(kind.surname1);
        QTest::addRow("%s, Открыть", kind.name)
            << kind.maker << Way::OpenOverLoadedCase << kind.items << QString::fromUtf8(kind.surname1);
    }
}

void TestCaseFilesForeign::openedCaseWorks() {
    QFETCH(Maker, maker);
    QFETCH(Way, way);
    QFETCH(int, items);
    QFETCH(QString, surname1);
    TestProgram tp;
    const QString path = tp.path(QStringLiteral("Дело.rvb"));
    maker(path);
    if (QTest::currentTestFailed())
        return;
    const QList<QByteArray> before = caseAndSidecars(path);
    Program& program = openCase(tp, path, way);
    QCOMPARE(tp.dialogs.shown.size(), 0);
    QCOMPARE(program.state.caseFileName, path);
    QCOMPARE(program.state.totalRecords, items);
    QVERIFY2(program.state.party1Name.startsWith(surname1), qPrintable(program.state.party1Name));

    moveFirstItemRight(program);
    QCOMPARE(tp.dialogs.shown.size(), 0);
    QVERIFY(!program.state.caseSaved);
    const QString saved = tp.path(QStringLiteral("Сохранено.rvb"));
    tp.dialogs.nextFileNames.push_back(saved);
    trigger(program, "File_SaveAs");
    QCOMPARE(tp.dialogs.shown.size(), 0);
    QVERIFY(program.state.caseSaved);
    QCOMPARE(program.state.caseFileName, saved);

    QCOMPARE(test::integrityCheck(saved), QStringLiteral("ok"));
    QCOMPARE(valueIn(saved, QStringLiteral("SELECT count(*) FROM \"Таблица\"")), QVariant(qint64(items)));
    QCOMPARE(valueIn(saved, QStringLiteral("SELECT \"1_ц1\" FROM \"Таблица\" WHERE \"Наименование\" = 'Предмет 0'")),
             QVariant(qint64(-1)));
    QCOMPARE(valueIn(saved, QStringLiteral("SELECT \"Фамилия 1\" FROM \"Поля\"")).toString(), surname1);
    QCOMPARE(caseAndSidecars(path), before);
}

void TestCaseFilesForeign::refusedCaseLeavesTheProgramAsItWas_data() {
    QTest::addColumn<Maker>("maker");
    QTest::addColumn<Way>("way");
    QTest::addColumn<QString>("message");
    const QString journal = QStringLiteral(
        "Рядом с файлом лежит журнал незавершённой записи «Дело.rvb-journal»: по нему файл восстановить "
        "не удалось, и файл повреждён. Если файл открыт в программе, которая его записывала, закройте её "
        "и откройте файл снова; иначе возьмите его резервную копию.\nПодробности: ");
    const QString function = QStringLiteral("Индекс «По звучанию» в файле вычисляется функцией «metaphone», которой "
                                            "нет в этой программе, поэтому файл нельзя открыть.\nПодробности: unknown "
                                            "function: metaphone()");
    const Maker useless = [](const QString& p) { test::makeCaseWithUselessJournal(p, 600); };
    QTest::newRow("useless journal, command line") << useless << Way::CommandLine << journal;
    QTest::newRow("useless journal, Открыть") << useless << Way::OpenOverLoadedCase << journal;
    QTest::newRow("unknown function, command line")
        << Maker(test::makeCaseWithUnknownFunctionIndex) << Way::CommandLine << function;
    QTest::newRow("unknown function, Открыть")
        << Maker(test::makeCaseWithUnknownFunctionIndex) << Way::OpenOverLoadedCase << function;
}

void TestCaseFilesForeign::refusedCaseLeavesTheProgramAsItWas() {
    QFETCH(Maker, maker);
    QFETCH(Way, way);
    QFETCH(QString, message);
    TestProgram tp;
    const QString path = tp.path(QStringLiteral("Дело.rvb"));
    maker(path);
    if (QTest::currentTestFailed())
        return;
    const QList<QByteArray> before = caseAndSidecars(path);
    Program& program = openCase(tp, path, way);
    QCOMPARE(tp.dialogs.shown.size(), 1);
    QCOMPARE(tp.dialogs.shown[0].caption, QStringLiteral("Внимание!"));
    const QString text = tp.dialogs.shown[0].text;
    const QString expected = QStringLiteral("Ошибка открытия файла\n") + message;
    if (message.endsWith(QStringLiteral("Подробности: ")))
        QVERIFY2(text.startsWith(expected) && text.size() > expected.size(), qPrintable(text));
    else
        QCOMPARE(text, expected);
    const bool overLoaded = way == Way::OpenOverLoadedCase;
    QCOMPARE(program.state.caseFileName,
             overLoaded ? tp.path(QStringLiteral("Загруженное.rvb")) : tp.appDir() + QStringLiteral("/default.mdb"));
    QCOMPARE(program.state.totalRecords, overLoaded ? 2 : 0);
    QCOMPARE(caseAndSidecars(path), before);
}

// The saved case replaces the file; the WAL that stood beside it belonged to the old content
// and would be applied over the saved case, so it goes, and the case opens as saved.
void TestCaseFilesForeign::saveOverTheOpenedFileLeavesNoStaleWal() {
    TestProgram tp;
    const QString path = tp.path(QStringLiteral("Дело.rvb"));
    test::makeCaseWithCommittedWal(path);
    Program& program = tp.start({path});
    moveFirstItemRight(program);
    trigger(program, "File_Save");
    QCOMPARE(tp.dialogs.shown.size(), 0);
    QVERIFY(program.state.caseSaved);
    QCOMPARE(test::sidecarsOf(path), QStringList());
    QCOMPARE(test::integrityCheck(path), QStringLiteral("ok"));

    tp.dialogs.nextFileNames.push_back(path);
    trigger(program, "File_Open");
    QCOMPARE(tp.dialogs.shown.size(), 0);
    QCOMPARE(program.state.totalRecords, test::CommittedWalItems);
    QCOMPARE(valueIn(path, QStringLiteral("SELECT \"1_ц1\" FROM \"Таблица\" WHERE \"Наименование\" = 'Предмет 0'")),
             QVariant(qint64(-1)));
}

QTEST_MAIN(TestCaseFilesForeign)
#include "tst_casefiles_foreign.moc"
