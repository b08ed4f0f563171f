// Case files on disk without windows: checking a file before it becomes the working
// copy, the working copy's lock, and the atomic write of a Save.
#include "shell/CaseFiles.h"
#include "store/CaseValidator.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/FileError.h"
#include "store/Layout.h"
#include "store/TDataModule1.h"
#include "support/ForeignCases.h"
#include "support/TestProgram.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace ravnobor;
using ravnobor::test::ItemRow;
using ravnobor::test::makeCase;

namespace {

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path + f.errorString()));
    f.write(bytes);
}

QString schemaText() {
    QFile f(QStringLiteral(RAVNOBOR_SOURCE_DIR "/data/schema.sql"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(f.readAll());
}

// A database from the case schema changed by a text replacement, then more SQL.
void makeFromSchema(const QString& path, const QString& from, const QString& to, const QString& more = {}) {
    QFile::remove(path);
    QString schema = schemaText();
    if (!from.isEmpty()) {
        QVERIFY2(schema.contains(from), qPrintable(from));
        schema.replace(from, to);
    }
    store::Database db(path, store::Database::Mode::Create);
    db.execute(schema);
    if (!more.isEmpty())
        db.execute(more);
}

QList<ItemRow> someItems(int count) {
    QList<ItemRow> rows;
    for (int i = 0; i < count; ++i)
        rows.append({QStringLiteral("Предмет %1").arg(i), 1000.0 + i, 1100.0 + i, QVariant(), 1, -1});
    return rows;
}

using Fixture = std::function<void(const QString& dir, QString& path)>;

QString badCasePath(const QString& dir) {
    return dir + QStringLiteral("/bad.rvb");
}

// The bad case made from the case schema with `from` replaced by `to`, then `more` SQL.
Fixture changedSchema(const QString& from, const QString& to, const QString& more = {}) {
    return [=](const QString& dir, QString& path) {
        path = badCasePath(dir);
        makeFromSchema(path, from, to, more);
    };
}

// The bad case with `count` items, then changed by `sql`.
Fixture itemsChangedBy(int count, const QString& sql) {
    return [=](const QString& dir, QString& path) {
        path = badCasePath(dir);
        makeCase(path, someItems(count));
        store::Database db(path);
        db.execute(sql);
    };
}

using Maker = std::function<void(const QString& path)>;

// The case file and the files beside it, byte for byte.
QList<QByteArray> caseAndSidecars(const QString& path) {
    QList<QByteArray> files{fileBytes(path)};
    for (const QString& sidecar : test::sidecarsOf(path))
        files << fileBytes(sidecar);
    return files;
}

QVariant singleValue(const QString& path, const QString& sql) {
    store::Database db(path, store::Database::Mode::ReadOnly);
    store::Statement statement = db.prepare(sql);
    return statement.step() ? statement.value(0) : QVariant(QStringLiteral("нет строки"));
}

QString refusal(casefiles::WorkingCopy& copy, const QString& path) {
    try {
        copy.prepare(path);
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

} // namespace

Q_DECLARE_METATYPE(Fixture)
Q_DECLARE_METATYPE(Maker)

class TestCaseFiles : public QObject {
    Q_OBJECT
private slots:
    void malformedFilesAreRefused_data();
    void malformedFilesAreRefused();
    void goodCaseIsAcceptedAndMadeSelfContained();
    void settingsTableWithoutRowGetsDesignHeadings();
    void triggersInTheFileNeverFire();
    void emptyCaseHasTheTemplateLayout();
    void secondInstanceTakesTheNextWorkingCopy();
    void staleLockIsTakenOver();
    void unwritableProgramFolderUsesTheDataFolder();
    void dataFolderAndWorkingCopyAreTheUsersAlone_data();
    void dataFolderAndWorkingCopyAreTheUsersAlone();
    void installRemovesHotJournal();
    void fixturesHoldWhatOtherProgramsLeave();
    void casesFromOtherProgramsOpen_data();
    void casesFromOtherProgramsOpen();
    void casesFromOtherProgramsAreRefused_data();
    void casesFromOtherProgramsAreRefused();
    void sparseCaseCostsItsContent();
    void saveRemovesJournalsOfTheReplacedFile();
    void saveWritesAnExactCopy();
    void saveFollowsSymlinkAndKeepsPermissions();
    void failedSaveLeavesOldFileWhole();
    void saveToMissingFolderSaysWhere();
    void systemCausesInWords_data();
    void systemCausesInWords();
    void saveOverAPipeOrDeviceIsRefused();
    void saveTargetsOfTheProgramAreRefused_data();
    void saveTargetsOfTheProgramAreRefused();
};

void TestCaseFiles::malformedFilesAreRefused_data() {
    QTest::addColumn<Fixture>("fixture");
    QTest::addColumn<QString>("reason");

    QTest::newRow("text file") << Fixture([](const QString& d, QString& p) {
        p = badCasePath(d);
        writeBytes(p, "это не база данных\n");
    }) << "не является файлом программы «Равнобор» (это не база данных SQLite)";
    QTest::newRow("empty file") << Fixture([](const QString& d, QString& p) {
        p = badCasePath(d);
        writeBytes(p, {});
    }) << "это не база данных SQLite";
    QTest::newRow("encrypted (random bytes)") << Fixture([](const QString& d, QString& p) {
        p = badCasePath(d);
        QByteArray noise(8192, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 7919 + 13) % 251);
        writeBytes(p, noise);
    }) << "это не база данных SQLite";
    QTest::newRow("header then garbage") << Fixture([](const QString& d, QString& p) {
        p = badCasePath(d);
        writeBytes(p, QByteArray("SQLite format 3\0", 16) + QByteArray(4080, 'x'));
    }) << "Файл не является базой данных программы «Равнобор».\nПодробности: file is not a database";
    QTest::newRow("truncated") << Fixture([](const QString& d, QString& p) {
        p = badCasePath(d);
        makeCase(p, someItems(3000));
        QFile f(p);
        QVERIFY(f.resize(f.size() / 2));
    }) << "Файл повреждён: нарушена внутренняя структура базы данных.\nПодробности: ";
    QTest::newRow("missing file") << Fixture([](const QString& d, QString& p) { p = badCasePath(d); }) << "не найден";
    QTest::newRow("directory") << Fixture([](const QString& d, QString& p) {
        p = d + QStringLiteral("/folder.rvb");
        QDir().mkpath(p);
    }) << "это папка, а не файл";
    // Nobody writes into the pipe: reading it would hang the program for good.
    QTest::newRow("named pipe") << Fixture([](const QString& d, QString& p) {
        p = d + QStringLiteral("/pipe.rvb");
        QCOMPARE(::mkfifo(QFile::encodeName(p).constData(), 0600), 0);
    }) << "это не обычный файл";
    QTest::newRow("link to a device") << Fixture([](const QString& d, QString& p) {
        p = d + QStringLiteral("/device.rvb");
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), p));
    }) << "это не обычный файл";
    QTest::newRow("missing settings table")
        << changedSchema({}, {}, QStringLiteral("DROP TABLE \"Поля\"")) << "В файле нет таблицы «Поля».";
    QTest::newRow("missing column") << changedSchema(QStringLiteral(",\n    \"2_цс\" INTEGER"), QString())
                                    << "В таблице «Таблица» нет поля «2_цс».";
    QTest::newRow("Latin c where Cyrillic belongs")
        << changedSchema(QStringLiteral("\"2_цс\" INTEGER"), QStringLiteral("\"2_цc\" INTEGER"))
        << "на месте 12 должно стоять поле «2_цс», а стоит «2_цc»";
    QTest::newRow("columns swapped") << changedSchema(QStringLiteral("\"Цена 1\" REAL,\n    \"Цена 2\" REAL"),
                                                      QStringLiteral("\"Цена 2\" REAL,\n    \"Цена 1\" REAL"))
                                     << "на месте 3 должно стоять поле «Цена 1», а стоит «Цена 2»";
    QTest::newRow("key not integer primary key")
        << changedSchema(QStringLiteral("CREATE TABLE \"Таблица\" (\n    \"Код\" INTEGER PRIMARY KEY"),
                         QStringLiteral("CREATE TABLE \"Таблица\" (\n    \"Код\" INTEGER"))
        << "Первое поле таблицы «Таблица» («Код») должно быть ключом INTEGER PRIMARY KEY.";
    QTest::newRow("price column of text type")
        << changedSchema(QStringLiteral("\"Цена 2\" REAL"), QStringLiteral("\"Цена 2\" TEXT"))
        << "Поле «Цена 2» таблицы «Таблица» должно иметь тип REAL, а объявлено «TEXT».";
    QTest::newRow("view instead of table")
        << changedSchema(QStringLiteral("CREATE TABLE \"Таблица\""), QStringLiteral("CREATE TABLE \"Т\""),
                         QStringLiteral("CREATE VIEW \"Таблица\" AS SELECT * FROM \"Т\""))
        << "«Таблица» в файле — представление, а не таблица.";
    QTest::newRow("virtual table") << changedSchema(QStringLiteral("CREATE TABLE \"Поля\""),
                                                    QStringLiteral("CREATE TABLE \"П\""),
                                                    QStringLiteral("CREATE VIRTUAL TABLE \"Поля\" USING fts5(a, b)"))
                                   << "«Поля» в файле — не обычная таблица (virtual).";
    QTest::newRow("generated column")
        << changedSchema(QStringLiteral("\"2_цс\" INTEGER\n);"),
                         QStringLiteral("\"2_цс\" INTEGER,\n    \"Сумма\" REAL AS (\"Цена 1\" + \"Цена 2\")\n);"))
        << "В таблице «Таблица» есть вычисляемое или скрытое поле «Сумма».";
    QTest::newRow("without rowid") << changedSchema(QStringLiteral("\"2_цс\" INTEGER\n);"),
                                                    QStringLiteral("\"2_цс\" INTEGER\n) WITHOUT ROWID;"))
                                   << "создана без ключа строк (WITHOUT ROWID)";
    QTest::newRow("bad price text")
        << itemsChangedBy(3, QStringLiteral("UPDATE \"Таблица\" SET \"Цена 2\" = 'двести' WHERE \"Код\" = 2"))
        << "В строке 2 («Предмет 1») таблицы «Таблица» в поле «Цена 2» не число: «двести».";
    QTest::newRow("price beyond the limit")
        << itemsChangedBy(4, QStringLiteral("UPDATE \"Таблица\" SET \"Согласованная цена\" = 1e300 WHERE \"Код\" = 4"))
        << "В строке 4 («Предмет 3») таблицы «Таблица» в поле «Согласованная цена» число вне допустимых пределов";
    QTest::newRow("allocation with a fraction")
        << itemsChangedBy(2, QStringLiteral("UPDATE \"Таблица\" SET \"2_ц1\" = 0.5 WHERE \"Код\" = 1"))
        << "В строке 1 («Предмет 0») таблицы «Таблица» в поле «2_ц1» не целое число: «0.5».";
    // Texts of thousands of letters are cut in the message, which must stay readable.
    QTest::newRow("long name and long bad text")
        << itemsChangedBy(2, QStringLiteral("UPDATE \"Таблица\" SET \"Наименование\" = printf('%.*c', 5000, 'Ж'), "
                                            "\"Цена 1\" = printf('%.*c', 5000, 'д') WHERE \"Код\" = 2"))
        << QStringLiteral("В строке 2 («%1…») таблицы «Таблица» в поле «Цена 1» не число: «%2…».")
               .arg(QString(60, QChar(0x0416)), QString(60, QChar(0x0434)));
}

