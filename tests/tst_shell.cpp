// Start-up, case files, title and status line, driven through the real main window.
#include "shell/Application.h"
#include "shell/CaseFileRules.h"
#include "shell/TFormMain.h"
#include "shell/TOKBottomDlg.h"
#include "store/Database.h"
#include "store/Layout.h"
#include "store/TDataModule1.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace ravnobor;
using ravnobor::test::ItemRow;
using ravnobor::test::makeCase;
using ravnobor::test::TestProgram;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QList<ItemRow> threeItems() {
    return {{QStringLiteral("Квартира"), 100.0, 120.0, 110.0, 1, -1},
            {QStringLiteral("Автомобиль \"Нива\""), 50.5, QVariant(), QVariant(), -1, 0},
            {QStringLiteral("Гараж"), 10.0, 12.0, QVariant(), 0, 1}};
}

void addItem(Program& program, const QString& name, double price) {
    auto& list = program.dataModule().ADODataSet1();
    list.open();
    list.insert();
    list.setFieldByName(QStringLiteral("Наименование"), name);
    list.setFieldByName(QStringLiteral("Цена 1"), price);
    list.post();
    list.close();
}

QStringList itemNames(Program& program) {
    auto& list = program.dataModule().ADODataSet1();
    list.open();
    QStringList names;
    for (int row = 0; row < list.recordCount(); ++row)
        names << list.value(row, layout::ColName).toString();
    list.close();
    return names;
}

QString currentTitle(Program& program) {
    program.formMain().Timer1Timer();
    return program.formMain().windowTitle();
}

QString panelText(Program& program, int panel) {
    return program.formMain().statusPanels[size_t(panel)]->text();
}

} // namespace

class TestShell : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void firstStartShowsNoErrorAndCopiesTheExample();
    void commandLineRule_data();
    void commandLineRule();
    void commandLineWithBlanksOpensTheCase();
    void commandLineCaseThatFailsFallsBackToTemplate();
    void commandLinePipeIsRefusedWithoutHanging();
    void missingTemplateStartsOnAnEmptyCase();
    void caseWithoutSettingsRowGetsDesignHeadings();
    void journalLeftByACrashIsNotRolledIntoTheNextCase();
    void secondRunningProgramKeepsItsOwnWorkingCopy();
    void installedProgramKeepsItsWorkingCopyInTheDataFolder();
    void roundTripKeepsRowsAndHeadings();
    void postsAndDeletesThroughTheListClearCaseSaved();
    void closeQuery_data();
    void closeQuery();
    void exitQuestion();
    void failedOpenKeepsThePreviousCase();
    void openAsksToSaveFirst_data();
    void openAsksToSaveFirst();
    void newAsksAndStartsFromTheTemplate();
    void failedSaveKeepsStateAndOldFile();
    void saveRefusesTheTemplate();
    void saveAsOfANamedCase();
    void saveAsOfANewCaseAsksTwice();
    void fileDialogsOfferCaseFiles();
    void saveDialogAsksOnceBeforeOverwriting();
    void title_data();
    void title();
    void statusLine();
    void timeWithoutZone_data();
    void timeWithoutZone();
    void hintsGoToPanelZero();
    void viewMenuHidesAndShows();
    void headingDialog();
};

void TestShell::initTestCase() {
    Application::loadRussianTranslations(*QCoreApplication::instance());
}

void TestShell::firstStartShowsNoErrorAndCopiesTheExample() {
    TestProgram tp;
    Program& p = tp.start();
    QVERIFY2(tp.dialogs.shown.isEmpty(), qPrintable(tp.dialogs.shown.value(0).text));
    const QString folder = tp.documentsRoot() + QStringLiteral("/Равнобор");
    QCOMPARE(p.state.documentsFolder, folder);
    QCOMPARE(fileBytes(folder + QStringLiteral("/Пример.rvb")), fileBytes(tp.appDir() + QStringLiteral("/Пример.rvb")));
    QCOMPARE(p.state.caseFileName, tp.appDir() + QStringLiteral("/default.mdb"));
    QCOMPARE(p.state.workingCopyPath, tp.appDir() + QStringLiteral("/temp.rvb"));
    QVERIFY(p.state.caseSaved);
    QCOMPARE(p.state.totalRecords, 0);
    QCOMPARE(currentTitle(p), QStringLiteral("Равнобор - Файл без имени "));
    QCOMPARE(p.formMain().Timer1->interval(), 100);
    QVERIFY(p.formMain().Timer1->isActive());
}

void TestShell::commandLineRule_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected"); // empty: the template stays
    QTest::newRow("none") << QStringList() << QString();
    QTest::newRow(".rvb") << QStringList{QStringLiteral("/cases/Дело.rvb")} << "/cases/Дело.rvb";
    QTest::newRow(".RVB") << QStringList{QStringLiteral("/cases/Дело.RVB")} << QString();
    QTest::newRow(".mdb") << QStringList{QStringLiteral("/cases/Дело.mdb")} << QString();
    QTest::newRow("blanks") << QStringList{QStringLiteral("/my"), QStringLiteral("cases/Иванов"),
                                           QStringLiteral("и Петров.rvb")}
                            << "/my cases/Иванов и Петров.rvb";
    QTest::newRow("just the extension") << QStringList{QStringLiteral(".rvb")} << ".rvb";
    QTest::newRow("too short") << QStringList{QStringLiteral("rvb")} << QString();
}

