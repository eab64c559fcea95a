#pragma once

#include <QLoggingCategory>
#include <exception>

namespace desktop {

Q_DECLARE_LOGGING_CATEGORY(lcCleanup)

// Runs a cleanup step on a way out (a destructor, a closing window) that must not throw:
// what it throws is logged with `what`, and the way out goes on.
template <class Step>
void quietly(const char* what, Step&& step) noexcept
{
    try {
        step();
    } catch (const std::exception& e) {
        qCWarning(lcCleanup, "%s: %s", what, e.what());
    } catch (...) {
        qCWarning(lcCleanup, "%s: unknown error", what);
    }
}

} // namespace desktop
