#include "sheets/SpreadsheetFile.h"

#include "sheets/DelimitedText.h"
#include "sheets/OdsReader.h"
#include "sheets/TextDecoding.h"
#include "sheets/XlsxReader.h"
#include "store/Error.h"

#include <QFile>
#include <QFileInfo>

namespace ravnobor::sheets {

namespace {

Error refused(const QString& path, const QString& why) {
    return Error(QStringLiteral("Файл «%1» не удалось прочитать: %2.").arg(path, why));
}

QByteArray head(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw refused(path, file.errorString());
    return file.read(4);
}

Workbook readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw refused(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (bytes.contains('\0'))
        throw refused(path, QStringLiteral("это не текстовый файл"));
    const QString text = decodeText(bytes);
    Workbook workbook;
    workbook.sheets.push_back(readDelimited(text, guessDelimiter(text)));
    workbook.sheets.back().name = QFileInfo(path).completeBaseName();
    return workbook;
}

} // namespace

bool isDelimitedTextFile(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix != QStringLiteral("xlsx") && suffix != QStringLiteral("ods");
}

Workbook readSpreadsheet(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile())
        throw refused(path, QStringLiteral("файл не найден"));
    if (info.size() > MaxFileSize)
        throw refused(path, QStringLiteral("файл больше 100 МБ"));
    const bool zip = head(path).startsWith("PK\x03\x04");
    const QString suffix = info.suffix().toLower();
    if (suffix == QStringLiteral("xlsx")) {
        if (!zip)
            throw refused(path, QStringLiteral("это не книга Excel (.xlsx)"));
        return readXlsx(path);
    }
    if (suffix == QStringLiteral("ods")) {
        if (!zip)
            throw refused(path, QStringLiteral("это не таблица OpenDocument (.ods)"));
        return readOds(path);
    }
    if (zip)
        throw refused(path, QStringLiteral("это архив, а не текстовая таблица"));
    return readText(path);
}

} // namespace ravnobor::sheets
