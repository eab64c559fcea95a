#include "application.h"

#include "data/engine.h"
#include "desktop/failure_log.h"
#include "desktop/help_system.h"
#include "desktop/messages.h"
#include "desktop/signal_catcher.h"
#include "icons.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QTranslator>
#include <QTimer>

#include <exception>

namespace {

Q_LOGGING_CATEGORY(lcApplication, "brenvald.application")

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
    // Named with its version in the files it writes (a PDF's creator).
    setApplicationName(QStringLiteral("brenvald"));
    setApplicationVersion(QStringLiteral(BRENVALD_VERSION));
    // The title captions the boxes; as the display name the window system would append it to
    // every window's own caption.
    desktop::setDefaultCaption(title());
    // A failure that a screen shows itself is logged as one that reaches the application.
    desktop::setFailureLog(data::logFailure);
    speakPolish();
    setWindowIcon(icons::program());
    desktop::HelpSystem::installHelpKey();
}

Application::~Application() = default;

void Application::speakPolish()
{
    // Month and day names, the first day of the week and Qt's own dialogs (print, save, open,
    // folders) in Polish whatever the machine's locale; the program's dates and numbers keep
    // their own fixed formats.
    QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
    auto* qtTexts = new QTranslator(this);
    if (qtTexts->load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(qtTexts);
    else
        qCWarning(lcApplication) << "Qt's Polish translations (qtbase_pl) were not found in"
                           << QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

void Application::endOnTerminationSignals()
{
    if (terminationSignals_)
        return;
    terminationSignals_ = std::make_unique<desktop::SignalCatcher>();
    connect(terminationSignals_.get(), &desktop::SignalCatcher::caught, this, &Application::end);
}

void Application::end(int signalNumber)
{
    qCInfo(lcApplication) << "ending on signal" << signalNumber;
    // Nothing may wait for the user now: a box is logged instead of shown, and a question
    // is answered No, which gives nothing away (a screen that stays open for it ends all
    // the same).
    desktop::setMessageHandler([](const desktop::Message& message) {
        qCWarning(lcApplication).noquote() << "while ending:" << message.text;
        return desktop::Answer::No;
    });
    // Closes the windows, modal screens first, as the user would; a window that declines
    // does not keep the program alive, and no event loop started later waits any more.
    QCoreApplication::quit();
    QCoreApplication::exit(0);
    // A signal that came before the main loop started (while a box of the start-up was
    // open) ends the loop as soon as it starts.
    QTimer::singleShot(0, this, [] { QCoreApplication::quit(); });
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    QString failure;
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        data::logFailure(e);
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
