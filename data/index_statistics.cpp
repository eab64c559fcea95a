#include "data/index_statistics.h"

#include <QList>
#include <QLoggingCategory>
#include <QPair>

#include <functional>

#include "firebird/connection.h"
#include "firebird/error.h"
#include "firebird/index_statistics.h"
#include "firebird/one_request.h"
#include "firebird/transaction.h"
#include "data/schema.h"

namespace data {

namespace {

Q_LOGGING_CATEGORY(lcStatistics, "brenvald.statistics")

double firstValue(fb::Connection& connection, fb::Transaction& tr, const QString& sql)
{
    const auto row = fb::runOnce(connection, tr, sql, {}, {fb::ColumnType::Double});
    return row ? row->front().toDouble() : 0;
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

QString StatisticsFigures::columnsSql()
{
    return QStringLiteral("%1, (select count(*) from PODAT), %2, (select count(*) from SAM), %3, gen_id(G_ZAK, 0)")
        .arg(primaryKeySelectivity("PODAT"), primaryKeySelectivity("SAM"), primaryKeySelectivity("ZAK_PAL"));
}

StatisticsFigures StatisticsFigures::read(const QVariantList& row, int firstColumn)
{
    const auto at = [&](int i) { return row.value(firstColumn + i).toDouble(); };
    return {at(0), at(1), at(2), at(3), at(4), at(5)};
}

bool indexStatisticsStale(fb::Connection& connection)
{
    fb::Transaction tr(&connection);
    const auto row = fb::runOnce(connection, tr, QStringLiteral("select %1 from RDB$DATABASE").arg(StatisticsFigures::columnsSql()), {},
                                 std::vector(StatisticsFigures::columns, fb::ColumnType::Double));
    const StatisticsFigures figures = row ? StatisticsFigures::read(*row, 0) : StatisticsFigures{};
    tr.commit();
    return indexStatisticsStale(connection, figures);
}

bool indexStatisticsStale(fb::Connection& connection, const StatisticsFigures& f)
{
    if (outOfStep(f.taxpayerSelectivity, f.taxpayers) || outOfStep(f.vehicleSelectivity, f.vehicles))
        return true;
    // The purchases' generator is a count that costs nothing, but numbers not kept (deleted
    // purchases, a rolled-back import) leave it above the rows for good: when it disagrees, the
    // rows are counted (a read of the purchases, about a fifth of a second a million, at every
    // start of such a database), so that it is not measured again (several times that) at every
    // start.
    if (!outOfStep(f.purchaseSelectivity, f.purchaseNumbers))
        return false;
    fb::Transaction tr(&connection);
    const bool stale = outOfStep(f.purchaseSelectivity, firstValue(connection, tr, QStringLiteral("select count(*) from ZAK_PAL")));
    tr.commit();
    return stale;
}

namespace {

void recomputeWhen(fb::Connection& connection, const std::function<bool()>& stale)
{
    try {
        if (stale()) {
            qCInfo(lcStatistics) << "recomputing index statistics of" << connection.databaseName();
            fb::recomputeIndexStatistics(connection);
        }
    } catch (const std::exception& e) {
        fb::logFailure(e);
    }
}

} // namespace

void keepIndexStatisticsTrue(fb::Connection& connection)
{
    recomputeWhen(connection, [&] { return indexStatisticsStale(connection); });
}

void keepIndexStatisticsTrue(fb::Connection& connection, const StatisticsFigures& figures)
{
    recomputeWhen(connection, [&] { return indexStatisticsStale(connection, figures); });
}

} // namespace data