void TestCaseFiles::malformedFilesAreRefused() {
    QFETCH(Fixture, fixture);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QString path;
    fixture(dir.path(), path);
    if (QTest::currentTestFailed())
        return;
    const QString app = dir.path() + QStringLiteral("/app");
    QDir().mkpath(app);
    casefiles::WorkingCopy copy(app, dir.path() + QStringLiteral("/data"));
    makeCase(copy.path(), someItems(2));
    const QByteArray before = fileBytes(copy.path());
    try {
        copy.prepare(path);
        QFAIL("the file was accepted");
    } catch (const Error& e) {
        QVERIFY2(e.message().contains(reason), qPrintable(e.message()));
        // One plain sentence; the engine's own words, if any, only on a second line after it.
        const QStringList lines = e.message().split(u'\n');
        QVERIFY2(lines.size() == 1 || (lines.size() == 2 && lines[1].startsWith(QStringLiteral("Подробности: "))),
                 qPrintable(e.message()));
    }
    QCOMPARE(fileBytes(copy.path()), before);
    QVERIFY(!QFileInfo::exists(copy.incomingPath()));
}

void TestCaseFiles::goodCaseIsAcceptedAndMadeSelfContained() {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("wal.rvb"));
    makeCase(source, someItems(5));
    {
        store::Database db(source);
        db.execute(QStringLiteral("PRAGMA journal_mode = WAL"));
    }
    QFile::setPermissions(source, QFile::ReadOwner | QFile::ReadUser); // a read-only case opens too
    casefiles::WorkingCopy copy(dir.path(), dir.path());
    copy.prepare(source);
    copy.install();
    QVERIFY(!QFileInfo::exists(copy.incomingPath()));
    store::Database db(copy.path());
    store::Statement mode = db.prepare(QStringLiteral("PRAGMA journal_mode"));
    QVERIFY(mode.step());
    QCOMPARE(mode.text(0), QStringLiteral("delete"));
    store::Statement count = db.prepare(QStringLiteral("SELECT count(*) FROM \"Таблица\""));
    QVERIFY(count.step());
    QCOMPARE(count.integer(0), 5);
}

