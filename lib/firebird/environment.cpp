#include "firebird/environment.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <pthread.h>
#include <mutex>
#include <unistd.h>

namespace fb {

void prepareEnvironment()
{
    static std::once_flag once;
    std::call_once(once, [] {
        if (qEnvironmentVariableIsSet("FIREBIRD_LOCK"))
            return;
        const QString standard = QStringLiteral("/tmp/firebird");
        const QFileInfo info(standard);
        if (!info.exists() || ::access(QFile::encodeName(standard).constData(), W_OK | X_OK) == 0)
            return;
        const QString own = QDir::tempPath() + QStringLiteral("/firebird-") + QString::number(::getuid());
        QDir().mkpath(own);
        qputenv("FIREBIRD_LOCK", QFile::encodeName(own));
    });
}

void endProcess(int code)
{
    std::fflush(nullptr);
    std::_Exit(code);
}

namespace {

constexpr int keptSignals[] = {SIGTERM, SIGINT, SIGHUP};

} // namespace

ProcessSignalsKept::ProcessSignalsKept()
{
    static_assert(std::size(keptSignals) == count);
    sigemptyset(&held_);
    for (int s : keptSignals)
        sigaddset(&held_, s);
    pthread_sigmask(SIG_BLOCK, &held_, &before_);
    for (int i = 0; i < count; ++i)
        sigaction(keptSignals[i], nullptr, &actions_[i]);
}

ProcessSignalsKept::~ProcessSignalsKept()
{
    for (int i = 0; i < count; ++i)
        sigaction(keptSignals[i], &actions_[i], nullptr);
    pthread_sigmask(SIG_SETMASK, &before_, nullptr);
}

} // namespace fb
