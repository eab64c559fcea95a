#pragma once

#include <QString>

#include "desktop/stop_request.h"

namespace fb {
class Connection;
class Transaction;
}

namespace data {

// Loads the reference tables that a user needs on the first day (fuels, vehicle types,
// yearly fee rates, yearly parameters) from the data built into the program, sets the
// generators after the highest numbers, and commits.
void loadReferenceData(fb::Connection& connection, fb::Transaction& transaction);

// Creates the delivered database at `path`: the schema and the reference data, made under a
// temporary name and given the path's name only when whole. Refuses a path where a file exists
// already (also one that appeared meanwhile); desktop::WorkStopped when `stop` asked it to end.
void createDeliveredDatabase(const QString& path, const desktop::StopRequest& stop = {});

} // namespace data
