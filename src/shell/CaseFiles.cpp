#include "shell/CaseFiles.h"

#include "store/CaseValidator.h"
#include "store/Database.h"
#include "store/Error.h"
#include "store/FileError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStorageInfo>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>

#include <unistd.h>

namespace ravnobor::casefiles {

namespace {

constexpr int MaxInstances = 99;
constexpr qint64 CopyChunk = 1 << 20;

QString workingCopyName(int instance) {
    return instance == 1 ? QStringLiteral("temp.rvb") : QStringLiteral("temp-%1.rvb").arg(instance);
}

bool isWritableFolder(const QString& folder) {
    return !folder.isEmpty() && QDir().mkpath(folder) && QFileInfo(folder).isWritable();
}

// The working copy holds the parties' names, addresses and property: its folder in the
// user's data is open to the user alone, and so is the copy itself.
constexpr QFile::Permissions PrivateFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions PrivateFile = QFile::ReadOwner | QFile::WriteOwner;

bool isPrivateFolder(const QString& folder) {
    if (!isWritableFolder(folder))
        return false;
    QFile::setPermissions(folder, PrivateFolder); // a file system without modes keeps its own
    return true;
}

[[noreturn]] void failRead(const QString& path, const QFileDevice& file) {
    throw Error(QStringLiteral("Файл «%1» не удалось прочитать: %2.").arg(path, file.errorString()));
}

[[noreturn]] void failWrite(const QString& path, const QFileDevice& file) {
    throw Error(QStringLiteral("Не удалось записать временный файл «%1»: %2.").arg(path, file.errorString()));
}

void copyRange(QFile& in, QFile& out, qint64 from, qint64 to) {
    if (!in.seek(from))
        failRead(in.fileName(), in);
    if (!out.seek(from))
        failWrite(out.fileName(), out);
    for (qint64 at = from; at < to;) {
        const QByteArray chunk = in.read(std::min(CopyChunk, to - at));
        if (chunk.isEmpty())
            failRead(in.fileName(), in);
        if (out.write(chunk) != chunk.size())
            failWrite(out.fileName(), out);
        at += chunk.size();
    }
}

// The next stretch of data at or after `from`, as [start, end); start == size when only a
// hole is left. A file system that cannot tell holes gives the whole rest as data.
std::pair<qint64, qint64> nextData(int handle, qint64 from, qint64 size) {
    const off_t start = ::lseek(handle, off_t(from), SEEK_DATA);
    if (start < 0)
        return errno == ENXIO ? std::pair<qint64, qint64>{size, size} : std::pair<qint64, qint64>{from, size};
    const off_t end = ::lseek(handle, start, SEEK_HOLE);
    return {qint64(start), end < 0 ? size : std::min(qint64(end), size)};
}

const std::array<QLatin1String, 2> CaseJournals{QLatin1String("-journal"), QLatin1String("-wal")};

// A journal beside the case that SQLite would apply: a regular file with content.
bool standsBeside(const QString& journal) {
    const QFileInfo info(journal);
    return info.isFile() && info.size() > 0;
}

// A rollback journal of a write that never finished starts with the journal's magic
// number; a finished one is empty, gone or zeroed at its start.
bool isUnfinishedWrite(const QString& journal) {
    static const QByteArray magic("\xd9\xd5\x05\xf9\x20\xa1\x63\xd7", 8);
    QFile file(journal);
    return file.open(QIODevice::ReadOnly) && file.read(magic.size()) == magic;
}

// Copies the case file and any journal or WAL beside it under matching names; true when a
// rollback journal of an unfinished write was among them.
bool copyCaseWithJournals(const QString& caseFile, const QString& source) {
    store::casecheck::checkHeader(caseFile);
    copyFileContent(caseFile, source);
    bool unfinished = false;
    for (const QLatin1String suffix : CaseJournals) {
        if (!standsBeside(caseFile + suffix))
            continue;
        copyFileContent(caseFile + suffix, source + suffix);
        unfinished = unfinished || (suffix == CaseJournals[0] && isUnfinishedWrite(source + suffix));
    }
    return unfinished;
}

Error journalNotApplied(const QString& caseFile, const QString& details) {
    return Error(QStringLiteral("Рядом с файлом лежит журнал незавершённой записи «%1-journal»: по нему файл "
                                "восстановить не удалось, и файл повреждён. Если файл открыт в программе, которая "
                                "его записывала, закройте её и откройте файл снова; иначе возьмите его резервную "
                                "копию.\nПодробности: %2")
                     .arg(QFileInfo(caseFile).fileName(), details));
}

void removeDatabaseFiles(const QString& path) {
    QFile::remove(path);
    removeJournals(path);
}

// The system's own cause comes first: it says what the user can do about it.
QString saveFailureReason(const QFileDevice& file, int systemError, const QString& folder, qint64 needed) {
    if (systemError == 0 && QStorageInfo(folder).bytesAvailable() < needed)
        systemError = ENOSPC; // the cause was lost on the way; the free space tells it
    if (systemError != 0)
        return fileSystemReason(systemError);
    QString what;
    switch (file.error()) {
    case QFileDevice::OpenError:
        what = QStringLiteral("файл не удалось создать в этой папке");
        break;
    case QFileDevice::WriteError:
    case QFileDevice::ResizeError:
        what = QStringLiteral("ошибка записи (возможно, диск заполнен)");
        break;
    case QFileDevice::RenameError:
        what = QStringLiteral("не удалось заменить прежний файл");
        break;
    case QFileDevice::PermissionsError:
        what = QStringLiteral("нет прав на запись");
        break;
    default:
        what = QStringLiteral("ошибка файловой системы");
        break;
    }
    const QString system = file.errorString();
    return system.isEmpty() ? what : what + QStringLiteral(" (") + system + u')';
}

[[noreturn]] void failSave(const QString& target, const QString& reason) {
    throw Error(QStringLiteral("Не удалось сохранить файл «%1»: %2.").arg(QDir::toNativeSeparators(target), reason));
}

} // namespace

void removeJournals(const QString& databasePath) {
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        QFile::remove(databasePath + QLatin1String(suffix));
}

void copyFileContent(const QString& source, const QString& destination) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        failRead(source, in);
    QFile out(destination);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
        failWrite(destination, out);
    const qint64 size = in.size();
    for (qint64 at = 0; at < size;) {
        const auto [start, end] = nextData(in.handle(), at, size);
        if (start < end)
            copyRange(in, out, start, end);
        at = std::max(end, start + 1);
    }
    if (!out.resize(size))
        failWrite(destination, out);
}

