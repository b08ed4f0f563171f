#include "shell/Application.h"

#include "shell/UserDialogs.h"
#include "store/Error.h"

#include "Version.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

namespace ravnobor {

namespace {

// A message handler is a plain function, so what it hands on to lives at file level.
QtMessageHandler previousHandler = nullptr;
bool guardInstalled = false;

// Until the application object stands, a display that is named but cannot be reached
// ends the program with one clear line instead of Qt's abort and its plugin report.
void displayGuard(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        const QString display = qEnvironmentVariable("DISPLAY", qEnvironmentVariable("WAYLAND_DISPLAY"));
        std::fprintf(stderr, "%s\n",
                     QStringLiteral("Равнобор: не удалось подключиться к графическому дисплею «%1», программу можно "
                                    "запустить только в графическом сеансе.")
                         .arg(display)
                         .toLocal8Bit()
                         .constData());
        std::_Exit(1);
    }
    if (context.category && QByteArray(context.category).startsWith("qt.qpa"))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // The X11 window class, by which the desktop matches the windows to their entry.
    setApplicationName(QLatin1String(ProgramId));
    setOrganizationName(QStringLiteral("ravnobor"));
    setApplicationVersion(QLatin1String(ProgramVersion));
    loadRussianTranslations(*this);
    if (guardInstalled) { // the display answered
        qInstallMessageHandler(previousHandler);
        guardInstalled = false;
    }
}

void Application::loadRussianTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QLocale(QLocale::Russian, QLocale::Russia), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        QMessageBox::critical(activeWindow(), QStringLiteral("Равнобор"),
                              UserDialogs::errorBoxText(QString::fromUtf8(e.what())));
    }
    return false;
}

bool Application::hasDisplay(QString* reason) {
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || qEnvironmentVariableIsSet("DISPLAY") ||
        qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) {
        if (!guardInstalled)
            previousHandler = qInstallMessageHandler(displayGuard);
        guardInstalled = true;
        return true;
    }
    *reason = QStringLiteral("Равнобор: нет графического дисплея (не заданы DISPLAY и WAYLAND_DISPLAY), "
                             "программу можно запустить только в графическом сеансе.");
    return false;
}

} // namespace ravnobor