void TestCaseFiles::settingsTableWithoutRowGetsDesignHeadings() {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("norow.rvb"));
    makeFromSchema(source, {}, {});
    casefiles::WorkingCopy copy(dir.path(), dir.path());
    copy.prepare(source);
    copy.install();
    store::Database db(copy.path());
    store::Statement row = db.prepare(QStringLiteral("SELECT * FROM \"Поля\""));
    QVERIFY(row.step());
    for (int i = 0; i < layout::HeadingCount; ++i)
        QCOMPARE(row.text(layout::FirstHeading + i), layout::DesignHeadings[size_t(i)]);
    QVERIFY(!row.step());
}

void TestCaseFiles::triggersInTheFileNeverFire() {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("trap.rvb"));
    makeCase(source, someItems(3));
    {
        store::Database db(source);
        db.execute(QStringLiteral("CREATE TABLE log (x); "
                                  "CREATE TRIGGER wipe AFTER UPDATE ON \"Таблица\" BEGIN DELETE FROM \"Таблица\"; "
                                  "INSERT INTO log VALUES (1); END"));
    }
    casefiles::WorkingCopy copy(dir.path(), dir.path());
    copy.prepare(source);
    copy.install();
    store::TDataModule1 data;
    data.connectTo(copy.path());
    store::Dataset& list = data.ADODataSet1();
    list.open();
    list.setFieldByName(QStringLiteral("Наименование"), QStringLiteral("Новое имя"));
    list.post();
    list.close();
    QCOMPARE(data.propertyRowCount(), 3);
    store::Statement log = data.connection().prepare(QStringLiteral("SELECT count(*) FROM log"));
    QVERIFY(log.step());
    QCOMPARE(log.integer(0), 0);
}

