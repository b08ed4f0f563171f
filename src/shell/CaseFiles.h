#pragma once

#include <QString>

#include <memory>
#include <optional>

class QLockFile;

// Case files on disk: the working copy the program edits, loading a case into it
// only after the case is known good, and writing it back atomically. No windows.
namespace ravnobor::casefiles {

// What a working copy holds, kept in a small file beside it so that a program that
// was killed can be recovered from: the case file it came from (empty for a case
// never saved) and whether it holds changes that are not saved.
struct RecoveryRecord {
    QString caseFile;
    bool unsaved = false;
};

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
    // The private file a case is built and checked in before it replaces the working copy.
    QString incomingPath() const { return m_path + QStringLiteral(".incoming"); }
    // The private copy of the case file, with the journal or WAL beside it under matching names.
    QString sourcePath() const { return m_path + QStringLiteral(".source"); }

    // Copies the case file and the journal or WAL beside it into the source copy, lets
    // SQLite apply them there and builds the incoming file from it; throws an Error that
    // says why the file is not a case. Neither the case file, nor the files beside it,
    // nor the working copy are touched.
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

    // The record beside the working copy; replaced whole, so a kill at any instant
    // leaves either the old record or the new one.
    QString recordPath() const { return m_path + QStringLiteral(".state"); }
    void writeRecord(const RecoveryRecord& record) const;
    // Unsaved changes that a program which is gone left in this working copy; asked
    // about once, at start.
    const std::optional<RecoveryRecord>& leftBehind() const { return m_leftBehind; }
    void forgetLeftBehind() { m_leftBehind.reset(); }
    // Prepares what was left behind like any case file, after a write that was cut off
    // in the middle has been rolled back by its journal.
    void prepareLeftBehind();

private:
    void takeFolder(const QString& folder);
    void readLeftBehind();

    QString m_appDir;
    QString m_dataDir;
    QString m_folder;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    std::optional<RecoveryRecord> m_leftBehind;
};

// Reads a record; empty when there is none or it cannot be read.
std::optional<RecoveryRecord> readRecoveryRecord(const QString& recordPath);

// Removes the rollback journal and WAL files that a crash may have left beside a database.
void removeJournals(const QString& databasePath);

// Copies a file into a fresh one (fresh, so a read-only file gives a writable copy),
// reading only the parts that hold data: the holes of a sparse file stay holes.
void copyFileContent(const QString& source, const QString& destination);

// The absolute path with symbolic links resolved, also for a file that does not exist yet.
QString canonicalTarget(const QString& path);

// Throws when a Save to this target would overwrite one of the program's own files.
void checkSaveTarget(const QString& target, const QString& templatePath, const QString& examplePath,
                     const WorkingCopy& workingCopy);

// Writes the closed working copy over the target through a temporary file beside it,
// synced and renamed, so the old file stays whole when anything fails; then removes the
// journal and WAL files of the replaced file. Throws an Error naming the target and the reason.
void writeCaseFile(const QString& workingCopy, const QString& target);

} // namespace ravnobor::casefiles
