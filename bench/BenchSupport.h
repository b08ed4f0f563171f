#pragma once

#include "shell/Program.h"
#include "shell/ProgramPaths.h"
#include "support/TestDoubles.h"

#include <QElapsedTimer>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <vector>

namespace ravnobor::store {
class Statement;
}

// What every benchmark program needs: timing, a case of N items, a folder and the program to run in it.
namespace ravnobor::bench {

double msSince(const QElapsedTimer& timer);

// The middle value: steadier than the mean when other work shares the machine.
double median(std::vector<double> values);

// The median of `runs` timed calls of `run`, in milliseconds.
double medianMs(int runs, const std::function<void()>& run);

// The file beside the built executable (default.mdb, Пример.rvb, the document templates).
QString builtFile(const QString& name);

// A case at `path` made from the empty template: `insertSql` prepared once, then
// `bindItem(insert, i)` binds item i before it is inserted, all in one transaction.
void makeCase(const QString& path, int items, const QString& insertSql,
              const std::function<void(store::Statement& insert, int i)>& bindItem);

// A private folder laid out as the program finds it: app/ with default.mdb and Пример.rvb,
// an empty docs/ for the user's documents, and data/ (made when needed) for the working copy.
class BenchFolder {
public:
    BenchFolder();

    QString filePath(const QString& name) const { return m_root.filePath(name); }
    ProgramPaths paths() const;

private:
    QTemporaryDir m_root;
};

// The whole program over a bench folder, its message boxes and file dialogs answered by script.
class BenchProgram {
public:
    explicit BenchProgram(const BenchFolder& folder) : m_folder(folder) {}

    // Builds the windows and runs start-up with these arguments.
    Program& start(const QStringList& arguments = {});

    ScriptedUserDialogs dialogs;
    RecordingDesktopOpener desktop;

private:
    const BenchFolder& m_folder;
    std::unique_ptr<Program> m_program;
};

} // namespace ravnobor::bench