void TestShell::commandLineRule() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);
    const auto chosen = caserules::caseFromCommandLine(arguments);
    QCOMPARE(chosen.value_or(QString()), expected);
}

void TestShell::commandLineWithBlanksOpensTheCase() {
    TestProgram tp;
    QDir().mkpath(tp.path(QStringLiteral("my cases")));
    const QString path = tp.path(QStringLiteral("my cases/Иванов и Петров.rvb"));
    makeCase(path, threeItems());
    Program& p = tp.start(path.split(u' '));
    QVERIFY(tp.dialogs.shown.isEmpty());
    QCOMPARE(p.state.caseFileName, path);
    QCOMPARE(p.state.saveDialogFileName, path);
    QCOMPARE(p.state.totalRecords, 3);
    QCOMPARE(currentTitle(p), QStringLiteral("Равнобор - Иванов и Петров.rvb  ") + tp.path(QStringLiteral("my cases")));
}

void TestShell::commandLineCaseThatFailsFallsBackToTemplate() {
    TestProgram tp;
    const QString bad = tp.path(QStringLiteral("Испорчен.rvb"));
    QFile f(bad);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("not a case");
    f.close();
    Program& p = tp.start({bad});
    QCOMPARE(tp.dialogs.shown.size(), 1);
    QCOMPARE(tp.dialogs.shown[0].caption, QStringLiteral("Внимание!"));
    QCOMPARE(tp.dialogs.shown[0].icon, QMessageBox::Warning);
    QVERIFY(tp.dialogs.shown[0].text.startsWith(QStringLiteral("Ошибка открытия файла\nФайл «") + bad));
    QCOMPARE(p.state.caseFileName, tp.appDir() + QStringLiteral("/default.mdb"));
    QVERIFY(p.state.caseSaved);
    QCOMPARE(currentTitle(p), QStringLiteral("Равнобор - Файл без имени "));
    QCOMPARE(fileBytes(bad), QByteArray("not a case"));
}

