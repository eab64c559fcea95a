#pragma once

#include <QString>
#include <exception>

#include "desktop/failure_log.h"
#include "desktop/messages.h"

class QWidget;

namespace desktop {

// Runs an operation the user asked for. When it throws, the standard error box shows the
// error's text (the failure is logged) and false comes back, so that the screen stays where
// it was ("show and stay"); what nobody catches reaches the application's own error box instead.
template <class Operation>
bool attempt(QWidget* parent, Operation&& operation)
{
    try {
        operation();
        return true;
    } catch (const std::exception& e) {
        logFailure(e);
        showError(QString::fromUtf8(e.what()), parent);
        return false;
    }
}

} // namespace desktop
