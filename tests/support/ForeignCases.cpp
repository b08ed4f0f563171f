#include "support/ForeignCases.h"

#include "store/Database.h"
#include "support/TestProgram.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace ravnobor::test {

namespace {

void copyAs(const QString& from, const QString& to) {
    QFile::remove(to);
    QVERIFY2(QFile::copy(from, to), qPrintable(from));
}

void removeWithSidecars(const QString& path) {
    QFile::remove(path);
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        QFile::remove(path + QLatin1String(suffix));
}

QString check(const QString& path, const QString& pragma) {
    store::Database db(path, store::Database::Mode::ReadOnly);
    store::Statement statement = db.prepare(pragma);
    QStringList lines;
    while (statement.step())
        lines << statement.text(0);
    return lines.join(u'\n');
}

void patchByte(const QString& path, qint64 offset, char value) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.seek(offset));
    QCOMPARE(file.write(&value, 1), 1);
}

} // namespace

void runSqliteProgram(const QString& path, const QString& sql) {
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {QStringLiteral("-bail"), path, sql});
    QVERIFY2(sqlite.waitForFinished(30000), "sqlite3 did not finish");
    QVERIFY2(sqlite.exitStatus() == QProcess::NormalExit && sqlite.exitCode() == 0,
             sqlite.readAllStandardError().constData());
}

QString quickCheck(const QString& path) {
    return check(path, QStringLiteral("PRAGMA quick_check"));
}

QString integrityCheck(const QString& path) {
    return check(path, QStringLiteral("PRAGMA integrity_check"));
}

QList<ItemRow> numberedItems(int count) {
    QList<ItemRow> rows;
    for (int i = 0; i < count; ++i)
        rows.append({QStringLiteral("Предмет %1").arg(i), 1000.0 + i, 1100.0 + i, QVariant(), 1, QVariant()});
    return rows;
}

QStringList sidecarsOf(const QString& path) {
    QStringList found;
    for (const char* suffix : {"-wal", "-shm", "-journal"})
        if (QFile::exists(path + QLatin1String(suffix)))
            found << path + QLatin1String(suffix);
    return found;
}

void makeCaseWithCommittedWal(const QString& path) {
    const QString writerFile = path + QStringLiteral(".writer");
    makeCase(writerFile, numberedItems(5));
    store::Database writer(writerFile);
    writer.execute(QStringLiteral("PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0"));
    writer.execute(QStringLiteral(
        "INSERT INTO \"Таблица\" (\"Наименование\", \"Цена 1\", \"1_ц1\") VALUES ('Дача', 500, 1), ('Лодка', 70, 1);"
        "UPDATE \"Поля\" SET \"Фамилия 1\" = 'Иванов'"));
    // What the disk holds when the writer ends without closing: the committed rows only in the WAL.
    for (const QString& suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        copyAs(writerFile + suffix, path + suffix);
    writer.close();
    removeWithSidecars(writerFile);
}

void makeCaseWithHotJournal(const QString& path, int count) {
    const QString writerFile = path + QStringLiteral(".writer");
    makeCase(writerFile, numberedItems(count));
    store::Database writer(writerFile);
    writer.execute(QStringLiteral("PRAGMA cache_size = 1; BEGIN;"
                                  "UPDATE \"Таблица\" SET \"Наименование\" = \"Наименование\" || ' — переименован "
                                  "другой программой, чтобы строки не помещались на прежних страницах';"
                                  "DELETE FROM \"Таблица\" WHERE \"Код\" % 3 = 0"));
    // The pages that did not fit the cache are already in the file; the journal holds their old content.
    copyAs(writerFile, path);
    copyAs(writerFile + QStringLiteral("-journal"), path + QStringLiteral("-journal"));
    writer.execute(QStringLiteral("ROLLBACK"));
    writer.close();
    removeWithSidecars(writerFile);
}

void makeCaseWithUselessJournal(const QString& path, int count) {
    makeCaseWithHotJournal(path, count);
    QFile journal(path + QStringLiteral("-journal"));
    QVERIFY(journal.resize(100));
}

void makeCaseOfNewerWriteVersion(const QString& path) {
    makeCase(path, numberedItems(3));
    constexpr qint64 WriteVersion = 18;
    patchByte(path, WriteVersion, 3);
}

void makeCaseWithStaleIndex(const QString& path) {
    makeCase(path, numberedItems(3));
    runSqliteProgram(path,
                     QStringLiteral("CREATE INDEX \"По наименованию\" ON \"Таблица\" (\"Наименование\");"
                                    "PRAGMA writable_schema = ON;"
                                    "UPDATE sqlite_schema SET sql = 'CREATE INDEX \"По наименованию\" ON \"Таблица\" "
                                    "(\"Заметки\")' WHERE name = 'По наименованию'"));
}

void makeCaseWithUnknownFunctionIndex(const QString& path) {
    makeCase(path, numberedItems(3));
    runSqliteProgram(path, QStringLiteral("CREATE INDEX \"По звучанию\" ON \"Таблица\" (lower(\"Наименование\"));"
                                          "PRAGMA writable_schema = ON;"
                                          "UPDATE sqlite_schema SET sql = 'CREATE INDEX \"По звучанию\" ON \"Таблица\" "
                                          "(metaphone(\"Наименование\"))' WHERE name = 'По звучанию'"));
}

} // namespace ravnobor::test