void TestShell::commandLinePipeIsRefusedWithoutHanging() {
    TestProgram tp;
    const QString pipe = tp.path(QStringLiteral("Канал.rvb"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    Program& p = tp.start({pipe});
    QCOMPARE(tp.dialogs.shown.size(), 1);
    QCOMPARE(tp.dialogs.shown[0].caption, QStringLiteral("Внимание!"));
    QCOMPARE(tp.dialogs.shown[0].text, QStringLiteral("Ошибка открытия файла\n«%1» — это не обычный файл (канал, "
                                                      "устройство или сокет).")
                                           .arg(pipe));
    QCOMPARE(p.state.caseFileName, tp.appDir() + QStringLiteral("/default.mdb"));
    QCOMPARE(currentTitle(p), QStringLiteral("Равнобор - Файл без имени "));
}

void TestShell::missingTemplateStartsOnAnEmptyCase() {
    TestProgram tp;
    const QString templatePath = tp.appDir() + QStringLiteral("/default.mdb");
    QFile::remove(templatePath);
    Program& p = tp.start();
    QCOMPARE(tp.dialogs.shown.size(), 1);
    const QString text = tp.dialogs.shown[0].text;
    QVERIFY2(text.startsWith(QStringLiteral("Ошибка открытия файла\nФайл «") + templatePath +
                             QStringLiteral("» не найден.")),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("открыт пустой случай")));
    QCOMPARE(p.state.caseFileName, templatePath);
    QCOMPARE(p.state.totalRecords, 0);
    QCOMPARE(p.state.headings, layout::DesignHeadings);
    // The empty case works like any other: an item is added and saved.
    addItem(p, QStringLiteral("Шкаф"), 100);
    tp.dialogs.nextFileNames.push_back(tp.path(QStringLiteral("Пустой.rvb")));
    p.formMain().action(QStringLiteral("File_Save"))->trigger();
    QVERIFY(p.state.caseSaved);
    QCOMPARE(p.state.caseFileName, tp.path(QStringLiteral("Пустой.rvb")));
    QVERIFY(!QFileInfo::exists(templatePath));
}

void TestShell::caseWithoutSettingsRowGetsDesignHeadings() {
    TestProgram tp;
    const QString path = tp.path(QStringLiteral("БезПолей.rvb"));
    makeCase(path, threeItems());
    {
        store::Database db(path);
        db.execute(QStringLiteral("DELETE FROM \"Поля\""));
    }
    Program& p = tp.start({path});
    QVERIFY(tp.dialogs.shown.isEmpty());
    QCOMPARE(p.state.headings, layout::DesignHeadings);
    QCOMPARE(p.state.totalRecords, 3);
    QCOMPARE(p.state.caseFileName, path);
}

void TestShell::journalLeftByACrashIsNotRolledIntoTheNextCase() {
    TestProgram tp;
    // What a crash leaves: the old working copy and its hot journal.
    const QString oldCase = tp.path(QStringLiteral("Старое.rvb"));
    makeCase(oldCase, threeItems());
    QFile::copy(oldCase, tp.appDir() + QStringLiteral("/temp.rvb"));
    QFile::copy(oldCase, tp.appDir() + QStringLiteral("/temp.rvb-journal"));
    QFile::copy(oldCase, tp.appDir() + QStringLiteral("/temp.rvb-wal"));
    const QString path = tp.path(QStringLiteral("Дело.rvb"));
    makeCase(path, {threeItems()[2]});
    Program& p = tp.start({path});
    QVERIFY(tp.dialogs.shown.isEmpty());
    QVERIFY(!QFileInfo::exists(tp.appDir() + QStringLiteral("/temp.rvb-journal")));
    QVERIFY(!QFileInfo::exists(tp.appDir() + QStringLiteral("/temp.rvb-wal")));
    QCOMPARE(itemNames(p), QStringList{QStringLiteral("Гараж")});
    QCOMPARE(p.state.totalRecords, 1);
}

void TestShell::installedProgramKeepsItsWorkingCopyInTheDataFolder() {
    TestProgram tp;
    tp.installed = true;
    const QString casePath = tp.path(QStringLiteral("Дело.rvb"));
    makeCase(casePath, threeItems());
    Program& p = tp.start({casePath});
    QVERIFY2(tp.dialogs.shown.isEmpty(), qPrintable(tp.dialogs.shown.value(0).text));
    QCOMPARE(p.state.workingCopyPath, tp.path(QStringLiteral("data/temp.rvb")));
    QCOMPARE(p.state.caseFileName, casePath);
    QCOMPARE(p.state.totalRecords, 3);
    QCOMPARE(QFileInfo(p.state.workingCopyPath).permissions() & QFile::Permissions(0x7077),
             QFile::ReadOwner | QFile::WriteOwner);
    const QStringList beside = QDir(tp.appDir()).entryList({QStringLiteral("temp*")}, QDir::Files);
    QCOMPARE(beside, QStringList());
}

void TestShell::secondRunningProgramKeepsItsOwnWorkingCopy() {
    TestProgram tp;
    const QString first = tp.path(QStringLiteral("Первое.rvb"));
    const QString second = tp.path(QStringLiteral("Второе.rvb"));
    makeCase(first, threeItems());
    makeCase(second, {threeItems()[0]});
    Program& p = tp.start({first});
    ScriptedUserDialogs otherDialogs;
    RecordingDesktopOpener otherDesktop;
    auto other = createProgram(p.paths, otherDialogs, otherDesktop);
    other->startUp({second});
    QCOMPARE(other->state.workingCopyPath, tp.appDir() + QStringLiteral("/temp-2.rvb"));
    QCOMPARE(other->state.totalRecords, 1);
    QCOMPARE(itemNames(p).size(), 3); // the first program's case is untouched
    other.reset();
    // The first program's lock stays; a program started now takes the free name again.
    auto third = createProgram(p.paths, otherDialogs, otherDesktop);
    third->startUp({});
    QCOMPARE(third->state.workingCopyPath, tp.appDir() + QStringLiteral("/temp-2.rvb"));
}

void TestShell::roundTripKeepsRowsAndHeadings() {
    TestProgram tp;
    Program& p = tp.start();
    p.formMain().action(QStringLiteral("File_Create"))->trigger();
    addItem(p, QStringLiteral("Дача «Рассвет»"), 780000);
    addItem(p, QStringLiteral("Телевизор 55\""), 42000.5);
    p.state.headings[1] = QStringLiteral("Цена|продавца");
    p.state.headings[11] = QStringLiteral("Примечания|к описи");
    QCOMPARE(p.state.totalRecords, 2);
    QVERIFY(!p.state.caseSaved);

    const QString path = tp.path(QStringLiteral("Дело.rvb"));
    tp.dialogs.nextFileNames.push_back(path);
    p.formMain().action(QStringLiteral("File_Save"))->trigger();
    QCOMPARE(tp.dialogs.fileRequests.size(), 1);
    QCOMPARE(tp.dialogs.fileRequests[0].fileName, p.state.documentsFolder + QStringLiteral("/Новый.rvb"));
    QVERIFY(p.state.caseSaved);
    QCOMPARE(p.state.caseFileName, path);

    // A second Save writes the same file without a dialog.
    addItem(p, QStringLiteral("Кресло"), 5000);
    p.formMain().action(QStringLiteral("File_Save"))->trigger();
    QCOMPARE(tp.dialogs.fileRequests.size(), 1);
    QVERIFY(p.state.caseSaved);

    p.formMain().action(QStringLiteral("File_Create"))->trigger();
    QCOMPARE(p.state.totalRecords, 0);
    QCOMPARE(p.state.headings[1], QStringLiteral("Цена|1 стороны"));
    QCOMPARE(itemNames(p), QStringList());

    tp.dialogs.nextFileNames.push_back(path);
    p.formMain().action(QStringLiteral("File_Open"))->trigger();
    QVERIFY(tp.dialogs.shown.isEmpty());
    QCOMPARE(itemNames(p), (QStringList{QStringLiteral("Дача «Рассвет»"), QStringLiteral("Телевизор 55\""),
                                        QStringLiteral("Кресло")}));
    auto& list = p.dataModule().ADODataSet1();
    list.open();
    QCOMPARE(list.value(1, layout::ColPrice1).toDouble(), 42000.5);
    list.close();
    QCOMPARE(p.state.headings[1], QStringLiteral("Цена|продавца"));
    QCOMPARE(p.state.headings[11], QStringLiteral("Примечания|к описи"));
    QCOMPARE(p.state.totalRecords, 3);
    QVERIFY(p.state.caseSaved);
    QCOMPARE(currentTitle(p), QStringLiteral("Равнобор - Дело.rvb  ") + tp.path(QString()).chopped(1));
}

void TestShell::postsAndDeletesThroughTheListClearCaseSaved() {
    TestProgram tp;
    const QString path = tp.path(QStringLiteral("Дело.rvb"));
    makeCase(path, threeItems());
    Program& p = tp.start({path});
    QVERIFY(p.state.caseSaved);
    auto& list = p.dataModule().ADODataSet1();
    list.open();
    list.setCurrentRow(1);
    list.remove();
    QVERIFY(!p.state.caseSaved);
    QCOMPARE(p.state.totalRecords, 2);
    list.close();
    // Edits of the settings row are changes of the case too.
    auto& settings = p.dataModule().ADODataSet2();
    settings.open();
    settings.setFieldByName(layout::Surname1, QStringLiteral("Иванов"));
    settings.post();
    settings.close();
    QVERIFY(!p.state.caseSaved);
    QCOMPARE(p.dataModule().writer().undoName(), QStringLiteral("исходные данные"));
    // An item added through the list dataset counts at once, also with the list closed.
    addItem(p, QStringLiteral("Сейф"), 1);
    QCOMPARE(p.state.totalRecords, 3);
    p.formMain().Timer1Timer();
    QVERIFY(panelText(p, 1).startsWith(QStringLiteral("  Всего записей: 3     Записи распределены: ")));
}

void TestShell::closeQuery_data() {
    QTest::addColumn<bool>("named");     // the case has a file of its own
    QTest::addColumn<bool>("changed");   // CaseSaved is false
    QTest::addColumn<int>("answer");     // to "Сохранить файл?"
    QTest::addColumn<QString>("saveAs"); // the save dialog's answer ("" cancels)
    QTest::addColumn<bool>("breakSave"); // the case file's folder is gone
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    QTest::newRow("saved: no question") << true << false << 0 << "" << false << true << false;
    QTest::newRow("No") << true << true << int(QMessageBox::No) << "" << false << true << false;
    QTest::newRow("Cancel") << true << true << int(QMessageBox::Cancel) << "" << false << false << false;
    QTest::newRow("Yes saves a named case") << true << true << int(QMessageBox::Yes) << "" << false << true << true;
    QTest::newRow("Yes on a new case, dialog cancelled")
        << false << true << int(QMessageBox::Yes) << "" << false << false << false;
    QTest::newRow("Yes on a new case, named")
        << false << true << int(QMessageBox::Yes) << "Новое.rvb" << false << true << true;
    QTest::newRow("Yes, save fails") << true << true << int(QMessageBox::Yes) << "" << true << false << false;
}

void TestShell::closeQuery() {
    QFETCH(bool, named);
    QFETCH(bool, changed);
    QFETCH(int, answer);
    QFETCH(QString, saveAs);
    QFETCH(bool, breakSave);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    TestProgram tp;
    QDir().mkpath(tp.path(QStringLiteral("cases")));
    const QString path = tp.path(QStringLiteral("cases/Дело.rvb"));
    makeCase(path, threeItems());
    Program& p = tp.start(named ? QStringList{path} : QStringList{});
    if (changed)
        addItem(p, QStringLiteral("Новый предмет"), 1);
    if (breakSave)
        QDir(tp.path(QStringLiteral("cases"))).removeRecursively();
    if (answer)
        tp.dialogs.nextAnswers.push_back(QMessageBox::StandardButton(answer));
    const QString target = saveAs.isEmpty() ? QString() : tp.path(saveAs);
    if (!named)
        tp.dialogs.nextFileNames.push_back(target);
    QCOMPARE(p.formMain().close(), closes);
    if (changed) {
        QCOMPARE(tp.dialogs.shown.value(0).text, QStringLiteral("Сохранить файл?"));
        QCOMPARE(tp.dialogs.shown.value(0).caption, QStringLiteral("Вопрос"));
        QCOMPARE(tp.dialogs.shown.value(0).icon, QMessageBox::Question);
        QCOMPARE(tp.dialogs.shown.value(0).buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    } else {
        QVERIFY(tp.dialogs.shown.isEmpty());
    }
    if (breakSave) {
        QCOMPARE(tp.dialogs.shown.size(), 2);
        QVERIFY(tp.dialogs.shown[1].text.startsWith(QStringLiteral("Не удалось сохранить файл «") + path));
        QCOMPARE(tp.dialogs.shown[1].caption, QStringLiteral("Равнобор"));
    }
    const QString written_to = named ? path : target;
    if (!written_to.isEmpty() && QFileInfo::exists(written_to)) {
        store::Database db(written_to, store::Database::Mode::ReadOnly);
        store::Statement count = db.prepare(QStringLiteral("SELECT count(*) FROM \"Таблица\""));
        QVERIFY(count.step());
        QCOMPARE(count.integer(0), written ? (named ? 4 : 1) : 3);
    } else {
        QVERIFY(!written);
    }
    QCOMPARE(p.state.caseSaved, !changed || written);
    if (!named && !written)
        QCOMPARE(p.state.caseFileName, tp.appDir() + QStringLiteral("/default.mdb"));
}

void TestShell::exitQuestion() {
    TestProgram tp;
    Program& p = tp.start();
    p.formMain().show();
    tp.dialogs.nextAnswers.push_back(QMessageBox::No);
    p.formMain().action(QStringLiteral("File_Exit"))->trigger();
    QVERIFY(p.formMain().isVisible());
    QCOMPARE(tp.dialogs.shown.value(0).text, QStringLiteral("Вы хотите выйти из программы?"));
    QCOMPARE(tp.dialogs.shown.value(0).buttons, QMessageBox::Yes | QMessageBox::No);
    tp.dialogs.nextAnswers.push_back(QMessageBox::Yes);
    p.formMain().action(QStringLiteral("File_Exit"))->trigger();
    QVERIFY(!p.formMain().isVisible());
    QCOMPARE(tp.dialogs.shown.size(), 2); // a saved case closes without "Сохранить файл?"
}

void TestShell::failedOpenKeepsThePreviousCase() {
    TestProgram tp;
    const QString path = tp.path(QStringLiteral("Дело.rvb"));
    makeCase(path, threeItems());
    Program& p = tp.start({path});
    addItem(p, QStringLiteral("Несохранённый предмет"), 7);
    const QStringList namesBefore = itemNames(p);
    const QString titleBefore = currentTitle(p);
    const QString bad = tp.path(QStringLiteral("Чужой.rvb"));
    {
        store::Database db(bad, store::Database::Mode::Create);
        db.execute(QStringLiteral("CREATE TABLE \"Таблица\" (x)"));
    }
    tp.dialogs.nextAnswers.push_back(QMessageBox::No); // do not save the changes first
    tp.dialogs.nextFileNames.push_back(bad);
    p.formMain().action(QStringLiteral("File_Open"))->trigger();
    QCOMPARE(tp.dialogs.shown.size(), 2);
    const auto& warning = tp.dialogs.shown[1];
    QCOMPARE(warning.caption, QStringLiteral("Внимание!"));
    QCOMPARE(warning.icon, QMessageBox::Warning);
    QCOMPARE(warning.buttons, QMessageBox::Ok);
    QCOMPARE(warning.text, QStringLiteral("Ошибка открытия файла\nВ таблице «Таблица» на месте 0 должно стоять поле "
                                          "«Код», а стоит «x»."));
    QCOMPARE(p.state.caseFileName, path);
    QCOMPARE(p.state.saveDialogFileName, path);
    QCOMPARE(currentTitle(p), titleBefore);
    QCOMPARE(itemNames(p), namesBefore);
    QCOMPARE(p.state.totalRecords, 4);
    QVERIFY(!p.state.caseSaved);
}

void TestShell::openAsksToSaveFirst_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<int>("rowsInOldFile");
    QTest::newRow("Yes saves, then opens") << int(QMessageBox::Yes) << true << 4;
    QTest::newRow("No discards, then opens") << int(QMessageBox::No) << true << 3;
    QTest::newRow("Cancel keeps the case") << int(QMessageBox::Cancel) << false << 3;
}

void TestShell::openAsksToSaveFirst() {
    QFETCH(int, answer);
    QFETCH(bool, opened);
    QFETCH(int, rowsInOldFile);
    TestProgram tp;
    const QString first = tp.path(QStringLiteral("Первое.rvb"));
    const QString second = tp.path(QStringLiteral("Второе.rvb"));
    makeCase(first, threeItems());
    makeCase(second, {threeItems()[0]});
    Program& p = tp.start({first});
    addItem(p, QStringLiteral("Ещё"), 1);
    tp.dialogs.nextAnswers.push_back(QMessageBox::StandardButton(answer));
    tp.dialogs.nextFileNames.push_back(second);
    p.formMain().action(QStringLiteral("File_Open"))->trigger();
    QCOMPARE(tp.dialogs.shown.value(0).text, QStringLiteral("Сохранить файл?"));
    QCOMPARE(p.state.caseFileName, opened ? second : first);
    QCOMPARE(p.state.totalRecords, opened ? 1 : 4);
    QCOMPARE(p.state.caseSaved, opened);
    store::Database db(first, store::Database::Mode::ReadOnly);
    store::Statement count = db.prepare(QStringLiteral("SELECT count(*) FROM \"Таблица\""));
    QVERIFY(count.step());
    QCOMPARE(count.integer(0), rowsInOldFile);
}

void TestShell::newAsksAndStartsFromTheTemplate() {
    TestProgram tp;
    const QString path = tp.path(QStringLiteral("Дело.rvb"));
    makeCase(path, threeItems());
    Program& p = tp.start({path});
    addItem(p, QStringLiteral("Ещё"), 1);
    tp.dialogs.nextAnswers.push_back(QMessageBox::Cancel);
    p.formMain().action(QStringLiteral("File_Create"))->trigger();
    QCOMPARE(p.state.caseFileName, path);
    QCOMPARE(p.state.totalRecords, 4);
    tp.dialogs.nextAnswers.push_back(QMessageBox::No);
    p.formMain().action(QStringLiteral("File_Create"))->trigger();
    QCOMPARE(p.state.caseFileName, tp.appDir() + QStringLiteral("/default.mdb"));
    QCOMPARE(p.state.totalRecords, 0);
    QVERIFY(p.state.caseSaved);
    // The names come from the template's row: natural persons with empty names.
    QCOMPARE(p.state.party1Name, QStringLiteral(" . ."));
    QCOMPARE(currentTitle(p), QStringLiteral("Равнобор - Файл без имени "));
}

void TestShell::failedSaveKeepsStateAndOldFile() {
    TestProgram tp;
    const QString big = tp.path(QStringLiteral("Большое.rvb"));
    QList<ItemRow> many;
    for (int i = 0; i < 4000; ++i)
        many.append({QStringLiteral("Предмет %1").arg(i), 100.0 + i, 90.0 + i, QVariant(), 0, 0});
    makeCase(big, many);
    const QString old = tp.path(QStringLiteral("Старое.rvb"));
    makeCase(old, threeItems());
    const QByteArray oldBytes = fileBytes(old);
    Program& p = tp.start({big});
    addItem(p, QStringLiteral("Ещё"), 1);
    QVERIFY(!p.state.caseSaved);

    // Save as over an existing case while the disk fills up after the old file's size.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    rlimit limited = before;
    limited.rlim_cur = rlim_t(oldBytes.size());
    setrlimit(RLIMIT_FSIZE, &limited);
    tp.dialogs.nextFileNames.push_back(old);
    p.formMain().action(QStringLiteral("File_SaveAs"))->trigger();
    setrlimit(RLIMIT_FSIZE, &before);

    QCOMPARE(tp.dialogs.shown.size(), 1);
    QVERIFY2(tp.dialogs.shown[0].text.startsWith(QStringLiteral("Не удалось сохранить файл «") + old +
                                                 QStringLiteral("»: ")),
             qPrintable(tp.dialogs.shown[0].text));
    QCOMPARE(tp.dialogs.shown[0].icon, QMessageBox::Critical);
    QCOMPARE(fileBytes(old), oldBytes);
    QVERIFY(!p.state.caseSaved);
    QCOMPARE(p.state.caseFileName, big);
    QCOMPARE(p.state.saveDialogFileName, big);
    QCOMPARE(currentTitle(p), QStringLiteral("Равнобор - Большое.rvb  ") + tp.path(QString()).chopped(1));
    // The case is still there and can be saved once the disk has room again.
    QCOMPARE(p.state.totalRecords, 4001);
    p.formMain().action(QStringLiteral("File_Save"))->trigger();
    QVERIFY(p.state.caseSaved);
}

void TestShell::saveRefusesTheTemplate() {
    TestProgram tp;
    Program& p = tp.start();
    const QString templatePath = tp.appDir() + QStringLiteral("/default.mdb");
    const QByteArray before = fileBytes(templatePath);
    addItem(p, QStringLiteral("Вещь"), 1);
    tp.dialogs.nextFileNames.push_back(templatePath);
    p.formMain().action(QStringLiteral("File_Save"))->trigger();
    QCOMPARE(tp.dialogs.shown.size(), 1);
    QVERIFY(tp.dialogs.shown[0].text.contains(QStringLiteral("это шаблон, с которого начинается каждый новый случай")));
    QCOMPARE(fileBytes(templatePath), before);
    QCOMPARE(p.state.caseFileName, templatePath);
    QVERIFY(!p.state.caseSaved);
    tp.dialogs.nextFileNames.push_back(p.state.workingCopyPath);
    p.formMain().action(QStringLiteral("File_Save"))->trigger();
    QVERIFY(tp.dialogs.shown.value(1).text.contains(QStringLiteral("это рабочая копия программы")));
    QVERIFY(!p.state.caseSaved);
}

void TestShell::saveAsOfANamedCase() {
    TestProgram tp;
    const QString path = tp.path(QStringLiteral("Дело.rvb"));
    makeCase(path, threeItems());
    Program& p = tp.start({path});
    const QString copy = tp.path(QStringLiteral("Копия.rvb"));
    tp.dialogs.nextFileNames.push_back(QString()); // cancelled: nothing changes
    p.formMain().action(QStringLiteral("File_SaveAs"))->trigger();
    QCOMPARE(p.state.saveDialogFileName, path);
    tp.dialogs.nextFileNames.push_back(copy);
    p.formMain().action(QStringLiteral("File_SaveAs"))->trigger();
    QCOMPARE(tp.dialogs.fileRequests.size(), 2);
    QCOMPARE(tp.dialogs.fileRequests[1].fileName, path);
    QCOMPARE(p.state.caseFileName, copy);
    QCOMPARE(p.state.saveDialogFileName, copy);
    QVERIFY(QFileInfo::exists(copy));
    QVERIFY(tp.dialogs.shown.isEmpty());
}

void TestShell::saveAsOfANewCaseAsksTwice() {
    TestProgram tp;
    Program& p = tp.start();
    addItem(p, QStringLiteral("Комод"), 3000);
    const QString first = tp.path(QStringLiteral("Первое.rvb"));
    const QString second = tp.path(QStringLiteral("Второе.rvb"));
    tp.dialogs.nextFileNames = {first, second};
    p.formMain().action(QStringLiteral("File_SaveAs"))->trigger();
    QCOMPARE(tp.dialogs.fileRequests.size(), 2);
    QCOMPARE(tp.dialogs.fileRequests[1].fileName, p.state.documentsFolder + QStringLiteral("/Новый.rvb"));
    QCOMPARE(p.state.caseFileName, second); // the second answer decides
    QVERIFY(QFileInfo::exists(second));
    QVERIFY(!QFileInfo::exists(first));
    QVERIFY(p.state.caseSaved);
}

void TestShell::fileDialogsOfferCaseFiles() {
    TestProgram tp;
    Program& p = tp.start();
    p.formMain().action(QStringLiteral("File_Open"))->trigger();
    QCOMPARE(tp.dialogs.fileRequests.size(), 1);
    const FileDialogRequest& request = tp.dialogs.fileRequests[0];
    QCOMPARE(request.filters,
             (QStringList{QStringLiteral("Файл программы \"Равнобор\" (*.rvb)"), QStringLiteral("Все файлы (*)")}));
    QCOMPARE(request.defaultSuffix, QStringLiteral("rvb"));
    QCOMPARE(request.directory, p.state.documentsFolder);
    QVERIFY(tp.dialogs.shown.isEmpty());
}

void TestShell::saveDialogAsksOnceBeforeOverwriting() {
    QTemporaryDir dir;
    const QString existing = dir.filePath(QStringLiteral("Дело.rvb"));
    QFile f(existing);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    QtUserDialogs dialogs;
    const FileDialogRequest request{
        QStringLiteral("Сохранить как"),
        dir.path(),
        dir.filePath(QStringLiteral("Новый.rvb")),
        {QStringLiteral("Файл программы \"Равнобор\" (*.rvb)"), QStringLiteral("Все файлы (*)")},
        QStringLiteral("rvb")};
    QStringList questions;
    QTimer::singleShot(0, [&questions] {
        auto* fileDialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(fileDialog);
        QVERIFY(fileDialog->testOption(QFileDialog::DontUseNativeDialog));
        fileDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("Дело"));
        QTimer::singleShot(0, [&questions] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            questions << box->text();
            box->button(QMessageBox::Yes)->click();
        });
        QTest::keyClick(fileDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")), Qt::Key_Return);
    });
    QCOMPARE(dialogs.saveFileName(nullptr, request), existing);
    QCOMPARE(questions.size(), 1);
    QVERIFY2(questions[0].contains(QStringLiteral("Дело.rvb")) && questions[0].contains(QStringLiteral("существует")),
             qPrintable(questions[0]));
}

