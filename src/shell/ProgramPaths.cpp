#include "shell/ProgramPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace ravnobor {

ProgramPaths ProgramPaths::fromSystem() {
    ProgramPaths paths;
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString installed = QDir::cleanPath(exeDir + QStringLiteral("/../share/ravnobor"));
    // A built program keeps its files beside the executable, an installed one in share/.
    paths.appDir = QFileInfo::exists(exeDir + QStringLiteral("/default.mdb")) || !QFileInfo::exists(installed)
                       ? exeDir
                       : installed;
    paths.documentsRoot = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (paths.documentsRoot.isEmpty())
        paths.documentsRoot = QDir::homePath();
    paths.dataDir = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return paths;
}

} // namespace ravnobor
