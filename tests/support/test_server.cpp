#include "test_server.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "test_database.h"

namespace testsupport {

QString testServerAddress()
{
    static const QString address = [] {
        const QString state = qEnvironmentVariable("BRENVALD_TEST_SERVER_STATE");
        if (state.isEmpty())
            qFatal("BRENVALD_TEST_SERVER_STATE is not set: this test needs the private Firebird "
                   "server; register it with brenvald_test(... SERVER ...) and run it through ctest");
        QFile file(state + QStringLiteral("/port"));
        if (!file.open(QIODevice::ReadOnly))
            qFatal("no %s: the private Firebird server is not running "
                   "(scripts/test_server.sh start %s)",
                   qPrintable(file.fileName()), qPrintable(state));
        bool ok = false;
        const int port = QString::fromLatin1(file.readAll()).trimmed().toInt(&ok);
        if (!ok || port <= 0 || port > 65535)
            qFatal("%s does not hold a port number", qPrintable(file.fileName()));
        return QStringLiteral("localhost/%1").arg(port);
    }();
    return address;
}

QString throughServer(const QString& localPath)
{
    return testServerAddress() + QLatin1Char(':') + QFileInfo(localPath).absoluteFilePath();
}

QString freshServerDatabase()
{
    // The copy has never been attached, so the server can take it at once.
    return throughServer(freshEmptyDatabase());
}

QString freshServerDatabaseFromScript(const QString& scriptPath)
{
    return throughServer(freshDatabaseFromScript(scriptPath));
}

namespace {

void serverScript(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(BRENVALD_SOURCE_DIR "/scripts/test_server.sh"),
            QStringList{args.first(), qEnvironmentVariable("BRENVALD_TEST_SERVER_STATE")} + args.mid(1));
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        qFatal("scripts/test_server.sh %s failed: %s", qPrintable(args.join(QLatin1Char(' '))),
               p.readAllStandardError().constData());
}

} // namespace

void stopTestServer()
{
    testServerAddress(); // the port, read while the server runs
    serverScript({QStringLiteral("stop")});
}

void startTestServerAgain()
{
    serverScript({QStringLiteral("start"), testServerAddress().section(QLatin1Char('/'), 1)});
}

} // namespace testsupport
