#include "application.h"

#include "desktop/help_system.h"
#include "desktop/messages.h"
#include "icons.h"

#include <exception>

namespace {

QString unexpectedFailure()
{
    return QStringLiteral("Wystąpił nieoczekiwany błąd. Operacja nie została wykonana.");
}

} // namespace

QString Application::title()
{
    return QStringLiteral("Naliczanie opłat za korzystanie ze środowiska");
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationDisplayName(title());
    setWindowIcon(icons::program());
    desktop::HelpSystem::installHelpKey();
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    QString failure;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
        if (failure.isEmpty())
            failure = unexpectedFailure();
    } catch (...) {
        failure = unexpectedFailure();
    }
    // Shown after the handler is left, so that the box's own events run outside it.
    report(failure);
    return false;
}

void Application::report(const QString& text)
{
    desktop::showError(text, activeModalWidget() ? activeModalWidget() : activeWindow());
}