void TestShell::title_data() {
    QTest::addColumn<QString>("caseFileName");
    QTest::addColumn<QString>("expected");
    QTest::newRow("case") << "/home/user/Дела/Иванов.rvb"
                          << "Равнобор - Иванов.rvb  /home/user/Дела";
    QTest::newRow("at the root") << "/Дело.rvb"
                                 << "Равнобор - Дело.rvb  /";
    QTest::newRow("template") << "/opt/ravnobor/default.mdb"
                              << "Равнобор - Файл без имени ";
    QTest::newRow("any .mdb") << "/home/user/Старое.mdb"
                              << "Равнобор - Файл без имени ";
    QTest::newRow(".MDB is not .mdb") << "/home/user/Старое.MDB"
                                      << "Равнобор - Старое.MDB  /home/user";
    QTest::newRow("dots in the folder") << "/home/user/v1.mdb/Дело.rvb"
                                        << "Равнобор - Дело.rvb  /home/user/v1.mdb";
}

void TestShell::title() {
    QFETCH(QString, caseFileName);
    QFETCH(QString, expected);
    QCOMPARE(caserules::windowTitle(caseFileName), expected);
}

void TestShell::statusLine() {
    QCOMPARE(caserules::statusSummary(10, 3, 5, 2),
             QStringLiteral("  Всего записей: 10     Записи распределены: 3/5/2"));
    QCOMPARE(caserules::statusSummary(100000, 0, 100000, 0),
             QStringLiteral("  Всего записей: 100000     Записи распределены: 0/100000/0"));
    TestProgram tp;
    Program& p = tp.start({tp.documentsRoot() + QStringLiteral("/Равнобор/Пример.rvb")});
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    p.formMain().Timer1Timer();
    QCOMPARE(p.state.totalRecords, 15);
    QVERIFY(panelText(p, 1).startsWith(QStringLiteral("  Всего записей: 15     Записи распределены: ")));
    QCOMPARE(panelText(p, 2), QLocale().toString(QDate::currentDate(), QLocale::ShortFormat));
    QVERIFY(QTime::fromString(panelText(p, 3), QStringLiteral("H:mm:ss")).isValid());
    QLocale::setDefault(QLocale::c());
}

