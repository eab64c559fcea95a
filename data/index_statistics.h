#pragma once

#include <QString>
#include <QVariantList>

namespace fb {
class Connection;
}

namespace data {

// What a start compares: the selectivity stored for the primary keys of taxpayers, vehicles
// and purchases, and their rows (of purchases, the generator's count).
struct StatisticsFigures {
    double taxpayerSelectivity = 0, taxpayers = 0, vehicleSelectivity = 0, vehicles = 0, purchaseSelectivity = 0,
           purchaseNumbers = 0;

    // The columns of a select that reads them, for a query that asks more at once.
    static constexpr int columns = 6;
    static QString columnsSql();
    static StatisticsFigures read(const QVariantList& row, int firstColumn);
};

// Whether the optimizer's figures no longer fit the rows: an index of taxpayers, vehicles or
// purchases was last measured while its table was empty, or the table has grown or shrunk more
// than twofold since. Cheap: it counts taxpayers and vehicles, and takes the number of purchases
// from their generator.
bool indexStatisticsStale(fb::Connection& connection);
bool indexStatisticsStale(fb::Connection& connection, const StatisticsFigures& figures);

// Recomputes the figures when they are stale (read here, or as a start read them). A failure
// is logged, never passed on: the program works with old figures, only slower.
void keepIndexStatisticsTrue(fb::Connection& connection);
void keepIndexStatisticsTrue(fb::Connection& connection, const StatisticsFigures& figures);

} // namespace data
