#pragma once

#include <QList>
#include <QObject>

#include <csignal>

class QSocketNotifier;

namespace desktop {

// Turns the signals by which the system asks a program to end (SIGTERM at logout or shutdown,
// SIGINT from a terminal, SIGHUP when the terminal goes) into a Qt signal on the event loop,
// and notes the latest one for work that runs without the event loop and looks now and then.
// The handler only notes the number and writes a byte into a socket pair; the rest happens
// on the thread that made the catcher. One catcher at a time in a process; it needs a
// QCoreApplication only for the Qt signal.
class SignalCatcher : public QObject {
    Q_OBJECT
public:
    explicit SignalCatcher(QList<int> signalNumbers = {SIGTERM, SIGINT, SIGHUP}, QObject* parent = nullptr);
    // The handlers stay: a signal in the last moments of the process is noted, no more, so
    // that it does not turn a finished run into one that a signal ended.
    ~SignalCatcher() override;

    // Puts the handlers in place.
    void install();
    // The latest signal caught, 0 when none was.
    static int lastCaught();

signals:
    void caught(int signalNumber);

private:
    void readCaught();

    QList<int> signals_;
    int pair_[2] = {-1, -1}; // written by the handler, read by the notifier
    QSocketNotifier* notifier_ = nullptr;
};

} // namespace desktop