void TestShell::timeWithoutZone_data() {
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");
    QTest::newRow("Russian") << "ru_RU"
                             << "09:05:07";
    QTest::newRow("German") << "de_DE"
                            << "09:05:07";
    QTest::newRow("US English") << "en_US"
                                << "9:05:07\u202fAM";
}

void TestShell::timeWithoutZone() {
    QFETCH(QString, locale);
    QFETCH(QString, expected);
    const QString text = caserules::timeText(QTime(9, 5, 7), QLocale(locale));
    // Some locale data use a plain blank before AM, some a narrow one.
    QCOMPARE(QString(text).replace(u' ', u'\u202f'), expected);
}

void TestShell::hintsGoToPanelZero() {
    TestProgram tp;
    Program& p = tp.start();
    TFormMain& main = p.formMain();
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    // A toolbar button under the mouse.
    QWidget* save = main.findChild<QWidget*>(QStringLiteral("TB_File_Save"));
    QVERIFY(save);
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), save->mapToGlobal(QPointF(5, 5)));
    QApplication::sendEvent(save, &enter);
    QCOMPARE(panelText(p, 0), QStringLiteral("  Сохранить"));
    // A menu item under the mouse.
    QMenu* file = main.findChild<QMenu*>(QStringLiteral("MenuFile"));
    file->popup(main.mapToGlobal(QPoint(10, 10)));
    QVERIFY(QTest::qWaitForWindowExposed(file));
    file->setActiveAction(main.action(QStringLiteral("File_Open")));
    QCOMPARE(panelText(p, 0), QStringLiteral("  Открыть"));
    file->hide();
    QVERIFY(main.statusBar()->currentMessage().isEmpty());
    QVERIFY(panelText(p, 1).isEmpty() || panelText(p, 1).startsWith(QStringLiteral("  Всего")));
}

