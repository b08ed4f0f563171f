// The command line: options before any window, their texts and exit codes.
#include "shell/CommandLine.h"

#include "Version.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace ravnobor;
using commandline::Request;

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// The built program, run with no display at all: options must not need one.
Run runProgram(const QStringList& arguments, const QString& dataHome) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(RAVNOBOR_BIN_DIR "/ravnobor"), arguments);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

const QString Version = QStringLiteral("Равнобор ") + QLatin1String(ProgramVersion) + u'\n';
const QString UnknownHint = QStringLiteral("По команде «ravnobor --help» можно получить дополнительную информацию.\n");

QStringList words(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

} // namespace

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void helpNamesEveryPath();
    void installedProgramKeepsItsWorkingCopyInTheDataFolder();
    void programAnswersWithoutDisplay_data();
    void programAnswersWithoutDisplay();
    void helpOfTheBuiltProgramNamesItsFiles();
};

void TestCommandLine::parse_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Request>("request");
    QTest::addColumn<QStringList>("caseArguments");
    QTest::addColumn<QString>("unknown");
    const QStringList none;
    QTest::newRow("nothing") << none << Request::Start << none << QString();
    QTest::newRow("case") << words({"/a/Дело.rvb"}) << Request::Start << words({"/a/Дело.rvb"}) << QString();
    QTest::newRow("case in words, one starting with a dash")
        << words({"/a/Дело", "-1.rvb"}) << Request::Start << words({"/a/Дело", "-1.rvb"}) << QString();
    QTest::newRow("lone dash is a word") << words({"-"}) << Request::Start << words({"-"}) << QString();
    QTest::newRow("--help") << words({"--help"}) << Request::Help << none << QString();
    QTest::newRow("-h") << words({"-h"}) << Request::Help << none << QString();
    QTest::newRow("--version") << words({"--version"}) << Request::Version << none << QString();
    QTest::newRow("-v") << words({"-v"}) << Request::Version << none << QString();
    QTest::newRow("help wins over version") << words({"--version", "--help"}) << Request::Help << none << QString();
    QTest::newRow("option before a case")
        << words({"--help", "x.rvb"}) << Request::Help << words({"x.rvb"}) << QString();
    QTest::newRow("options end at the case")
        << words({"x.rvb", "--help"}) << Request::Start << words({"x.rvb", "--help"}) << QString();
    QTest::newRow("-- ends options") << words({"--", "--help.rvb"}) << Request::Start << words({"--help.rvb"})
                                     << QString();
    QTest::newRow("unknown") << words({"--open"}) << Request::UnknownOption << none << "--open";
    QTest::newRow("unknown after help") << words({"--help", "-x"}) << Request::UnknownOption << none << "-x";
    QTest::newRow("a case named like an option is still an option")
        << words({"-x.rvb"}) << Request::UnknownOption << none << "-x.rvb";
}

void TestCommandLine::parse() {
    QFETCH(QStringList, arguments);
    QFETCH(Request, request);
    QFETCH(QStringList, caseArguments);
    QFETCH(QString, unknown);
    const commandline::Parsed parsed = commandline::parse(arguments);
    QCOMPARE(parsed.request, request);
    QCOMPARE(parsed.caseArguments, caseArguments);
    QCOMPARE(parsed.unknownOption, unknown);
}

void TestCommandLine::helpNamesEveryPath() {
    QTemporaryDir dir;
    ProgramPaths paths{dir.filePath(QStringLiteral("app")), QStringLiteral("/home/u/Документы"),
                       dir.filePath(QStringLiteral("data"))};
    QDir().mkpath(paths.appDir);
    const QString text = commandline::helpText(paths);
    QVERIFY(text.startsWith(QStringLiteral("Использование: ravnobor [ФАЙЛ.rvb]\n"
                                           "               ravnobor ПАРАМЕТР\n")));
    QVERIFY(text.contains(QStringLiteral("\n  -h, --help     показать эту справку и выйти\n")));
    QVERIFY(text.contains(QStringLiteral("\n  -v, --version  показать версию и выйти\n")));
    QVERIFY(text.endsWith(QStringLiteral("Файлы:\n") + QStringLiteral("Шаблон: ") + paths.appDir +
                          QStringLiteral("/default.mdb\nПример: ") + paths.appDir +
                          QStringLiteral("/Пример.rvb\nСправка: ") + paths.appDir +
                          QStringLiteral("/help/index.html\nРабочая копия: ") + paths.appDir +
                          QStringLiteral("/temp.rvb\nПапка документов: /home/u/Документы/Равнобор\n")));
    // A built program whose folder cannot be written keeps the copy in the data folder, as the copy itself does.
    paths.appDir = dir.filePath(QStringLiteral("missing"));
    QVERIFY(commandline::helpText(paths).contains(QStringLiteral("\nРабочая копия: ") + paths.dataDir +
                                                  QStringLiteral("/temp.rvb\n")));
}

void TestCommandLine::installedProgramKeepsItsWorkingCopyInTheDataFolder() {
    QTemporaryDir dir;
    ProgramPaths paths{dir.path(), dir.filePath(QStringLiteral("docs")), dir.filePath(QStringLiteral("data"))};
    paths.installed = true;
    QVERIFY(QFileInfo(dir.path()).isWritable()); // even a writable program folder is not used
    QCOMPARE(paths.programWorkFolder(), QString());
    QCOMPARE(paths.workingCopyPath(), dir.filePath(QStringLiteral("data/temp.rvb")));
}

void TestCommandLine::programAnswersWithoutDisplay_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("err");
    QTest::newRow("--version") << words({"--version"}) << 0 << Version << QString();
    QTest::newRow("-v") << words({"-v"}) << 0 << Version << QString();
    QTest::newRow("unknown") << words({"--bogus"}) << 2 << QString()
                             << QStringLiteral("ravnobor: неизвестный параметр «--bogus»\n") + UnknownHint;
    QTest::newRow("no display") << QStringList{} << 1 << QString()
                                << QStringLiteral("Равнобор: нет графического дисплея (не заданы DISPLAY и "
                                                  "WAYLAND_DISPLAY), программу можно запустить только в "
                                                  "графическом сеансе.\n");
}

void TestCommandLine::programAnswersWithoutDisplay() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, out);
    QFETCH(QString, err);
    QTemporaryDir data;
    const Run run = runProgram(arguments, data.path());
    QCOMPARE(run.err, err);
    QCOMPARE(run.out, out);
    QCOMPARE(run.exitCode, exitCode);
}

void TestCommandLine::helpOfTheBuiltProgramNamesItsFiles() {
    QTemporaryDir data;
    const Run run = runProgram({QStringLiteral("--help")}, data.path());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.err, QString());
    const QString bin = QStringLiteral(RAVNOBOR_BIN_DIR);
    const QStringList lines = run.out.split(u'\n');
    for (const QString& line : QStringList{QStringLiteral("Шаблон: ") + bin + QStringLiteral("/default.mdb"),
                                           QStringLiteral("Пример: ") + bin + QStringLiteral("/Пример.rvb"),
                                           QStringLiteral("Справка: ") + bin + QStringLiteral("/help/index.html"),
                                           QStringLiteral("Рабочая копия: ") + bin + QStringLiteral("/temp.rvb")})
        QVERIFY2(lines.contains(line), qPrintable(run.out));
    QVERIFY2(std::any_of(lines.begin(), lines.end(),
                         [](const QString& line) { return line.startsWith(QStringLiteral("Папка документов: /")); }),
             qPrintable(run.out));
    QVERIFY(QDir(data.path()).isEmpty()); // asking writes nothing
}

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
