#include "firebird/environment.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

#include <cstdlib>
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

} // namespace fb
