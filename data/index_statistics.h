#pragma once

namespace fb {
class Connection;
}

namespace data {

// Whether the optimizer's figures no longer fit the rows: an index of taxpayers, vehicles or
// purchases was last measured while its table was empty, or the table has grown or shrunk more
// than twofold since. Cheap: it counts taxpayers and vehicles, and takes the number of purchases
// from their generator.
bool indexStatisticsStale(fb::Connection& connection);

// Recomputes the figures when they are stale. A failure is logged, never passed on: the
// program works with old figures, only slower.
void keepIndexStatisticsTrue(fb::Connection& connection);

} // namespace data
