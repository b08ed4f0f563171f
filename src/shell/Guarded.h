#pragma once

#include "shell/UserDialogs.h"
#include "store/Error.h"

#include <QWidget>

#include <exception>
#include <utility>

namespace ravnobor {

// Wraps a command so an exception ends only that command and shows the general
// error box; throwing out of a slot that a signal invoked is undefined in Qt.
template <typename Command> auto guarded(UserDialogs& dialogs, QWidget* owner, Command command) {
    return [&dialogs, owner, command = std::move(command)](auto&&...) mutable {
        try {
            command();
        } catch (const Error& e) {
            dialogs.showError(owner, e.message());
        } catch (const std::exception& e) {
            dialogs.showError(owner, QString::fromUtf8(e.what()));
        }
    };
}

} // namespace ravnobor
