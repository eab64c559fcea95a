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

// The selectivity stored for a table's primary key (1 / the rows when it was measured), as a
// subquery.
QString primaryKeySelectivity(const char* table)
{
    return QStringLiteral("(select coalesce(i.RDB$STATISTICS, 0) from RDB$RELATION_CONSTRAINTS c "
                          "join RDB$INDICES i on i.RDB$INDEX_NAME = c.RDB$INDEX_NAME "
                          "where c.RDB$RELATION_NAME = '%1' and c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY')")
        .arg(QLatin1String(table));
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
    // One query for what every start checks (over a network each query costs round trips):
    // the stored selectivity and the rows of the taxpayers, the vehicles and the purchases.
    fb::Statement measured(connection, tr,
                           QStringLiteral("select %1, (select count(*) from PODAT), %2, (select count(*) from SAM), %3, "
                                          "gen_id(G_ZAK, 0) from RDB$DATABASE")
                               .arg(primaryKeySelectivity("PODAT"), primaryKeySelectivity("SAM"),
                                    primaryKeySelectivity("ZAK_PAL")));
    measured.execute();
    double v[6] = {};
    if (measured.fetch())
        for (int i = 0; i < 6; ++i)
            v[i] = measured.value(i).toDouble();
    measured.closeCursor();
    // The purchases' generator is a count that costs nothing, but numbers not kept (deleted
    // purchases, a rolled-back import) leave it above the rows for good: when it disagrees, the
    // rows are counted (a read of the purchases, about a fifth of a second a million, at every
    // start of such a database), so that it is not measured again (several times that) at every
    // start.
    const double purchases = v[4];
    const bool stale = outOfStep(v[0], v[1]) || outOfStep(v[2], v[3])
                       || (outOfStep(purchases, v[5])
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
