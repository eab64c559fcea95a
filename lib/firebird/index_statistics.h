#pragma once

#include <QString>

namespace fb {

class Connection;

// Recomputes the selectivity of every user index of the database (or of one table's, after
// writing only there), so that the optimizer chooses by the rows there are now. Indexes made
// on empty tables keep a selectivity of 0 until then, and the engine never updates it by
// itself. Runs in a transaction of its own, committed at the end.
void recomputeIndexStatistics(Connection& connection, const QString& table = {});

} // namespace fb
