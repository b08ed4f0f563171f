#pragma once

#include "shell/Program.h"
#include "support/TestDoubles.h"

#include <QTemporaryDir>

#include <memory>

namespace ravnobor::test {

// A whole program built in-process over a private folder: its own copy of the files
// beside the executable, its own documents folder and working copy.
class TestProgram {
public:
    TestProgram();

    // Builds the windows and runs start-up with these arguments.
    Program& start(const QStringList& arguments = {});
    Program& program() { return *m_program; }

    QString appDir() const { return m_root.path() + QStringLiteral("/app"); }
    QString documentsRoot() const { return m_root.path() + QStringLiteral("/docs"); }
    QString path(const QString& name) const { return m_root.path() + u'/' + name; }

    ScriptedUserDialogs dialogs;
    RecordingDesktopOpener desktop;
    bool installed = false; // started as an installed program: its own folder is not for the working copy

private:
    QTemporaryDir m_root;
    std::unique_ptr<Program> m_program;
};

// The file beside the built executable (default.mdb, Пример.rvb, help/...).
QString builtFile(const QString& name);

// A case file made in code: the template's layout with these rows of
// (name, price1, price2, agreed, alloc variant 1, alloc variant 2); null prices as NaN.
struct ItemRow {
    QString name;
    QVariant price1, price2, agreed;
    QVariant alloc1, alloc2;
};
void makeCase(const QString& path, const QList<ItemRow>& rows);

} // namespace ravnobor::test
