#include "shell/CaseFileRules.h"

#include <QFileInfo>

namespace ravnobor::caserules {

std::optional<QString> caseFromCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty())
        return std::nullopt;
    const QString joined = arguments.join(u' ');
    if (joined.size() > 3 && joined.endsWith(QStringLiteral(".rvb"), Qt::CaseSensitive))
        return joined;
    return std::nullopt;
}

QString windowTitle(const QString& caseFileName) {
    const QFileInfo info(caseFileName);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot >= 0 && name.mid(dot) == QStringLiteral(".mdb"))
        return QStringLiteral("Равнобор - Файл без имени ");
    QString folder = info.absolutePath();
    if (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return QStringLiteral("Равнобор - ") + name + QStringLiteral("  ") + folder;
}

QString statusSummary(int totalRecords, int left, int centre, int right) {
    return QStringLiteral("  Всего записей: %1     Записи распределены: %2/%3/%4")
        .arg(totalRecords)
        .arg(left)
        .arg(centre)
        .arg(right);
}

QString longTimeFormatWithoutZone(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        result += c;
    }
    return result.trimmed();
}

QString timeText(const QTime& time, const QLocale& locale) {
    return locale.toString(time, longTimeFormatWithoutZone(locale));
}

} // namespace ravnobor::caserules