WorkingCopy::WorkingCopy(const QString& appDir, const QString& dataDir) : m_appDir(appDir), m_dataDir(dataDir) {
    if (isWritableFolder(appDir))
        takeFolder(appDir);
    if (m_path.isEmpty() && isPrivateFolder(dataDir))
        takeFolder(dataDir);
    if (m_path.isEmpty() && appDir.isEmpty())
        throw Error(QStringLiteral("Нет папки для рабочей копии случая: «%1» недоступна для записи.").arg(dataDir));
    if (m_path.isEmpty())
        throw Error(QStringLiteral("Нет папки для рабочей копии случая: ни «%1», ни «%2» недоступны для записи.")
                        .arg(appDir, dataDir));
}

WorkingCopy::~WorkingCopy() {
    // A program that ends on its own leaves nothing to recover: what the user did not
    // save, the user chose not to save.
    if (!m_path.isEmpty())
        QFile::remove(recordPath());
}

namespace {

const QByteArray UnsavedLine = "unsaved=";
const QByteArray CaseLine = "case=";

} // namespace

void WorkingCopy::writeRecord(const RecoveryRecord& record) const {
    // Written beside and renamed over the old one: a rename is whole or not at all. The
    // disk is not waited for, as for the working copy itself.
    const QString temporary = recordPath() + QStringLiteral(".new");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return; // without a record the case is only not offered for recovery
    file.write(UnsavedLine + (record.unsaved ? "1" : "0") + '\n');
    file.write(CaseLine + record.caseFile.toUtf8() + '\n');
    file.close();
    QFile::setPermissions(temporary, PrivateFile); // it names the user's case
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(temporary).toStdString(), QFile::encodeName(recordPath()).toStdString(),
                            error);
    if (error)
        QFile::remove(temporary);
}

