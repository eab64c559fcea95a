#include "firebird/index_statistics.h"

#include "firebird/connection.h"
#include "firebird/transaction.h"

namespace fb {

namespace {

// In one statement on the server, not a round trip for each index (run as it stands: its ":n"
// is the block's own variable, not a parameter). Dialect 1 has no quoted names: an index whose
// name is not a plain identifier (none of the program's) cannot be named here and keeps its
// figures.
QString recomputingBlock(QString table, const QString& transaction)
{
    table.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QStringLiteral("execute block as declare n varchar(31); begin "
                          "for select trim(RDB$INDEX_NAME) from RDB$INDICES "
                          "where coalesce(RDB$SYSTEM_FLAG, 0) = 0 and RDB$INDEX_INACTIVE is distinct from 1 "
                          "and ('%1' = '' or RDB$RELATION_NAME = '%1') into :n do "
                          "if (n similar to '[A-Z][A-Z0-9_$]*') then execute statement 'SET STATISTICS INDEX ' || n%2; end")
        .arg(table, transaction);
}

} // namespace

void recomputeIndexStatistics(Connection& connection, const QString& table)
{
    Transaction tr(&connection);
    connection.executeImmediate(tr, recomputingBlock(table, {}));
    tr.commit();
}

void recomputeIndexStatistics(Connection& connection, Transaction& tr, const QString& table)
{
    connection.executeImmediate(tr, recomputingBlock(table, QStringLiteral(" with autonomous transaction")));
}

} // namespace fb
