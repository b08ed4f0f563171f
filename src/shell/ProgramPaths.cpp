#include "shell/ProgramPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ravnobor {

ProgramPaths ProgramPaths::fromSystem() {
    ProgramPaths paths;
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString shared = QDir::cleanPath(exeDir + QStringLiteral("/../share/ravnobor"));
    // A built program keeps its files beside the executable, an installed one in share/.
    paths.installed = !QFileInfo::exists(exeDir + QStringLiteral("/default.mdb"));
    paths.appDir = !paths.installed || !QFileInfo::exists(shared) ? exeDir : shared;
    paths.documentsRoot = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (paths.documentsRoot.isEmpty())
        paths.documentsRoot = QDir::homePath();
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    paths.dataDir = (userData.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : userData) +
                    QStringLiteral("/ravnobor");
    return paths;
}

QString ProgramPaths::workingCopyPath() const {
    // The same choice the working copy makes: its own folder when writable, else the data folder.
    const QString own = programWorkFolder();
    const QFileInfo folder(own);
    const bool useOwn = !own.isEmpty() && folder.isDir() && folder.isWritable();
    return (useOwn ? own : dataDir) + QStringLiteral("/temp.rvb");
}

} // namespace ravnobor
