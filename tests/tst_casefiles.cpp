// Case files on disk without windows: checking a file before it becomes the working
// copy, the working copy's lock, and the atomic write of a Save.
#include "shell/CaseFiles.h"
#include "store/CaseValidator.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/Layout.h"
#include "store/TDataModule1.h"
#include "support/TestProgram.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
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

} // namespace

Q_DECLARE_METATYPE(Fixture)

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
    void saveWritesAnExactCopy();
    void saveFollowsSymlinkAndKeepsPermissions();
    void failedSaveLeavesOldFileWhole();
    void saveToMissingFolderSaysWhere();
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
    }) << "Файл не является базой данных программы «Равнобор»";
    QTest::newRow("truncated") << Fixture([](const QString& d, QString& p) {
        p = badCasePath(d);
        makeCase(p, someItems(3000));
        QFile f(p);
        QVERIFY(f.resize(f.size() / 2));
    }) << "Файл повреждён";
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
        QVERIFY2(!e.message().contains(u'\n'), "the reason is one line");
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
    QVERIFY2(message.startsWith(QStringLiteral("Не удалось сохранить файл «") + target + QStringLiteral("»: ")),
             qPrintable(message));
    QCOMPARE(fileBytes(target), before);
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("*Дело*")}, QDir::Files | QDir::Hidden).size(), 1);
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
