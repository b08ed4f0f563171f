#include "store/FileError.h"

#include <cerrno>
#include <cstring>

namespace ravnobor {

QString fileSystemReason(int systemError) {
    switch (systemError) {
    case 0:
        return {};
    case ENOSPC:
        return QStringLiteral("на диске не хватает места");
    case EDQUOT:
        return QStringLiteral("превышена дисковая квота пользователя");
    case EACCES:
    case EPERM:
        return QStringLiteral("нет прав на запись");
    case EROFS:
        return QStringLiteral("файловая система доступна только для чтения");
    case EIO:
        return QStringLiteral("ошибка ввода-вывода на диске");
    case EFBIG:
        return QStringLiteral("файл превышает допустимый размер");
    case ENAMETOOLONG:
        return QStringLiteral("слишком длинное имя файла");
    default:
        return QStringLiteral("системная ошибка: %1").arg(QString::fromLocal8Bit(std::strerror(systemError)));
    }
}

} // namespace ravnobor
