#pragma once

#include <QString>

#include <memory>

class QLockFile;

// Case files on disk: the working copy the program edits, loading a case into it
// only after the case is known good, and writing it back atomically. No windows.
namespace ravnobor::casefiles {

// The working copy of this running program. A lock file guards it, so a second
// running program takes the next free name (temp.rvb, temp-2.rvb, ...) instead of
// overwriting the first one's case.
class WorkingCopy {
public:
    // The program's own folder when it is writable, else the per-user data folder, made
    // private to the user (0700; the working copy itself 0600). An empty appDir: the data folder.
    WorkingCopy(const QString& appDir, const QString& dataDir);
    ~WorkingCopy();
    WorkingCopy(const WorkingCopy&) = delete;
    WorkingCopy& operator=(const WorkingCopy&) = delete;

    const QString& path() const { return m_path; }
    const QString& folder() const { return m_folder; }
    // The private file a case is copied into and checked in before it replaces the working copy.
    QString incomingPath() const { return m_path + QStringLiteral(".incoming"); }

    // Copies the case file into the incoming file and checks it there; throws an Error
    // that says why the file is not a case. The working copy is not touched.
    void prepare(const QString& caseFile);
    // The empty case built from the layout in code, as the incoming file.
    void prepareEmpty();
    // The incoming file takes the working copy's name. Every connection to the working
    // copy must be closed: a journal left beside it would be rolled into the new case,
    // so it is deleted first.
    void install();
    // Drops a prepared file that will not be used.
    void discard();

    // True for a path that names a working copy of any running program in these folders.
    bool isWorkingCopyFile(const QString& canonicalPath) const;

private:
    void takeFolder(const QString& folder);

    QString m_appDir;
    QString m_dataDir;
    QString m_folder;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

// Removes the rollback journal and WAL files that a crash may have left beside a database.
void removeJournals(const QString& databasePath);

// The absolute path with symbolic links resolved, also for a file that does not exist yet.
QString canonicalTarget(const QString& path);

// Throws when a Save to this target would overwrite one of the program's own files.
void checkSaveTarget(const QString& target, const QString& templatePath, const QString& examplePath,
                     const WorkingCopy& workingCopy);

// Writes the closed working copy over the target through a temporary file beside it,
// synced and renamed, so the old file stays whole when anything fails. Throws an
// Error naming the target and the reason.
void writeCaseFile(const QString& workingCopy, const QString& target);

} // namespace ravnobor::casefiles
