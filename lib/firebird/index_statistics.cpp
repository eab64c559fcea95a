#include "firebird/index_statistics.h"

#include <QRegularExpression>
#include <QStringList>

#include "firebird/connection.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"

namespace fb {

void recomputeIndexStatistics(Connection& connection, const QString& table)
{
    Transaction tr(&connection);
    tr.start();
    QStringList names;
    {
        Statement q(connection, tr,
                    QStringLiteral("select trim(RDB$INDEX_NAME) from RDB$INDICES "
                                   "where coalesce(RDB$SYSTEM_FLAG, 0) = 0 and RDB$INDEX_INACTIVE is distinct from 1")
                        + (table.isEmpty() ? QString() : QStringLiteral(" and RDB$RELATION_NAME = :t")));
        if (!table.isEmpty())
            q.setParam(QStringLiteral("t"), table);
        q.execute();
        while (q.fetch())
            names << q.value(0).toString();
    }
    // Dialect 1 has no quoted names: an index whose name is not a plain identifier (none of the
    // program's) cannot be named here and keeps its figures.
    static const QRegularExpression plain(QStringLiteral("^[A-Z][A-Z0-9_$]*$"));
    for (const QString& name : names) {
        if (plain.match(name).hasMatch())
            connection.executeImmediate(tr, QStringLiteral("SET STATISTICS INDEX %1").arg(name));
    }
    tr.commit();
}

} // namespace fb
