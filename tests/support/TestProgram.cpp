#include "support/TestProgram.h"

#include "shell/Application.h"
#include "shell/TFormMain.h"
#include "store/Database.h"
#include "store/Layout.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace ravnobor::test {

QString builtFile(const QString& name) {
    return QStringLiteral(RAVNOBOR_BIN_DIR) + u'/' + name;
}

TestProgram::TestProgram() {
    QDir().mkpath(appDir());
    QDir().mkpath(documentsRoot());
    for (const QString& file : {QStringLiteral("default.mdb"), QStringLiteral("Пример.rvb")})
        QFile::copy(builtFile(file), appDir() + u'/' + file);
    const QDir bin(QStringLiteral(RAVNOBOR_BIN_DIR));
    for (const QString& entry : bin.entryList(QDir::Files)) {
        if (entry.endsWith(QStringLiteral(".dotx")))
            QFile::copy(bin.filePath(entry), appDir() + u'/' + entry);
    }
    if (bin.exists(QStringLiteral("help"))) {
        QDir().mkpath(appDir() + QStringLiteral("/help"));
        const QDir help(bin.filePath(QStringLiteral("help")));
        for (const QString& entry : help.entryList(QDir::Files))
            QFile::copy(help.filePath(entry), appDir() + QStringLiteral("/help/") + entry);
    }
}

Program& TestProgram::start(const QStringList& arguments) {
    ProgramPaths paths{appDir(), documentsRoot(), m_root.path() + QStringLiteral("/data")};
    paths.installed = installed;
    m_program = createProgram(paths, dialogs, desktop);
    m_program->startUp(arguments);
    return *m_program;
}

void makeCase(const QString& path, const QList<ItemRow>& rows) {
    QFile::remove(path);
    QVERIFY(QFile::copy(builtFile(QStringLiteral("default.mdb")), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    store::Database db(path);
    store::Transaction transaction(db);
    store::Statement insert = db.prepare(QStringLiteral(
        "INSERT INTO \"Таблица\" (\"Наименование\", \"Цена 1\", \"Цена 2\", \"Согласованная цена\", \"1_ц1\", "
        "\"2_ц1\") VALUES (?, ?, ?, ?, ?, ?)"));
    for (const ItemRow& row : rows) {
        insert.bind(1, row.name).bind(2, row.price1).bind(3, row.price2).bind(4, row.agreed);
        insert.bind(5, row.alloc1).bind(6, row.alloc2);
        insert.run();
        insert.reset();
    }
    transaction.commit();
}

} // namespace ravnobor::test