void TestShell::viewMenuHidesAndShows() {
    TestProgram tp;
    Program& p = tp.start();
    TFormMain& main = p.formMain();
    main.show();
    QAction* stat = main.action(QStringLiteral("View_Stat"));
    QVERIFY(stat->isChecked());
    stat->trigger();
    QVERIFY(!stat->isChecked());
    QVERIFY(!main.StBarMain->isVisible());
    stat->trigger();
    QVERIFY(main.StBarMain->isVisible());
    QVERIFY(main.Panel7->geometry().bottom() < main.StBarMain->geometry().top() + main.centralWidget()->y());
    QAction* panel = main.action(QStringLiteral("View_Panel"));
    panel->trigger();
    QVERIFY(!main.ToolBar1->isVisible());
    panel->trigger();
    QVERIFY(main.ToolBar1->isVisible());
}

void TestShell::headingDialog() {
    TestProgram tp;
    Program& p = tp.start();
    TOKBottomDlg& dialog = p.okBottomDlg();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Введите новый заголовок"));
    QVERIFY(dialog.Edit1);
    QCOMPARE(dialog.Edit1->objectName(), QStringLiteral("Edit1"));
    QStringList buttons;
    for (const QPushButton* b : dialog.findChildren<QPushButton*>())
        buttons << b->text();
    QCOMPARE(buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Cancel")}));
    dialog.Edit1->setText(QStringLiteral("Цена|1 стороны"));
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.findChildren<QPushButton*>().at(1)->click(); });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QTimer::singleShot(0, &dialog, [&dialog] { QTest::keyClick(dialog.Edit1, Qt::Key_Return); });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
}

QTEST_MAIN(TestShell)
#include "tst_shell.moc"
