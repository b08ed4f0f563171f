#include "documents/DocumentFile.h"

#include "store/Error.h"
#include "store/FileError.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace ravnobor::documents {

namespace {

constexpr int MaxNumber = 10000;

QString candidatePath(const QString& folder, const QString& name, int number) {
    const QString suffix = number == 1 ? QString() : QStringLiteral(" (%1)").arg(number);
    return folder + u'/' + name + suffix + QStringLiteral(".docx");
}

// The mode an ordinary new file of the user gets: the temporary file's 0600 would
// keep the document from a shared folder or another account.
mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The system's cause when it gave one, else the file layer's words.
QString failureReason(const QFileDevice& file) {
    const QString reason = fileSystemReason(errno);
    return reason.isEmpty() ? file.errorString() : reason;
}

} // namespace

QString documentFileName(const QString& caseFile, const QString& documentName) {
    const QString caseName = QFileInfo(caseFile).completeBaseName();
    return caseName.isEmpty() ? documentName : caseName + QStringLiteral(" — ") + documentName;
}

QString saveAsNewDocument(const QByteArray& docx, const QString& folder, const QString& name) {
    if (!QFileInfo(folder).isDir() && !QDir().mkpath(folder))
        throw Error(QStringLiteral("Не удалось создать папку документов «%1»").arg(folder));
    const auto cannotWrite = [&](const QString& why) {
        return Error(QStringLiteral("Не удалось записать документ «%1» в папку «%2»: %3").arg(name, folder, why));
    };

    // Written whole under a hidden name first, so only a complete file ever bears the name.
    QTemporaryFile temp(folder + QStringLiteral("/.") + name + QStringLiteral("-XXXXXX.part"));
    errno = 0;
    if (!temp.open())
        throw cannotWrite(failureReason(temp));
    errno = 0;
    if (temp.write(docx) != docx.size() || !temp.flush() || ::fsync(temp.handle()) != 0 ||
        ::fchmod(temp.handle(), newFileMode()) != 0)
        throw cannotWrite(failureReason(temp));

    for (int number = 1; number <= MaxNumber; ++number) {
        const QString path = candidatePath(folder, name, number);
        if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
            continue;
        // The rename refuses to replace a file that appeared meanwhile; then the next number.
        if (temp.rename(path)) {
            temp.setAutoRemove(false);
            return path;
        }
        if (!QFileInfo::exists(path))
            throw cannotWrite(temp.errorString());
    }
    throw cannotWrite(QStringLiteral("заняты все имена от «%1» до «%2»")
                          .arg(QFileInfo(candidatePath(folder, name, 1)).fileName(),
                               QFileInfo(candidatePath(folder, name, MaxNumber)).fileName()));
}

} // namespace ravnobor::documents
