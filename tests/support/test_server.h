#pragma once

#include <QString>

// The private Firebird server the tests that go through the network layer talk to. CTest
// starts it (scripts/test_server.sh) and tells the test its state folder in
// BRENVALD_TEST_SERVER_STATE; a test registered without SERVER, or run by hand without that
// variable, stops at the first call with a message saying so, never skipping silently.
//
// The server and this process's embedded engine cannot have the same file open at once
// (each engine takes the file for itself): a file reached through the server must not be
// attached locally at the same time, and a local attachment must be closed before the
// server opens the file.
namespace testsupport {

// "localhost/PORT" of the running server.
QString testServerAddress();
// The connection string of a local file through the server: "localhost/PORT:/abs/path".
QString throughServer(const QString& localPath);
// A fresh empty dialect-1 database (a copy of freshEmptyDatabase()), as a connection string
// through the server.
QString freshServerDatabase();
// A fresh database made from a script (see freshDatabaseFromScript), through the server.
QString freshServerDatabaseFromScript(const QString& scriptPath);
// Stops the server, as a server that goes away does, and starts it again where its clients
// look for it (the same port). The test process ends with the script's message when the
// script fails.
void stopTestServer();
void startTestServerAgain();

} // namespace testsupport
