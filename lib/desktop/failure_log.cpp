#include "desktop/failure_log.h"

#include <QLoggingCategory>
#include <QString>

namespace desktop {

namespace {

Q_LOGGING_CATEGORY(lcFailure, "brenvald.failure")

FailureLog& installed()
{
    static FailureLog log;
    return log;
}

} // namespace

void setFailureLog(FailureLog log)
{
    installed() = std::move(log);
}

void logFailure(const std::exception& failure)
{
    if (installed())
        installed()(failure);
    else
        qCWarning(lcFailure).noquote() << QString::fromUtf8(failure.what());
}

} // namespace desktop
