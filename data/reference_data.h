#pragma once

#include <QString>

namespace fb {
class Connection;
class Transaction;
}

namespace data {

// Loads the reference tables that a user needs on the first day (fuels, vehicle types,
// yearly fee rates, yearly parameters) from the data built into the program, sets the
// generators after the highest numbers, and commits.
void loadReferenceData(fb::Connection& connection, fb::Transaction& transaction);

// Creates the delivered database at `path`: the schema and the reference data. Refuses a
// path where a file exists already.
void createDeliveredDatabase(const QString& path);

} // namespace data