void TestCaseFiles::emptyCaseHasTheTemplateLayout() {
    QTemporaryDir dir;
    const QString empty = dir.filePath(QStringLiteral("empty.rvb"));
    store::casecheck::createEmptyCase(empty);
    store::Database built(empty, store::Database::Mode::ReadOnly);
    store::Database shipped(test::builtFile(QStringLiteral("default.mdb")), store::Database::Mode::ReadOnly);
    for (const QString& table : {layout::PropertyTable, layout::SettingsTable}) {
        const auto describe = [&table](store::Database& db) {
            QStringList columns;
            store::Statement info = db.prepare(QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?1)"));
            info.bind(1, table);
            while (info.step())
                columns << info.text(0) + u' ' + info.text(1) + u' ' + info.text(2);
            return columns;
        };
        QCOMPARE(describe(built), describe(shipped));
    }
    store::Statement row = built.prepare(QStringLiteral("SELECT * FROM \"Поля\""));
    QVERIFY(row.step());
    QCOMPARE(row.text(2), QStringLiteral("Цена|1 стороны"));
    QCOMPARE(row.text(9), QStringLiteral("2_с1ц1"));
}

void TestCaseFiles::secondInstanceTakesTheNextWorkingCopy() {
    QTemporaryDir dir;
    casefiles::WorkingCopy first(dir.path(), dir.path() + QStringLiteral("/data"));
    casefiles::WorkingCopy second(dir.path(), dir.path() + QStringLiteral("/data"));
    QCOMPARE(first.path(), dir.filePath(QStringLiteral("temp.rvb")));
    QCOMPARE(second.path(), dir.filePath(QStringLiteral("temp-2.rvb")));
    QVERIFY(QFileInfo::exists(dir.filePath(QStringLiteral("temp.rvb.lock"))));
    QVERIFY(first.isWorkingCopyFile(second.path()));
}

void TestCaseFiles::staleLockIsTakenOver() {
    QTemporaryDir dir;
    // The lock of a program that is no longer running (no such process id).
    writeBytes(dir.filePath(QStringLiteral("temp.rvb.lock")),
               "2147483000\nravnobor\n" + QSysInfo::machineHostName().toUtf8() + "\n");
    casefiles::WorkingCopy copy(dir.path(), dir.path());
    QCOMPARE(copy.path(), dir.filePath(QStringLiteral("temp.rvb")));
}

void TestCaseFiles::unwritableProgramFolderUsesTheDataFolder() {
    QTemporaryDir dir;
    // A path under a regular file can never become a folder, whoever runs the test.
    const QString blocked = dir.filePath(QStringLiteral("file"));
    writeBytes(blocked, "x");
    casefiles::WorkingCopy copy(blocked + QStringLiteral("/app"), dir.filePath(QStringLiteral("data/ravnobor")));
    QCOMPARE(copy.path(), dir.filePath(QStringLiteral("data/ravnobor/temp.rvb")));
    QVERIFY(QFileInfo::exists(copy.path() + QStringLiteral(".lock")));
}

void TestCaseFiles::dataFolderAndWorkingCopyAreTheUsersAlone_data() {
    QTest::addColumn<bool>("folderExisted");
    QTest::addColumn<bool>("emptyCase");
    QTest::newRow("new folder, a case file") << false << false;
    QTest::newRow("new folder, the empty case") << false << true;
    QTest::newRow("folder open to all, a case file") << true << false;
}

