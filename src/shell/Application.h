#pragma once

#include <QApplication>

namespace ravnobor {

// The application object: Russian texts for Qt's own dialogs, and the last net for
// an exception that escaped a command.
class Application final : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // False, with a one-line reason, when there is no display to show windows on.
    static bool hasDisplay(QString* reason);
    static void loadRussianTranslations(QCoreApplication& app);
};

} // namespace ravnobor
