#include "shell/Application.h"

#include "shell/UserDialogs.h"
#include "store/Error.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>

namespace ravnobor {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("ravnobor"));
    setApplicationDisplayName(QStringLiteral("Равнобор"));
    setOrganizationName(QStringLiteral("ravnobor"));
    loadRussianTranslations(*this);
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
        qEnvironmentVariableIsSet("WAYLAND_DISPLAY"))
        return true;
    *reason = QStringLiteral("Равнобор: нет графического дисплея (не заданы DISPLAY и WAYLAND_DISPLAY), "
                             "программу можно запустить только в графическом сеансе.");
    return false;
}

} // namespace ravnobor
