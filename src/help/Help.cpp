#include "help/Help.h"

#include "help/HelpLinks.h"
#include "shell/Program.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace ravnobor {

namespace {

// The user asked for something and must not be left waiting in silence.
void warnNotOpened(Program& program, const QString& what, const QString& why) {
    program.dialogs.message(QApplication::activeWindow(), QMessageBox::Warning, QStringLiteral("Внимание!"),
                            QStringLiteral("Не удалось открыть %1: %2.").arg(what, why), QMessageBox::Ok);
}

void handOver(Program& program, const QUrl& url, const QString& what, const QString& noOpener) {
    if (!program.desktop.openUrl(url))
        warnNotOpened(program, what, noOpener);
}

void openPage(Program& program, const QString& path) {
    const QString whole = QFileInfo(path).absoluteFilePath();
    if (!QFileInfo(whole).isFile()) {
        warnNotOpened(program, QStringLiteral("справку"),
                      QStringLiteral("нет файла «%1»").arg(QDir::toNativeSeparators(whole)));
        return;
    }
    handOver(program, QUrl::fromLocalFile(whole), QStringLiteral("справку"),
             QStringLiteral("не найдена программа для просмотра страниц"));
}

} // namespace

QString helpTopicPath(const Program& program, int topic) {
    return program.paths.helpDir() + u'/' + QString::number(topic) + QStringLiteral(".html");
}

void ShowHelpTopic(Program& program, int topic) {
    openPage(program, helpTopicPath(program, topic));
}

void ShowHelpContents(Program& program) {
    const QString contents = program.state.helpFilePath.isEmpty()
                                 ? program.paths.helpDir() + QStringLiteral("/index.html")
                                 : program.state.helpFilePath;
    openPage(program, contents);
}

void openWebPage(Program& program) {
    handOver(program, links::webPageUrl(), QStringLiteral("страницу программы"),
             QStringLiteral("не найдена программа для просмотра страниц"));
}

void openMailToDevelopers(Program& program) {
    handOver(program, links::mailUrl(), QStringLiteral("письмо разработчикам"),
             QStringLiteral("не найдена почтовая программа"));
}

} // namespace ravnobor