void TestCaseFiles::dataFolderAndWorkingCopyAreTheUsersAlone() {
    QFETCH(bool, folderExisted);
    QFETCH(bool, emptyCase);
    QTemporaryDir dir;
    const QString data = dir.filePath(QStringLiteral("data/ravnobor"));
    if (folderExisted) {
        QDir().mkpath(data);
        QFile::setPermissions(data, QFile::Permissions(0x7777)); // rwx for everyone
    }
    // No program folder: what an installed program passes.
    casefiles::WorkingCopy copy(QString(), data);
    QCOMPARE(copy.path(), data + QStringLiteral("/temp.rvb"));
    // Owner, group and others; the "user" bits only repeat the owner's for the owner.
    QCOMPARE(QFileInfo(data).permissions() & QFile::Permissions(0x7077),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (emptyCase) {
        copy.prepareEmpty();
    } else {
        const QString source = dir.filePath(QStringLiteral("case.rvb"));
        makeCase(source, someItems(3));
        QFile::setPermissions(source, QFile::Permissions(0x6644)); // a case readable by all
        copy.prepare(source);
    }
    copy.install();
    QCOMPARE(QFileInfo(copy.path()).permissions() & QFile::Permissions(0x7077), QFile::ReadOwner | QFile::WriteOwner);
    QVERIFY(!copy.isWorkingCopyFile(dir.filePath(QStringLiteral("temp.rvb"))));
}

void TestCaseFiles::installRemovesHotJournal() {
    QTemporaryDir dir;
    casefiles::WorkingCopy copy(dir.path(), dir.path());
    makeCase(copy.path(), someItems(2));
    // What a crash in the middle of a write leaves: a journal that the next
    // connection would roll back into whatever file then bears the name.
    const QString journal = copy.path() + QStringLiteral("-journal");
    QFile::copy(copy.path(), journal);
    const QString source = dir.filePath(QStringLiteral("next.rvb"));
    makeCase(source, someItems(7));
    copy.prepare(source);
    copy.install();
    QVERIFY(!QFileInfo::exists(journal));
    store::TDataModule1 data;
    data.connectTo(copy.path());
    QCOMPARE(data.propertyRowCount(), 7);
}

// Each fixture is what its name says, or the tests built on it would prove nothing.
void TestCaseFiles::fixturesHoldWhatOtherProgramsLeave() {
    QTemporaryDir dir;
    const QString wal = dir.filePath(QStringLiteral("wal.rvb"));
    test::makeCaseWithCommittedWal(wal);
    QCOMPARE(test::sidecarsOf(wal), (QStringList{wal + QStringLiteral("-wal"), wal + QStringLiteral("-shm")}));
    const QString mainFileOnly = dir.filePath(QStringLiteral("main-only.rvb"));
    QVERIFY(QFile::copy(wal, mainFileOnly));
    QCOMPARE(singleValue(mainFileOnly, QStringLiteral("SELECT count(*) FROM \"Таблица\"")), QVariant(qint64(5)));

    const QString hot = dir.filePath(QStringLiteral("hot.rvb"));
    test::makeCaseWithHotJournal(hot, 2000);
    QCOMPARE(test::sidecarsOf(hot), QStringList{hot + QStringLiteral("-journal")});
    const QString torn = dir.filePath(QStringLiteral("torn.rvb"));
    QVERIFY(QFile::copy(hot, torn));
    QVERIFY(test::quickCheck(torn) != QStringLiteral("ok"));

    const QString stale = dir.filePath(QStringLiteral("stale.rvb"));
    test::makeCaseWithStaleIndex(stale);
    QCOMPARE(test::quickCheck(stale), QStringLiteral("ok"));
    QVERIFY(test::integrityCheck(stale).contains(QStringLiteral("missing from index По наименованию")));
}

void TestCaseFiles::casesFromOtherProgramsOpen_data() {
    QTest::addColumn<Maker>("maker");
    QTest::addColumn<qint64>("items");
    QTest::addColumn<QString>("surname1");
    QTest::newRow("rows committed in the WAL beside it")
        << Maker(test::makeCaseWithCommittedWal) << qint64(test::CommittedWalItems) << "Иванов";
    QTest::newRow("hot journal of a crashed writer")
        << Maker([](const QString& p) { test::makeCaseWithHotJournal(p, 2000); }) << qint64(2000) << "";
    QTest::newRow("newer write version") << Maker(test::makeCaseOfNewerWriteVersion) << qint64(3) << "";
    QTest::newRow("index that does not match its table") << Maker(test::makeCaseWithStaleIndex) << qint64(3) << "";
}

// The case opens as SQLite sees it with the files beside it, as a fresh file that every
// write works in; the case file and the files beside it stay exactly as they were.
void TestCaseFiles::casesFromOtherProgramsOpen() {
    QFETCH(Maker, maker);
    QFETCH(qint64, items);
    QFETCH(QString, surname1);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Дело.rvb"));
    maker(path);
    if (QTest::currentTestFailed())
        return;
    const QList<QByteArray> before = caseAndSidecars(path);
    casefiles::WorkingCopy copy(dir.filePath(QStringLiteral("app")), dir.filePath(QStringLiteral("data")));
    copy.prepare(path);
    copy.install();
    QCOMPARE(caseAndSidecars(path), before);
    QCOMPARE(QDir(QFileInfo(copy.path()).path()).entryList({QStringLiteral("temp.rvb*")}, QDir::Files),
             (QStringList{QStringLiteral("temp.rvb"), QStringLiteral("temp.rvb.lock")}));

    const QByteArray header = fileBytes(copy.path()).left(20);
    QCOMPARE(header.mid(18, 2), QByteArray("\x01\x01")); // journal mode DELETE, writable
    QCOMPARE(test::integrityCheck(copy.path()), QStringLiteral("ok"));
    QCOMPARE(singleValue(copy.path(), QStringLiteral("SELECT count(*) FROM \"Таблица\"")), QVariant(items));
    QCOMPARE(singleValue(copy.path(), QStringLiteral("SELECT \"Наименование\" FROM \"Таблица\" WHERE \"Код\" = 3")),
             QVariant(QStringLiteral("Предмет 2")));
    QCOMPARE(singleValue(copy.path(), QStringLiteral("SELECT \"Фамилия 1\" FROM \"Поля\"")).toString(), surname1);

    store::Database db(copy.path());
    db.execute(QStringLiteral("UPDATE \"Таблица\" SET \"1_ц1\" = -1, \"Наименование\" = 'Изменён' WHERE \"Код\" = 2;"
                              "INSERT INTO \"Таблица\" (\"Наименование\") VALUES ('Новый')"));
    db.close();
    QCOMPARE(test::integrityCheck(copy.path()), QStringLiteral("ok"));
}

void TestCaseFiles::casesFromOtherProgramsAreRefused_data() {
    QTest::addColumn<Maker>("maker");
    QTest::addColumn<QString>("message");
    QTest::newRow("journal that cannot be applied")
        << Maker([](const QString& p) { test::makeCaseWithUselessJournal(p, 2000); })
        << "Рядом с файлом лежит журнал незавершённой записи «Дело.rvb-journal»: по нему файл восстановить не удалось, "
           "и файл повреждён. Если файл открыт в программе, которая его записывала, закройте её и откройте файл снова; "
           "иначе возьмите его резервную копию.\nПодробности: ";
    QTest::newRow("index on a function the program does not have")
        << Maker(test::makeCaseWithUnknownFunctionIndex)
        << "Индекс «По звучанию» в файле вычисляется функцией «metaphone», которой нет в этой программе, поэтому файл "
           "нельзя открыть.\nПодробности: unknown function: metaphone()";
    QTest::newRow("newer read version") << Maker([](const QString& p) {
        test::makeCase(p, test::numberedItems(3));
        QFile file(p);
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(19) && file.putChar(3));
    }) << "Файл записан другой программой в формате, который нельзя прочитать.\nПодробности: file is not a database";
    QTest::newRow("damaged without a journal") << Maker([](const QString& p) {
        test::makeCaseWithHotJournal(p, 2000);
        QFile::remove(p + QStringLiteral("-journal"));
    }) << "Файл повреждён: нарушена внутренняя структура базы данных.\nПодробности: ";
    // A journal zeroed at its start is what a finished write leaves: it has nothing to do with the damage.
    QTest::newRow("damaged beside a finished journal") << Maker([](const QString& p) {
        test::makeCaseWithHotJournal(p, 2000);
        QFile journal(p + QStringLiteral("-journal"));
        QVERIFY(journal.open(QIODevice::ReadWrite) && journal.write(QByteArray(28, '\0')) == 28);
    }) << "Файл повреждён: нарушена внутренняя структура базы данных.\nПодробности: ";
}

