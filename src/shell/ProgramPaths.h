#pragma once

#include <QString>

namespace ravnobor {

// Where the program finds its files and where it keeps the user's.
struct ProgramPaths {
    QString appDir;        // default.mdb, Пример.rvb, help/, document templates
    QString documentsRoot; // the user's documents folder (the home folder when there is none)
    QString dataDir;       // per-user data folder, for the working copy when appDir is read-only

    static ProgramPaths fromSystem();

    QString templatePath() const { return appDir + QStringLiteral("/default.mdb"); }
    QString examplePath() const { return appDir + QStringLiteral("/Пример.rvb"); }
    QString helpDir() const { return appDir + QStringLiteral("/help"); }
    QString documentsFolder() const { return documentsRoot + QStringLiteral("/Равнобор"); }
};

} // namespace ravnobor
