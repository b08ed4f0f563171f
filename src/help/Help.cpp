#include "help/Help.h"

#include "help/HelpLinks.h"
#include "shell/Program.h"

#include <QFileInfo>
#include <QUrl>

namespace ravnobor {

namespace {

// The page goes to the user's browser; what the browser makes of a missing page or
// a missing browser is the desktop's business, so the result is not looked at.
void openPage(Program& program, const QString& path) {
    program.desktop.openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
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
    program.desktop.openUrl(links::webPageUrl());
}

void openMailToDevelopers(Program& program) {
    program.desktop.openUrl(links::mailUrl());
}

} // namespace ravnobor