void TestCaseFiles::casesFromOtherProgramsAreRefused() {
    QFETCH(Maker, maker);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Дело.rvb"));
    maker(path);
    if (QTest::currentTestFailed())
        return;
    const QList<QByteArray> before = caseAndSidecars(path);
    casefiles::WorkingCopy copy(dir.filePath(QStringLiteral("app")), dir.filePath(QStringLiteral("data")));
    makeCase(copy.path(), someItems(2));
    const QByteArray working = fileBytes(copy.path());
    const QString shown = refusal(copy, path);
    if (message.endsWith(QStringLiteral("Подробности: ")))
        QVERIFY2(shown.startsWith(message) && shown.size() > message.size(), qPrintable(shown));
    else
        QCOMPARE(shown, message);
    QCOMPARE(caseAndSidecars(path), before);
    QCOMPARE(fileBytes(copy.path()), working);
    QCOMPARE(QDir(QFileInfo(copy.path()).path()).entryList({QStringLiteral("temp.rvb*")}, QDir::Files),
             (QStringList{QStringLiteral("temp.rvb"), QStringLiteral("temp.rvb.lock")}));
}

// A case file of 2 GB that is all empty space after its content: the copy keeps the
// space empty, and the working copy holds only the case.
void TestCaseFiles::sparseCaseCostsItsContent() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Дело.rvb"));
    makeCase(path, someItems(20));
    const qint64 content = QFileInfo(path).size();
    constexpr qint64 Size = qint64(2) << 30;
    QVERIFY(QFile(path).resize(Size));
    const QString copied = dir.filePath(QStringLiteral("copied"));
    casefiles::copyFileContent(path, copied);
    QCOMPARE(QFileInfo(copied).size(), Size);
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(copied).constData(), &info), 0);
    QVERIFY2(qint64(info.st_blocks) * 512 < 16 * content, qPrintable(QString::number(info.st_blocks)));
    const auto head = [content](const QString& name) {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.read(content) : QByteArray();
    };
    QCOMPARE(head(copied), head(path));

    casefiles::WorkingCopy copy(dir.path(), dir.path());
    copy.prepare(path);
    copy.install();
    QVERIFY(QFileInfo(copy.path()).size() <= content);
    QCOMPARE(singleValue(copy.path(), QStringLiteral("SELECT count(*) FROM \"Таблица\"")), QVariant(qint64(20)));
    QCOMPARE(QFileInfo(path).size(), Size);
}

