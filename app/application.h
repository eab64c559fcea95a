#pragma once

#include <QApplication>
#include <memory>

namespace desktop {
class SignalCatcher;
}

// The program's application object. An exception that escapes an event handler is shown
// to the user in the standard error box and the program goes on, as the user expects of
// a failed operation: the window stays as it was.
class Application : public QApplication {
    Q_OBJECT
public:
    // The title the program goes by: boxes without a caption of their own are captioned with it.
    static QString title();

    Application(int& argc, char** argv);
    ~Application() override;

    // From now on SIGTERM (logout, shutdown), SIGINT and SIGHUP end the program as closing
    // its main window does, the open screens closed first, and exec() returns 0.
    void endOnTerminationSignals();

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void speakPolish();
    void report(const QString& text);
    void end(int signalNumber);

    std::unique_ptr<desktop::SignalCatcher> terminationSignals_;
};
