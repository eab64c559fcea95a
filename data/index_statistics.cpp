#include "data/index_statistics.h"

#include <QList>
#include <QLoggingCategory>
#include <QPair>

#include "firebird/connection.h"
#include "firebird/error.h"
#include "firebird/index_statistics.h"
#include "firebird/statement.h"
#include "firebird/transaction.h"
#include "data/schema.h"

namespace data {

namespace {

Q_LOGGING_CATEGORY(lcStatistics, "brenvald.statistics")

double firstValue(fb::Connection& connection, fb::Transaction& tr, const QString& sql)
{
    fb::Statement q(connection, tr, sql);
    q.execute();
    const double v = q.fetch() ? q.value(0).toDouble() : 0;
    q.closeCursor();
    return v;
}

// The selectivity stored for a table's primary key: 1 / the rows when it was measured.
double primaryKeySelectivity(fb::Connection& connection, fb::Transaction& tr, const char* table)
{
    return firstValue(connection, tr,
                      QStringLiteral("select coalesce(i.RDB$STATISTICS, 0) from RDB$RELATION_CONSTRAINTS c "
                                     "join RDB$INDICES i on i.RDB$INDEX_NAME = c.RDB$INDEX_NAME "
                                     "where c.RDB$RELATION_NAME = '%1' and c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'")
                          .arg(QLatin1String(table)));
}

bool outOfStep(double selectivity, double rows)
{
    if (rows <= 0)
        return false;
    if (selectivity <= 0)
        return true;
    const double measured = 1 / selectivity;
    return rows > 2 * measured || rows < measured / 2;
}

} // namespace

bool indexStatisticsStale(fb::Connection& connection)
{
    fb::Transaction tr(&connection);
    tr.start();
    // The purchases' generator is a count that costs nothing, but numbers not kept (deleted
    // purchases, a rolled-back import) leave it above the rows for good: when it disagrees, the
    // rows are counted (a read of the purchases, about a fifth of a second a million, at every
    // start of such a database), so that it is not measured again (several times that) at every
    // start.
    const double purchases = primaryKeySelectivity(connection, tr, "ZAK_PAL");
    const bool stale =
        outOfStep(primaryKeySelectivity(connection, tr, "PODAT"), firstValue(connection, tr, QStringLiteral("select count(*) from PODAT")))
        || outOfStep(primaryKeySelectivity(connection, tr, "SAM"), firstValue(connection, tr, QStringLiteral("select count(*) from SAM")))
        || (outOfStep(purchases, firstValue(connection, tr, QStringLiteral("select gen_id(G_ZAK, 0) from RDB$DATABASE")))
            && outOfStep(purchases, firstValue(connection, tr, QStringLiteral("select count(*) from ZAK_PAL"))));
    tr.commit();
    return stale;
}

void keepIndexStatisticsTrue(fb::Connection& connection)
{
    try {
        if (indexStatisticsStale(connection)) {
            qCInfo(lcStatistics) << "recomputing index statistics of" << connection.databaseName();
            fb::recomputeIndexStatistics(connection);
        }
    } catch (const std::exception& e) {
        fb::logFailure(e);
    }
}

} // namespace data