// What stood beside the replaced file belongs to its old content: SQLite would apply it to
// the saved case the next time any program opens it.
void TestCaseFiles::saveRemovesJournalsOfTheReplacedFile() {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("Дело.rvb"));
    test::makeCaseWithCommittedWal(target);
    writeBytes(target + QStringLiteral("-journal"), QByteArray(600, 'j'));
    const QString work = dir.filePath(QStringLiteral("temp.rvb"));
    makeCase(work, someItems(11));
    casefiles::writeCaseFile(work, target);
    QCOMPARE(test::sidecarsOf(target), QStringList());
    QCOMPARE(fileBytes(target), fileBytes(work));
    QCOMPARE(singleValue(target, QStringLiteral("SELECT count(*) FROM \"Таблица\"")), QVariant(qint64(11)));
}

void TestCaseFiles::saveWritesAnExactCopy() {
    QTemporaryDir dir;
    const QString work = dir.filePath(QStringLiteral("temp.rvb"));
    makeCase(work, someItems(50));
    const QString target = dir.filePath(QStringLiteral("Дело.rvb"));
    writeBytes(target, "старое содержимое");
    casefiles::writeCaseFile(work, target);
    QCOMPARE(fileBytes(target), fileBytes(work));
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*Дело*")}, QDir::Files | QDir::Hidden).size(), 1);
}

void TestCaseFiles::saveFollowsSymlinkAndKeepsPermissions() {
    QTemporaryDir dir;
    const QString work = dir.filePath(QStringLiteral("temp.rvb"));
    makeCase(work, someItems(3));
    QDir().mkpath(dir.filePath(QStringLiteral("real")));
    const QString real = dir.filePath(QStringLiteral("real/Дело.rvb"));
    writeBytes(real, "old");
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    QFile::setPermissions(real, permissions);
    const QString link = dir.filePath(QStringLiteral("Ссылка.rvb"));
    QVERIFY(QFile::link(real, link));
    casefiles::writeCaseFile(work, link);
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(fileBytes(real), fileBytes(work));
    const auto bits = [](QFile::Permissions p) { return int(p) & 0x7077; }; // owner, group, others
    QCOMPARE(bits(QFile::permissions(real)), bits(permissions));
}

void TestCaseFiles::failedSaveLeavesOldFileWhole() {
    QTemporaryDir dir;
    const QString work = dir.filePath(QStringLiteral("temp.rvb"));
    makeCase(work, someItems(4000));
    const QString target = dir.filePath(QStringLiteral("Дело.rvb"));
    makeCase(target, someItems(2));
    const QByteArray before = fileBytes(target);
    QVERIFY(fileBytes(work).size() > 4 * before.size());
    // A disk that fills up in the middle of the write: no file may grow past the old one's size.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = rlim_t(before.size());
    setrlimit(RLIMIT_FSIZE, &small);
    QString message;
    try {
        casefiles::writeCaseFile(work, target);
    } catch (const Error& e) {
        message = e.message();
    }
    setrlimit(RLIMIT_FSIZE, &old);
    // The system's own cause, in words: the size the system allows was reached.
    QCOMPARE(message, QStringLiteral("Не удалось сохранить файл «%1»: файл превышает допустимый размер.").arg(target));
    QCOMPARE(fileBytes(target), before);
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*Дело*")}, QDir::Files | QDir::Hidden).size(), 1);
}

