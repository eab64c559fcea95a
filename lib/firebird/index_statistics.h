#pragma once

#include <QString>

namespace fb {

class Connection;
class Transaction;

// Recomputes the selectivity of every user index of the database (or of one table's, after
// writing only there), so that the optimizer chooses by the rows there are now. Indexes made
// on empty tables keep a selectivity of 0 until then, and the engine never updates it by
// itself. Runs in a transaction of its own, committed at the end.
void recomputeIndexStatistics(Connection& connection, const QString& table = {});
// The same, committed by the server in transactions it begins and ends inside `tr` (no
// requests of their own to begin and end them), before `tr`'s own work is committed: the
// figures count the rows `tr` wrote, as an index holds them before they are committed.
void recomputeIndexStatistics(Connection& connection, Transaction& tr, const QString& table);

} // namespace fb
