#include "BenchSupport.h"

#include "store/Database.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace ravnobor::bench {

double msSince(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double medianMs(int runs, const std::function<void()>& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        times.push_back(msSince(timer));
    }
    return median(std::move(times));
}

QString builtFile(const QString& name) {
    return QStringLiteral(RAVNOBOR_BIN_DIR) + u'/' + name;
}

void makeCase(const QString& path, int items, const QString& insertSql,
              const std::function<void(store::Statement& insert, int i)>& bindItem) {
    QFile::remove(path);
    QFile::copy(builtFile(QStringLiteral("default.mdb")), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    store::Database db(path);
    store::Transaction transaction(db);
    store::Statement insert = db.prepare(insertSql);
    for (int i = 0; i < items; ++i) {
        bindItem(insert, i);
        insert.run();
        insert.reset();
    }
    transaction.commit();
}

BenchFolder::BenchFolder() {
    const ProgramPaths where = paths();
    QDir().mkpath(where.appDir);
    QDir().mkpath(where.documentsRoot);
    for (const QString& file : {QStringLiteral("default.mdb"), QStringLiteral("Пример.rvb")})
        QFile::copy(builtFile(file), where.appDir + u'/' + file);
}

ProgramPaths BenchFolder::paths() const {
    return {filePath(QStringLiteral("app")), filePath(QStringLiteral("docs")), filePath(QStringLiteral("data"))};
}

Program& BenchProgram::start(const QStringList& arguments) {
    m_program = createProgram(m_folder.paths(), dialogs, desktop);
    m_program->startUp(arguments);
    return *m_program;
}

} // namespace ravnobor::bench
