#include "test_server.h"

#include <QFileInfo>

#include "private_server.h"
#include "test_database.h"

namespace testsupport {

namespace {

QString serverState()
{
    const QString state = qEnvironmentVariable("BRENVALD_TEST_SERVER_STATE");
    if (state.isEmpty())
        qFatal("BRENVALD_TEST_SERVER_STATE is not set: this test needs the private Firebird "
               "server; register it with brenvald_test(... SERVER ...) and run it through ctest");
    return state;
}

} // namespace

QString testServerAddress()
{
    static const QString address = QStringLiteral("localhost/%1").arg(bench::serverPort(serverState()));
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

void stopTestServer()
{
    testServerAddress(); // the port, read while the server runs
    bench::serverScript(QStringLiteral("stop"), serverState());
}

void startTestServerAgain()
{
    bench::serverScript(QStringLiteral("start"), serverState(), {testServerAddress().section(QLatin1Char('/'), 1)});
}

} // namespace testsupport
