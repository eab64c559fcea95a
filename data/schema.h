#pragma once

#include <QString>
#include <QStringList>

namespace fb {
class Connection;
class Transaction;
}

namespace data {

// The statements of the schema script, one each, comments dropped.
QStringList schemaStatements();
// The tables the program got after its first version (the work locks and their holders, the
// e-invoice lines taken over): an older database lacks them until the program adds them.
QStringList laterTables();
// Runs the schema script on an empty database and commits.
void createSchema(fb::Connection& connection, fb::Transaction& transaction);

} // namespace data