std::optional<RecoveryRecord> readRecoveryRecord(const QString& recordPath) {
    QFile file(recordPath);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> lines = file.read(64 * 1024).split('\n');
    if (lines.size() < 2 || !lines[0].startsWith(UnsavedLine) || !lines[1].startsWith(CaseLine))
        return std::nullopt;
    RecoveryRecord record;
    record.unsaved = lines[0].mid(UnsavedLine.size()) == "1";
    record.caseFile = QString::fromUtf8(lines[1].mid(CaseLine.size()));
    return record;
}

void WorkingCopy::prepareLeftBehind() {
    try {
        // Opening and reading lets the engine roll a hot journal back.
        store::Database db(m_path);
        db.prepare(QStringLiteral("SELECT count(*) FROM sqlite_schema")).step();
    } catch (const Error&) {
        // The check that follows says what is wrong with the file.
    }
    prepare(m_path);
}

void WorkingCopy::readLeftBehind() {
    // The lock was just taken, so whoever wrote this record is gone.
    std::optional<RecoveryRecord> record = readRecoveryRecord(recordPath());
    if (record && record->unsaved && QFileInfo(m_path).isFile())
        m_leftBehind = std::move(record);
}

void WorkingCopy::takeFolder(const QString& folder) {
    for (int instance = 1; instance <= MaxInstances; ++instance) {
        const QString path = folder + u'/' + workingCopyName(instance);
        auto lock = std::make_unique<QLockFile>(path + QStringLiteral(".lock"));
        // Only a lock whose program is gone is stale, however long a case stays open.
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            m_folder = folder;
            m_path = path;
            m_lock = std::move(lock);
            readLeftBehind();
            return;
        }
        if (lock->error() != QLockFile::LockFailedError)
            return; // the folder does not take a lock file: try the next folder
    }
}

void WorkingCopy::prepare(const QString& caseFile) {
    discard();
    try {
        const bool unfinishedWrite = copyCaseWithJournals(caseFile, sourcePath());
        try {
            store::casecheck::prepareIncomingCase(sourcePath(), incomingPath());
        } catch (const store::casecheck::UnreadableFileError& e) {
            if (unfinishedWrite)
                throw journalNotApplied(caseFile, e.details());
            throw;
        }
        removeDatabaseFiles(sourcePath());
    } catch (...) {
        discard();
        throw;
    }
}

void WorkingCopy::prepareEmpty() {
    discard();
    try {
        store::casecheck::createEmptyCase(incomingPath());
        // Like any case it is read, the template's layout gains the item share columns.
        store::Database db(incomingPath(), store::Database::Mode::ReadWrite);
        store::casecheck::ensureItemShareColumns(db);
    } catch (...) {
        discard();
        throw;
    }
}

void WorkingCopy::install() {
    const QString incoming = incomingPath();
    if (!QFileInfo::exists(incoming))
        throw Error(QStringLiteral("Нет подготовленного случая для загрузки."));
    removeJournals(incoming);
    removeJournals(m_path);
    QFile::setPermissions(incoming, PrivateFile);
    // One rename replaces the old working copy, so there is never a moment without one.
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(incoming).toStdString(), QFile::encodeName(m_path).toStdString(), error);
    if (error)
        throw Error(QStringLiteral("Не удалось заменить рабочую копию «%1»: %2.")
                        .arg(m_path, QString::fromLocal8Bit(error.message())));
}

void WorkingCopy::discard() {
    removeDatabaseFiles(sourcePath());
    removeDatabaseFiles(incomingPath());
}

