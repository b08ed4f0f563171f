#include "shell/CaseFiles.h"

#include "store/CaseValidator.h"
#include "store/Error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <filesystem>

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

// Copies a file byte for byte into a fresh file (fresh, so a read-only case gives a
// writable copy); the header is checked before anything is written.
void copyCaseInto(const QString& source, const QString& destination) {
    store::casecheck::checkHeader(source);
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Файл «%1» не удалось прочитать: %2.").arg(source, in.errorString()));
    QFile out(destination);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Error(QStringLiteral("Не удалось создать временный файл «%1»: %2.").arg(destination, out.errorString()));
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(CopyChunk);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            throw Error(QStringLiteral("Файл «%1» не удалось прочитать: %2.").arg(source, in.errorString()));
        if (out.write(chunk) != chunk.size())
            throw Error(
                QStringLiteral("Не удалось записать временный файл «%1»: %2.").arg(destination, out.errorString()));
    }
    if (!out.flush())
        throw Error(QStringLiteral("Не удалось записать временный файл «%1»: %2.").arg(destination, out.errorString()));
}

QString saveFailureReason(const QFileDevice& file) {
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

WorkingCopy::~WorkingCopy() = default;

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
            return;
        }
        if (lock->error() != QLockFile::LockFailedError)
            return; // the folder does not take a lock file: try the next folder
    }
}

void WorkingCopy::prepare(const QString& caseFile) {
    discard();
    try {
        copyCaseInto(caseFile, incomingPath());
        store::casecheck::prepareIncomingCase(incomingPath());
    } catch (...) {
        discard();
        throw;
    }
}

void WorkingCopy::prepareEmpty() {
    discard();
    try {
        store::casecheck::createEmptyCase(incomingPath());
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
    QFile::remove(incomingPath());
    removeJournals(incomingPath());
}

bool WorkingCopy::isWorkingCopyFile(const QString& canonicalPath) const {
    static const QRegularExpression name(QStringLiteral("^temp(-[0-9]+)?\\.rvb(\\.incoming)?$"));
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
    if (!out.open(QIODevice::WriteOnly))
        failSave(target, saveFailureReason(out));
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(CopyChunk);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            failSave(target, QStringLiteral("рабочая копия не читается (%1)").arg(in.errorString()));
        if (out.write(chunk) != chunk.size())
            failSave(target, saveFailureReason(out));
    }
    if (!out.commit())
        failSave(target, saveFailureReason(out));
}

} // namespace ravnobor::casefiles
