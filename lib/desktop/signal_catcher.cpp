#include "desktop/signal_catcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

namespace desktop {

namespace {

static_assert(std::atomic<int>::is_always_lock_free, "the signal handler may only touch lock-free atomics");

std::atomic<int> lastSignal{0};
std::atomic<int> handlerEnd{-1}; // the socket the handler writes to; -1 while no catcher exists
SignalCatcher* current = nullptr;

// Only what is safe in a signal handler: an atomic store and write(2).
void noteSignal(int signalNumber)
{
    const int savedErrno = errno;
    lastSignal.store(signalNumber);
    const int fd = handlerEnd.load();
    if (fd >= 0) {
        const auto byte = static_cast<unsigned char>(signalNumber);
        [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
    }
    errno = savedErrno;
}

sigset_t setOf(const QList<int>& signalNumbers)
{
    sigset_t set;
    sigemptyset(&set);
    for (int s : signalNumbers)
        sigaddset(&set, s);
    return set;
}

} // namespace

void SignalCatcher::holdBack(const QList<int>& signalNumbers)
{
    const sigset_t set = setOf(signalNumbers);
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

SignalCatcher::SignalCatcher(QList<int> signalNumbers, QObject* parent)
    : QObject(parent), signals_(std::move(signalNumbers))
{
    Q_ASSERT(!current);
    current = this;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, pair_) == 0) {
        notifier_ = new QSocketNotifier(pair_[1], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, &SignalCatcher::readCaught);
        handlerEnd.store(pair_[0]);
    }
    install();
    // The waiting thread is started with the signals held back, as it must be to take them.
    holdBack(signals_);
    waiter_ = std::thread([this, set = setOf(signals_)] {
        pthread_setname_np(pthread_self(), waiterName);
        for (;;) {
            int signalNumber = 0;
            if (sigwait(&set, &signalNumber) != 0)
                continue;
            if (stopping_.load())
                return;
            noteSignal(signalNumber);
        }
    });
}

SignalCatcher::~SignalCatcher()
{
    stopping_.store(true);
    pthread_kill(waiter_.native_handle(), signals_.first());
    waiter_.join();
    handlerEnd.store(-1);
    delete notifier_;
    for (int fd : pair_)
        if (fd >= 0)
            ::close(fd);
    current = nullptr;
}

void SignalCatcher::install()
{
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    // Calls that a signal interrupts go on as if none had come.
    action.sa_flags = SA_RESTART;
    for (int s : std::as_const(signals_))
        ::sigaction(s, &action, nullptr);
}

int SignalCatcher::lastCaught()
{
    return lastSignal.load();
}

void SignalCatcher::readCaught()
{
    unsigned char bytes[16];
    ssize_t count = 0;
    while ((count = ::read(pair_[1], bytes, sizeof bytes)) > 0)
        for (ssize_t i = 0; i < count; ++i)
            emit caught(bytes[i]);
}

SignalsOpenedForChildren::SignalsOpenedForChildren()
{
    const sigset_t set = setOf(SignalCatcher::terminationSignals());
    pthread_sigmask(SIG_UNBLOCK, &set, &before_);
}

SignalsOpenedForChildren::~SignalsOpenedForChildren()
{
    pthread_sigmask(SIG_SETMASK, &before_, nullptr);
}

} // namespace desktop