bool WorkingCopy::isWorkingCopyFile(const QString& canonicalPath) const {
    static const QRegularExpression name(QStringLiteral("^temp(-[0-9]+)?\\.rvb(\\.incoming|\\.source)?$"));
    const QFileInfo info(canonicalPath);
    if (!name.match(info.fileName()).hasMatch())
        return false;
    for (const QString& folder : {m_appDir, m_dataDir, m_folder}) {
        const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
        if (!canonicalFolder.isEmpty() && info.path() == canonicalFolder)
            return true;
    }
    return false;
}

QString canonicalTarget(const QString& path) {
    const QFileInfo info(path);
    if (info.exists())
        return info.canonicalFilePath();
    if (info.isSymLink()) // a dangling link: the file it names
        return canonicalTarget(info.symLinkTarget());
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? info.absoluteFilePath() : folder + u'/' + info.fileName();
}

void checkSaveTarget(const QString& target, const QString& templatePath, const QString& examplePath,
                     const WorkingCopy& workingCopy) {
    const QString canonical = canonicalTarget(target);
    const QString shown = QDir::toNativeSeparators(target);
    if (canonical == canonicalTarget(templatePath))
        throw Error(QStringLiteral("Нельзя сохранить случай в файл «%1»: это шаблон, с которого начинается каждый "
                                   "новый случай. Выберите другое имя файла")
                        .arg(shown));
    if (canonical == canonicalTarget(examplePath))
        throw Error(
            QStringLiteral("Нельзя сохранить случай в файл «%1»: это пример, поставляемый с программой. Выберите "
                           "другое имя файла")
                .arg(shown));
    if (workingCopy.isWorkingCopyFile(canonical))
        throw Error(QStringLiteral("Нельзя сохранить случай в файл «%1»: это рабочая копия программы. Выберите "
                                   "другое имя файла")
                        .arg(shown));
}

void writeCaseFile(const QString& workingCopy, const QString& target) {
    for (const char* suffix : {"-journal", "-wal"})
        if (QFileInfo::exists(workingCopy + QLatin1String(suffix)))
            failSave(target, QStringLiteral("рабочая копия случая не закрыта"));
    const QFileInfo targetInfo(target);
    if (targetInfo.isDir())
        failSave(target, QStringLiteral("это папка, а не файл"));
    // The rename would put the case in place of a pipe or a device (a link to /dev/null).
    if (targetInfo.exists() && !targetInfo.isFile())
        failSave(target, QStringLiteral("это не обычный файл (канал, устройство или сокет)"));
    const QFileInfo folder(QFileInfo(canonicalTarget(target)).path());
    if (!folder.isDir())
        failSave(target, QStringLiteral("папка «%1» не существует").arg(QDir::toNativeSeparators(folder.filePath())));

    QFile in(workingCopy);
    if (!in.open(QIODevice::ReadOnly))
        failSave(target, QStringLiteral("рабочая копия не читается (%1)").arg(in.errorString()));
    QSaveFile out(target);
    const auto failed = [&] { failSave(target, saveFailureReason(out, errno, folder.filePath(), in.size())); };
    errno = 0;
    // Unbuffered, so that a write the disk refuses fails at once, with the system's cause.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        failed();
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(CopyChunk);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            failSave(target, QStringLiteral("рабочая копия не читается (%1)").arg(in.errorString()));
        errno = 0;
        if (out.write(chunk) != chunk.size())
            failed();
    }
    errno = 0;
    if (!out.commit())
        failed();
    // A journal or WAL beside the replaced file belongs to its old content: SQLite would
    // apply it to the saved case the next time any program opens it.
    for (const QString& path : {target, canonicalTarget(target)})
        for (const char* suffix : {"-journal", "-wal", "-shm"})
            if (QFileInfo(path + QLatin1String(suffix)).isFile())
                QFile::remove(path + QLatin1String(suffix));
}

} // namespace ravnobor::casefiles
