#pragma once

#include <QString>

namespace ravnobor {

// Where the program finds its files and where it keeps the user's.
struct ProgramPaths {
    QString appDir;         // default.mdb, Пример.rvb, help/, document templates
    QString documentsRoot;  // the user's documents folder (the home folder when there is none)
    QString dataDir;        // per-user data folder, private to the user, for the working copy
    bool installed = false; // an installed program never writes beside its executable

    static ProgramPaths fromSystem();

    QString templatePath() const { return appDir + QStringLiteral("/default.mdb"); }
    QString examplePath() const { return appDir + QStringLiteral("/Пример.rvb"); }
    QString helpDir() const { return appDir + QStringLiteral("/help"); }
    QString documentsFolder() const { return documentsRoot + QStringLiteral("/Равнобор"); }
    // The folder tried first for the working copy: a built program's own folder; none for an
    // installed one, whose folders belong to the system even when root could write there.
    QString programWorkFolder() const { return installed ? QString() : appDir; }
    // Where the first running program keeps its working copy.
    QString workingCopyPath() const;
};

} // namespace ravnobor