void TestCaseFiles::systemCausesInWords_data() {
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("reason");
    QTest::newRow("none") << 0 << "";
    QTest::newRow("full disk") << int(ENOSPC) << "на диске не хватает места";
    QTest::newRow("quota") << int(EDQUOT) << "превышена дисковая квота пользователя";
    QTest::newRow("permission") << int(EACCES) << "нет прав на запись";
    QTest::newRow("not permitted") << int(EPERM) << "нет прав на запись";
    QTest::newRow("read-only") << int(EROFS) << "файловая система доступна только для чтения";
    QTest::newRow("other") << int(ENOTDIR)
                           << QStringLiteral("системная ошибка: ") + QString::fromLocal8Bit(std::strerror(ENOTDIR));
}

void TestCaseFiles::systemCausesInWords() {
    QFETCH(int, error);
    QFETCH(QString, reason);
    QCOMPARE(fileSystemReason(error), reason);
}

void TestCaseFiles::saveToMissingFolderSaysWhere() {
    QTemporaryDir dir;
    const QString work = dir.filePath(QStringLiteral("temp.rvb"));
    makeCase(work, someItems(1));
    const QString target = dir.filePath(QStringLiteral("нет такой/Дело.rvb"));
    try {
        casefiles::writeCaseFile(work, target);
        QFAIL("the save did not fail");
    } catch (const Error& e) {
        QCOMPARE(e.message(), QStringLiteral("Не удалось сохранить файл «%1»: папка «%2» не существует.")
                                  .arg(target, dir.filePath(QStringLiteral("нет такой"))));
    }
}

void TestCaseFiles::saveOverAPipeOrDeviceIsRefused() {
    QTemporaryDir dir;
    const QString work = dir.filePath(QStringLiteral("temp.rvb"));
    makeCase(work, someItems(1));
    const QString pipe = dir.filePath(QStringLiteral("pipe"));
    QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString target = dir.filePath(QStringLiteral("Дело.rvb"));
    QVERIFY(QFile::link(pipe, target));
    try {
        casefiles::writeCaseFile(work, target);
        QFAIL("the save did not fail");
    } catch (const Error& e) {
        QCOMPARE(e.message(),
                 QStringLiteral("Не удалось сохранить файл «%1»: это не обычный файл (канал, устройство или сокет).")
                     .arg(target));
    }
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(pipe).constData(), &info), 0);
    QVERIFY(S_ISFIFO(info.st_mode)); // still the pipe, not replaced by the case
}

void TestCaseFiles::saveTargetsOfTheProgramAreRefused_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("template") << "app/default.mdb"
                              << "это шаблон, с которого начинается каждый новый случай";
    QTest::newRow("template through another path") << "app/../app/./default.mdb"
                                                   << "это шаблон";
    QTest::newRow("shipped example") << "app/Пример.rvb"
                                     << "это пример, поставляемый с программой";
    QTest::newRow("working copy") << "app/temp.rvb"
                                  << "это рабочая копия программы";
    QTest::newRow("private copy of a case being opened") << "app/temp.rvb.source"
                                                         << "это рабочая копия программы";
    QTest::newRow("another instance's working copy") << "app/temp-3.rvb"
                                                     << "это рабочая копия программы";
    QTest::newRow("ordinary case") << "docs/Дело.rvb"
                                   << "";
    QTest::newRow("a case named like the example elsewhere") << "docs/Пример.rvb"
                                                             << "";
}

void TestCaseFiles::saveTargetsOfTheProgramAreRefused() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("app")));
    QDir().mkpath(dir.filePath(QStringLiteral("docs")));
    const QString app = dir.filePath(QStringLiteral("app"));
    writeBytes(app + QStringLiteral("/default.mdb"), "t");
    writeBytes(app + QStringLiteral("/Пример.rvb"), "e");
    casefiles::WorkingCopy copy(app, dir.filePath(QStringLiteral("data")));
    QString message;
    try {
        casefiles::checkSaveTarget(dir.filePath(name), app + QStringLiteral("/default.mdb"),
                                   app + QStringLiteral("/Пример.rvb"), copy);
    } catch (const Error& e) {
        message = e.message();
    }
    if (reason.isEmpty())
        QCOMPARE(message, QString());
    else
        QVERIFY2(message.contains(reason), qPrintable(message));
}

QTEST_GUILESS_MAIN(TestCaseFiles)
#include "tst_casefiles.moc"
