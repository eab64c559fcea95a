#pragma once

#include <QList>
#include <QObject>

#include <atomic>
#include <csignal>
#include <thread>

class QSocketNotifier;

namespace desktop {

// Turns the signals by which the system asks a program to end (SIGTERM at logout or shutdown,
// SIGINT from a terminal, SIGHUP when the terminal goes) into a Qt signal on the event loop,
// and notes the latest one for work that runs without the event loop and looks now and then.
//
// The signals are held back in the program's threads and taken by a thread of the catcher's
// own: a signal sent to the process would otherwise land on whichever thread has them open
// (Qt's display reader, the database engine's workers) and, while the database client has
// its own handlers in place, start the engine's shutdown under the program's feet. The
// catcher only notes the number and writes a byte into a socket pair; the rest happens on the
// thread that made it. One catcher at a time in a process; it needs a QCoreApplication only
// for the Qt signal.
class SignalCatcher : public QObject {
    Q_OBJECT
public:
    // The name of the thread that takes the signals (which has them open while it waits).
    static constexpr const char* waiterName = "signal-catcher";
    static QList<int> terminationSignals() { return {SIGTERM, SIGINT, SIGHUP}; }
    // Holds the signals back in the calling thread and so in every thread it starts from now
    // on: the first thing a program does, before any library starts a thread of its own.
    static void holdBack(const QList<int>& signalNumbers = terminationSignals());

    explicit SignalCatcher(QList<int> signalNumbers = terminationSignals(), QObject* parent = nullptr);
    // A signal in the last moments of the process stays held back, so that it does not turn
    // a finished run into one that a signal ended.
    ~SignalCatcher() override;

    // Puts the handlers in place, for a thread that started before the signals were held back.
    void install();
    // The latest signal caught, 0 when none was.
    static int lastCaught();

signals:
    void caught(int signalNumber);

private:
    void readCaught();

    QList<int> signals_;
    int pair_[2] = {-1, -1}; // written by the waiting thread or a handler, read by the notifier
    QSocketNotifier* notifier_ = nullptr;
    std::atomic<bool> stopping_{false};
    std::thread waiter_;
};

// Opens the held-back termination signals in the calling thread while it lives: a program
// started meanwhile (a viewer, a browser) inherits the signal mask and would otherwise not
// end at logout. A signal that comes meanwhile reaches the catcher's handler.
class SignalsOpenedForChildren {
public:
    SignalsOpenedForChildren();
    ~SignalsOpenedForChildren();
    SignalsOpenedForChildren(const SignalsOpenedForChildren&) = delete;
    SignalsOpenedForChildren& operator=(const SignalsOpenedForChildren&) = delete;

private:
    sigset_t before_;
};

} // namespace desktop
