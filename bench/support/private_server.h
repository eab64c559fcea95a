#pragma once

#include <QString>
#include <QStringList>

// The private Firebird server of scripts/test_server.sh, which the tests that go through the
// network layer and the benchmarks of round trips talk to. Its state folder holds its port.
namespace bench {

// Runs the script's command ("start" or "stop") on the state folder, with the further
// arguments (the port to start on again); the process ends with the script's message when
// it fails.
void serverScript(const QString& command, const QString& state, const QStringList& more = {});
// The port the server of the state folder listens on; the process ends with a message when
// none runs.
quint16 serverPort(const QString& state);

} // namespace bench
