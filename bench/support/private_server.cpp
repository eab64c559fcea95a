#include "private_server.h"

#include <QFile>
#include <QProcess>

namespace bench {

void serverScript(const QString& command, const QString& state, const QStringList& more)
{
    QProcess p;
    p.start(QStringLiteral(BRENVALD_SOURCE_DIR "/scripts/test_server.sh"), QStringList{command, state} + more);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        qFatal("scripts/test_server.sh %s %s failed: %s", qPrintable(command), qPrintable(more.join(QLatin1Char(' '))),
               p.readAllStandardError().constData());
}

quint16 serverPort(const QString& state)
{
    QFile file(state + QStringLiteral("/port"));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("no %s: the private Firebird server is not running "
               "(scripts/test_server.sh start %s)",
               qPrintable(file.fileName()), qPrintable(state));
    bool ok = false;
    const int port = QString::fromLatin1(file.readAll()).trimmed().toInt(&ok);
    if (!ok || port <= 0 || port > 65535)
        qFatal("%s does not hold a port number", qPrintable(file.fileName()));
    return static_cast<quint16>(port);
}

} // namespace bench
